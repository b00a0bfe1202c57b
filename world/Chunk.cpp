#include "world/Chunk.hpp"

#include "actors/Man.hpp"
#include "app/WorldPainter.hpp"
#include "app/GameEvents.hpp"
#include "ecs/EntitySystem.hpp"
#include "physics/Physical.hpp"
#include "physics/QuadTree.hpp"
#include "plym/core/File.hpp"
#include "plym/core/Math.hpp"
#include "plym/core/Profiling.hpp"
#include "plym/core/ScriptEngine.hpp"
#include "plym/game/Engine.hpp"
#include "world/BorderGenerator.hpp"
#include "world/Minimap.hpp"
#include "world/ScriptBindings.hpp"

#include <boost/any.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace QEL
{

std::map<int, sf::Color> Chunk::sBiomeColours;
std::map<int, std::string> Chunk::sBiomeNames;
int Chunk::sBiomeCounter = 0;
std::map<std::string, Plym::Spritesheet> Chunk::sSheets;
std::unique_ptr<Minimap> Chunk::sMinimap;
Tessaly::EntitySystem* Chunk::sCurrentSystem = nullptr;
Chunk* Chunk::sCurrent = nullptr;
std::unique_ptr<QuadTree> Chunk::sQuadTree;
float Chunk::sWaterTimer = 0.f;
bool Chunk::sWaterRising = true;

namespace
{

struct SheetFile
{
    const char* file;
    unsigned char columns;
    unsigned char rows;
};

const SheetFile TileSheets[] = {
    {"grass.png", 2, 2},         {"desert.png", 1, 1},        {"beach.png", 1, 2},
    {"water.png", 4, 5},         {"grasswater.png", 3, 4},    {"grasswatersh.png", 3, 4},
    {"grassdesert.png", 3, 4},   {"grassbeach.png", 3, 4},    {"beachwater.png", 12, 3},
};

struct BorderPass
{
    Biome from;
    Biome to;
    const char* sheet;
    unsigned columnOffset;
};

const BorderPass EdgePasses[] = {
    {Grass, DeWater, "grasswater.png", 0},  {Grass, ShWater, "grasswatersh.png", 0},
    {Grass, Desert, "grassdesert.png", 0},  {Grass, Beach, "grassbeach.png", 0},
    {ShWater, DeWater, "water.png", 1},
};

// Where an object stands inside its tile: a whole number from -45 to 44.
float drawOffset()
{
    return static_cast<float>((std::rand() % 900) / 10 - 45);
}

const DrawEvent& getDrawEvent(const Tessaly::Message& message)
{
    return boost::any_cast<const DrawEvent&>(message.payload);
}

} // namespace

Chunk::Chunk()
    : Tessaly::Component("QEL.Game.Chunk"),
      mPlayer(nullptr),
      mMinimapLeft(0),
      mMinimapTop(0),
      mWidth(0),
      mHeight(0),
      mSurfSteps(0)
{
    if (sBiomeColours.empty() || sBiomeNames.empty())
        loadSharedState();
}

Chunk::~Chunk()
{
    // Scripts must not reach a chunk that is gone.
    if (sCurrent == this)
    {
        sCurrent = nullptr;
        sCurrentSystem = nullptr;
    }
}

void Chunk::loadSharedState()
{
    registerBiome("Forest", sf::Color(18, 152, 0, 255));
    registerBiome("Grass", sf::Color(30, 255, 0, 255));
    registerBiome("ShWater", sf::Color(64, 49, 252, 255));
    registerBiome("DeWater", sf::Color(16, 4, 184, 255));
    registerBiome("Desert", sf::Color(167, 179, 108, 255));
    registerBiome("Beach", sf::Color(218, 255, 47, 255));

    for (const SheetFile& sheet : TileSheets)
        sSheets[sheet.file].loadFromFile(sheet.file, sheet.columns, sheet.rows);

    sMinimap = std::make_unique<Minimap>();
    sMinimap->create("MapMask.png");
}

int Chunk::registerBiome(const std::string& name, const sf::Color& colour)
{
    ++sBiomeCounter;
    sBiomeColours[sBiomeCounter] = colour;
    sBiomeNames[sBiomeCounter] = name;
    return sBiomeCounter;
}

void Chunk::addedToEntity()
{
    sCurrentSystem = getSystem();
    sCurrent = this;

    requestMessage("QEL.Game.Update", &Chunk::update);
    requestMessage("QEL.Game.Draw", &Chunk::draw);
    requestMessage("QEL.Game.DrawUi", &Chunk::drawMap);
    changeRequestPriority(getMessageRequestId("QEL.Game.DrawUi"), -1);
    changeRequestPriority(getMessageRequestId("QEL.Game.Draw"), -230400);
    requestComponent("QEL.Game.Man", &Chunk::onMan);
    requestMessage("AddToQuadTree", &Chunk::onAddToQuadTree);

    // The first chunk of a script engine lends the world to its scripts.
    Plym::Engine* engine = Plym::Engine::getSingleton();
    Plym::ScriptEngine* scripts = engine ? engine->getService<Plym::ScriptEngine>() : nullptr;
    if (scripts && !scripts->getEngine().GetTypeInfoByName("Chunk"))
        registerWorldScriptInterface(*scripts);
}

bool Chunk::load(const std::string& path)
{
    Plym::Profiling::start("Loading the files");
    readImage(path);
    sMinimap->setMap(mImage);
    const sf::Vector2u size = mImage.getSize();
    mWidth = size.x;
    mHeight = size.y;
    mAnimatedTiles.clear();
    mBiomes.assign(static_cast<std::size_t>(mWidth) * mHeight, None);
    mTiles.assign(mBiomes.size(), sf::Sprite());
    sQuadTree = std::make_unique<QuadTree>(
        sf::FloatRect(0.f, 0.f, mWidth * World::TileSize, mHeight * World::TileSize), 8);
    Plym::Profiling::end("Loading the files");

    Plym::Profiling::start("Biome generation");
    generateBiomes();
    Plym::Profiling::end("Biome generation");

    generateAllBorders();
    return true;
}

void Chunk::readImage(const std::string& path)
{
    Plym::File stream(path, 0, true);
    sf::Image image;
    if (!stream || !image.loadFromStream(stream))
    {
        Plym::Profiling::end("Loading the files");
        throw std::runtime_error("Couldn't load main chunk");
    }
    mImage = image;
}

void Chunk::generateBiomes()
{
    const sf::Vector2u cell = getSheet("grass.png").getSize();
    for (unsigned x = 0; x < mWidth; ++x)
    {
        for (unsigned y = 0; y < mHeight; ++y)
        {
            const int biome = findBiome(mImage.getPixel(x, y));
            if (sBiomeNames.count(biome) == 0)
                continue;

            sf::Sprite tile;
            switch (biome)
            {
                case Forest:
                case Grass: tile = decorateGrass(biome, x, y); break;
                case Desert: tile = decorateDesert(x, y); break;
                case Beach: tile = decorateBeach(); break;
                case ShWater:
                case DeWater: tile = decorateWater(biome); break;
                default: break;
            }
            tile.setScale(World::TileScale, World::TileScale);
            tile.setPosition(static_cast<float>(cell.x * x), static_cast<float>(cell.y * y));

            const std::size_t index = static_cast<std::size_t>(y) * mWidth + x;
            mBiomes[index] = biome;
            mTiles[index] = tile;
        }
    }
}

int Chunk::findBiome(const sf::Color& colour) const
{
    for (const auto& entry : sBiomeColours)
    {
        if (entry.second == colour)
            return entry.first;
    }
    return None;
}

sf::Sprite Chunk::decorateGrass(int biome, unsigned x, unsigned y)
{
    const Plym::Profiling::Block block("Grass");
    Plym::Spritesheet& sheet = getSheet("grass.png");
    sf::Sprite tile(sheet.getTexture(), sheet.getRect(1, 1));
    if (std::rand() % 100 + 1 > 90)
    {
        const int row = std::rand();
        const int column = std::rand();
        tile.setTextureRect(sheet.getRect(column % 2, row % 2));
    }
    const float offsetX = drawOffset();
    const float offsetY = drawOffset();
    const bool tree = biome == Forest ? std::rand() % 100 + 1 > 85 : std::rand() % 500 + 1 >= 500;
    if (tree)
        spawn("QEL.Tree", x, y, offsetX, offsetY);
    return tile;
}

sf::Sprite Chunk::decorateDesert(unsigned x, unsigned y)
{
    const Plym::Profiling::Block block("Desert");
    const float offsetX = drawOffset();
    const float offsetY = drawOffset();
    if (std::rand() % 500 + 1 > 499)
        spawn("QEL.Cactus", x, y, offsetX, offsetY);
    Plym::Spritesheet& sheet = getSheet("desert.png");
    return sf::Sprite(sheet.getTexture(), sheet.getRect(0, 0));
}

sf::Sprite Chunk::decorateBeach()
{
    const Plym::Profiling::Block block("Beach");
    Plym::Spritesheet& sheet = getSheet("beach.png");
    sf::Sprite tile(sheet.getTexture(), sheet.getRect(0, 1));
    if (std::rand() % 100 + 1 > 90)
        tile.setTextureRect(sheet.getRect(0, std::rand() % 2));
    return tile;
}

sf::Sprite Chunk::decorateWater(int biome)
{
    const Plym::Profiling::Block block("Ocean");
    Plym::Spritesheet& sheet = getSheet("water.png");
    return sf::Sprite(sheet.getTexture(), sheet.getRect(0, biome == ShWater ? 4 : 3));
}

void Chunk::spawn(const std::string& templateName, unsigned x, unsigned y, float offsetX, float offsetY)
{
    const Tessaly::EntityId entity = getSystem()->instantiate(templateName);
    // An entity whose template failed to finalize is already gone.
    if (entity == 0)
        return;
    sendMessageToEntity(entity, "SetPosition",
                        Plym::Math::Vector3(x * World::TileSize + offsetX, y * World::TileSize + offsetY, 0.f));
}

void Chunk::generateAllBorders()
{
    for (const BorderPass& pass : EdgePasses)
    {
        BorderGenerator::generateBorders(pass.from, pass.to, getSheet(pass.sheet), mBiomes, mTiles, mWidth, mHeight,
                                         pass.columnOffset);
    }
    BorderGenerator::generateAnimatedBorders(Beach, ShWater, getSheet("beachwater.png"), mBiomes, mTiles,
                                             mAnimatedTiles, mWidth, mHeight);
}

void Chunk::update(Tessaly::Message& message)
{
    sWaterTimer += boost::any_cast<float>(message.payload);
    if (sQuadTree)
        sQuadTree->tick();
}

void Chunk::draw(Tessaly::Message& message)
{
    const Plym::Profiling::Block block("Chunk::draw()");
    WorldPainter::draw(*this, getDrawEvent(message));
    // The surf steps after the tiles are drawn: the new frame shows from the next one on.
    if (sWaterTimer > 1.f)
    {
        stepSurf();
        sWaterTimer = 0.f;
    }
}

sf::FloatRect Chunk::getPaintBounds() const
{
    // Tiles are drawn a little larger than their square: the last ones reach beyond the map.
    return sf::FloatRect(0.f, 0.f, (mWidth + 1) * World::TileSize, (mHeight + 1) * World::TileSize);
}

bool Chunk::isMoving() const
{
    return false;
}

std::uint64_t Chunk::getLook() const
{
    return mSurfSteps;
}

bool Chunk::changesWithin(const sf::FloatRect& area) const
{
    // Surf tiles are the ones drawn from the surf sheet.
    const sf::Texture* surf = &getSheet("beachwater.png").getTexture();
    const int left = std::max(static_cast<int>(std::floor(area.left / World::TileSize)) - 1, 0);
    const int top = std::max(static_cast<int>(std::floor(area.top / World::TileSize)) - 1, 0);
    const int right = std::min(static_cast<int>(std::ceil((area.left + area.width) / World::TileSize)), static_cast<int>(mWidth));
    const int bottom = std::min(static_cast<int>(std::ceil((area.top + area.height) / World::TileSize)), static_cast<int>(mHeight));
    for (int x = left; x < right; ++x)
    {
        for (int y = top; y < bottom; ++y)
        {
            if (mTiles[static_cast<std::size_t>(y) * mWidth + x].getTexture() == surf)
                return true;
        }
    }
    return false;
}

void Chunk::paint(sf::RenderTarget& target, const sf::FloatRect& area) const
{
    const float right = std::min(static_cast<float>(mWidth), area.left / World::TileSize + area.width / World::TileSize);
    const float bottom = std::min(static_cast<float>(mHeight), area.top / World::TileSize + area.height / World::TileSize);
    for (int x = std::max(static_cast<int>(area.left / World::TileSize), 0); x < right; ++x)
    {
        for (int y = std::max(static_cast<int>(area.top / World::TileSize), 0); y < bottom; ++y)
            mTileBatch.add(mTiles[static_cast<std::size_t>(y) * mWidth + x]);
    }
    mTileBatch.draw(target);
}

void Chunk::stepSurf()
{
    // The direction is shared: the tiles after the one that turns move the other way at once.
    for (sf::Sprite* tile : mAnimatedTiles)
    {
        sf::IntRect rect = tile->getTextureRect();
        if (sWaterRising)
        {
            if (rect.top < 180)
                rect.top += 90;
            else
                sWaterRising = false;
        }
        else
        {
            if (rect.top >= 90)
                rect.top -= 90;
            else
                sWaterRising = true;
        }
        tile->setTextureRect(rect);
    }
    ++mSurfSteps;
}

void Chunk::drawMap(Tessaly::Message& message)
{
    const Plym::Profiling::Block block("Chunk::drawMap()");
    if (!mPlayer)
        return;
    const Plym::Math::Vector3 position = mPlayer->getPosition();
    const Physical* body = mPlayer->getPhysical();
    const Plym::Math::Vector3 speed = body ? body->getSpeed() : Plym::Math::Vector3();

    const sf::Vector2i origin = Minimap::getOrigin(position);
    if (origin.x != mMinimapLeft || origin.y != mMinimapTop)
        sMinimap->redraw(origin);
    mMinimapLeft = origin.x;
    mMinimapTop = origin.y;

    const float angle = Plym::Math::radToDeg(Plym::Math::Vector2(speed.x, speed.y).getAngle());
    sMinimap->draw(*getDrawEvent(message).first, angle);
}

void Chunk::onMan(Tessaly::Message& message)
{
    if (message.type == Tessaly::ComponentAdded && !mPlayer)
        mPlayer = static_cast<Man*>(message.sender);
    // A destroyed player must not be drawn from.
    else if (message.type == Tessaly::ComponentDestroyed && message.sender == mPlayer)
        mPlayer = nullptr;
}

void Chunk::onAddToQuadTree(Tessaly::Message& message)
{
    if (message.sender)
        sendMessageToEntity(message.sender->getOwner(), "SetTree", sQuadTree.get());
}

int Chunk::getBiomeAt(unsigned x, unsigned y) const
{
    if (x >= mWidth || y >= mHeight)
        return None;
    return mBiomes[static_cast<std::size_t>(y) * mWidth + x];
}

Chunk* Chunk::getCurrent()
{
    return sCurrent;
}

Tessaly::EntitySystem* Chunk::getCurrentSystem()
{
    return sCurrentSystem;
}

QuadTree* Chunk::getQuadTree() const
{
    return sQuadTree.get();
}

const std::string& Chunk::getBiomeName(int id)
{
    static const std::string unknown;
    const auto name = sBiomeNames.find(id);
    return name == sBiomeNames.end() ? unknown : name->second;
}

Plym::Spritesheet& Chunk::getSheet(const std::string& file)
{
    return sSheets.at(file);
}

} // namespace QEL
