#include "actors/Man.hpp"

#include "actors/ManAnimation.hpp"
#include "actors/MapEdge.hpp"
#include "app/GameEvents.hpp"
#include "app/Rects.hpp"
#include "app/ResourceManager.hpp"
#include "app/SharedSounds.hpp"
#include "app/WorldPainter.hpp"
#include "network/Client.hpp"
#include "network/ControlCharacters.hpp"
#include "network/WordFilter.hpp"
#include "network/channels/Chat.hpp"
#include "network/channels/PlayerStream.hpp"
#include "physics/Collision.hpp"
#include "physics/Physical.hpp"
#include "plym/core/Profiling.hpp"
#include "plym/game/Engine.hpp"
#include "plym/game/TextRuns.hpp"
#include "plym/game/Input.hpp"
#include "plym/game/InputManager.hpp"
#include "plym/game/Spritesheet.hpp"
#include "world/Biome.hpp"
#include "world/Chunk.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Window/Event.hpp>

#include <boost/any.hpp>

#include <algorithm>
#include <stdexcept>
#include <tuple>

namespace QEL
{

using Plym::Math::Vector2;
using Plym::Math::Vector3;

Tessaly::EntityId Man::sLocalPlayerEntity = 0;
sf::FloatRect Man::sPictureExtent;
bool Man::sBindsLoaded = false;
Plym::Input* Man::sInputUp = nullptr;
Plym::Input* Man::sInputDown = nullptr;
Plym::Input* Man::sInputLeft = nullptr;
Plym::Input* Man::sInputRight = nullptr;
Plym::Input* Man::sInputRun = nullptr;
Plym::Input* Man::sInputJump = nullptr;
int Man::sLastBiome = Biome::Desert;
int Man::sSendCounter = 0;
bool Man::sChatting = false;
bool Man::sChatArmed = false;
sf::String Man::sChatBuffer;

namespace
{

constexpr float WalkSpeed = 270.f;
constexpr double Gravity = -1177.2;  // the fall speed approached
constexpr float JumpSpeed = 480.f;
constexpr float WadingDepth = -15.f;
constexpr float SnapDistance = 50.f;

/// A service of the running engine, null without engine or service.
template <class Service>
Service* findService()
{
    Plym::Engine* engine = Plym::Engine::getSingleton();
    return engine ? engine->getService<Service>() : nullptr;
}

bool isWater(int biome)
{
    return biome == Biome::ShWater || biome == Biome::DeWater;
}

float groundLevel(int biome)
{
    switch (biome)
    {
        case Biome::ShWater:
            return -45.f;
        case Biome::DeWater:
            return -180.f;
        case Biome::Desert:
        case Biome::Beach:
            return -5.f;
        default:
            return 0.f;
    }
}

} // namespace

Man::Man() :
Component("QEL.Game.Man"),
mDrawId(0),
mPhysical(nullptr),
mAnimationName("Idle"),
mName("Local Player"),
mPlayerId(0),
mInWater(false),
mOnGround(true),
mHair(&gSpritesheets.get("Man::Hair")),
mShadow(&gTextures.get("Man::Shadow")),
mChunk(nullptr)
{
    if (!mAnimation.loadFromFile("man.anim"))
        throw std::runtime_error("Oh god why?");
    mHair->getTexture().setSmooth(true);
}

Man::~Man() = default;

void Man::addedToEntity()
{
    if (sLocalPlayerEntity == 0)
        sLocalPlayerEntity = getOwner();

    if (isLocalPlayer())
        requestLocalQuestions();
    else
        requestRemoteMovement();

    requestMessage("Man.GetName", &Man::onGetName);
    requestMessage("QEL.Game.Update", &Man::update);
    requestMessage("QEL.Game.Draw", &Man::draw);
    requestMessage("ChatMessage", &Man::onChatMessage);
    requestComponent("QEL.Game.Chunk", &Man::onChunk);
    requestComponent("QEL.Physical", &Man::onPhysical, true);
    mDrawId = getMessageRequestId("QEL.Game.Draw");
    loadBinds();
    requestMessage("Man.SetName", &Man::onSetName, true);
}

Vector3 Man::getPosition() const
{
    return mPhysical ? mPhysical->getPosition() : Vector3();
}

Physical* Man::getPhysical() const
{
    return mPhysical;
}

Tessaly::EntityId Man::getLocalPlayerEntity()
{
    return sLocalPlayerEntity;
}

bool Man::isLocalPlayer() const
{
    return getOwner() != 0 && getOwner() == sLocalPlayerEntity;
}

const std::string& Man::getAnimationName() const
{
    return mAnimationName;
}

bool Man::isInWater() const
{
    return mInWater;
}

bool Man::isOnGround() const
{
    return mOnGround;
}

std::uint32_t Man::getPlayerId() const
{
    return mPlayerId;
}

const sf::String& Man::getName() const
{
    return mName;
}

const sf::String& Man::getDisplayName() const
{
    return mDisplayName;
}

void Man::requestLocalQuestions()
{
    requestMessage("QEL.Game.Man.GetPosition", &Man::onGetPosition);
    requestMessage("Man.GetLocalPlayer", &Man::onGetLocalPlayer);
    requestMessage("QEL.Game.Event", &Man::onEvent);
}

void Man::requestRemoteMovement()
{
    // Run before the physical body's own handlers, which would jump straight to the target.
    requestMessage("SetPosition", &Man::onSetPosition, true);
    changeRequestPriority(getMessageRequestId("SetPosition"), -1);
    requestMessage("SetSpeed", &Man::onSetSpeed, true);
    changeRequestPriority(getMessageRequestId("SetSpeed"), -1);
}

void Man::loadBinds()
{
    const Tessaly::Message answer = sendGlobalQuestion("Plym.Get.Engine", 0);
    if (!answer.handled || !isLocalPlayer())
        return;

    Plym::InputManager* input = boost::any_cast<Plym::Engine*>(answer.payload)->getService<Plym::InputManager>();
    if (!input)
        return;
    sInputUp = &input->getBind("Up");
    sInputDown = &input->getBind("Down");
    sInputLeft = &input->getBind("Left");
    sInputRight = &input->getBind("Right");
    sInputRun = &input->getBind("Run");
    sInputJump = &input->getBind("Jump");
    sBindsLoaded = true;
}

void Man::onGetPosition(Tessaly::Message& message)
{
    const Vector3 position = getPosition();
    message.payload = Vector2(position.x, position.y);
    message.handled = true;
}

void Man::onGetLocalPlayer(Tessaly::Message& message)
{
    message.payload = 0;
    message.handled = true;
}

void Man::onGetName(Tessaly::Message& message)
{
    if (boost::any_cast<unsigned int>(message.payload) != mPlayerId)
        return;
    message.payload = mName;
    message.handled = true;
}

void Man::onChatMessage(Tessaly::Message& message)
{
    if (!sChatting)
        return;
    message.payload = sChatBuffer;
    message.handled = true;
}

void Man::onChunk(Tessaly::Message& message)
{
    if (message.type == Tessaly::ComponentAdded)
        mChunk = static_cast<Chunk*>(message.sender);
    else if (message.sender == mChunk)
        mChunk = nullptr;
}

void Man::onPhysical(Tessaly::Message& message)
{
    if (message.type != Tessaly::ComponentAdded)
    {
        if (message.sender == mPhysical)
            mPhysical = nullptr;
        return;
    }
    mPhysical = static_cast<Physical*>(message.sender);
    mPhysical->setShape(makeOctagon(Vector2(140.f, 70.f), 25.f));
    mPhysical->setPosition(Vector3(World::Centre, World::Centre, 0.f));
}

void Man::onSetName(Tessaly::Message& message)
{
    const auto& player = boost::any_cast<const std::tuple<unsigned int, sf::String>&>(message.payload);
    mPlayerId = std::get<0>(player);
    mName = std::get<1>(player);
    mDisplayName = mName;
    Network::filterText(mDisplayName);
}

void Man::onSetPosition(Tessaly::Message& message)
{
    const Vector3 received = boost::any_cast<Vector3>(message.payload);
    if (!mPhysical)
        return;
    const Vector3 current = mPhysical->getPosition();
    // Small corrections are smoothed; large ones are left to the body, which jumps.
    if ((received - current).getLength() < SnapDistance)
    {
        mPhysical->setPosition(Vector3::lerp(current, received, 0.5f));
        message.handled = true;
    }
}

void Man::onSetSpeed(Tessaly::Message& message)
{
    const Vector3 received = boost::any_cast<Vector3>(message.payload);
    if (!mPhysical)
        return;
    mPhysical->setSpeed(Vector3::lerp(mPhysical->getSpeed(), received, 0.75f));
    message.handled = true;
}

void Man::onEvent(Tessaly::Message& message)
{
    // The first event only arms the chat keyboard.
    if (!sChatArmed)
    {
        sChatArmed = true;
        return;
    }

    const sf::Event& event = boost::any_cast<const sf::Event&>(message.payload);
    if (event.type == sf::Event::KeyReleased && event.key.code == sf::Keyboard::Return)
        toggleChat(message);
    else if (sChatting && event.type == sf::Event::KeyPressed && event.key.code == sf::Keyboard::Escape)
        cancelChat(message);
    else if (sChatting && event.type == sf::Event::TextEntered)
        typeCharacter(event.text.unicode);
}

void Man::toggleChat(Tessaly::Message& message)
{
    sChatting = !sChatting;
    Plym::InputManager* input = findService<Plym::InputManager>();
    if (sChatting)
    {
        if (input)
            input->disable(true);
    }
    else
    {
        if (input)
            input->enable();
        sendChatLine();
    }
    message.payload = true;
    message.handled = true;
}

void Man::cancelChat(Tessaly::Message& message)
{
    sChatting = false;
    sChatBuffer.clear();
    if (Plym::InputManager* input = findService<Plym::InputManager>())
        input->enable();
    message.handled = true;
}

void Man::sendChatLine()
{
    Network::Channels::Chat::sendLine(sChatBuffer);
    sChatBuffer.clear();
}

void Man::typeCharacter(std::uint32_t codePoint)
{
    // Delete comes as DEL; no control character goes into a line others will read.
    if (!Network::isControlCharacter(codePoint))
        sChatBuffer += sf::String(codePoint);
    else if (codePoint == 8 && !sChatBuffer.isEmpty())
        sChatBuffer.erase(sChatBuffer.getSize() - 1);
}

void Man::update(Tessaly::Message& message)
{
    Plym::Profiling::Block block("Man::update()");
    if (!sBindsLoaded || !mPhysical)
        return;

    const float seconds = boost::any_cast<float>(message.payload);
    if (isLocalPlayer())
    {
        move(seconds);
        const Vector3 position = mPhysical->getPosition();
        moveListener(Vector2(position.x, position.y));
    }
    // Men further down the screen are drawn later.
    changeRequestPriority(mDrawId, static_cast<int>(mPhysical->getPosition().y));
    animate(seconds);
    makeFootfalls(seconds);
}

void Man::move(float seconds)
{
    Vector3 position = mPhysical->getPosition();
    Vector3 velocity = mPhysical->getSpeed();
    const float maxSpeed = (sInputRun->getValue() * 1.5f + 1.f) * WalkSpeed;

    const int biome = findBiome(position);
    playMusic(biome);
    if (isWater(biome) && position.z < WadingDepth)
        mInWater = true;
    else if (!isWater(biome) || position.z > WadingDepth)
        mInWater = false;

    moveVertically(position, velocity, biome, seconds);
    walk(velocity, maxSpeed, seconds);
    keepInsideMap(position, velocity);
    mPhysical->setSpeed(velocity);
    stream(position, velocity);
}

int Man::findBiome(const Vector3& position) const
{
    if (!mChunk)
        return Biome::None;
    // Tiles left of or above the map wrap to huge unsigned indices, which lie outside it.
    const MapEdge::Tile tile = MapEdge::tileAt(position.x, position.y);
    return mChunk->getBiomeAt(static_cast<unsigned>(tile.x), static_cast<unsigned>(tile.y));
}

void Man::playMusic(int biome)
{
    const char* track = nullptr;
    if (biome == Biome::Desert && sLastBiome != Biome::Desert)
        track = "DSRT.ogg";
    else if (biome == Biome::Grass && sLastBiome == Biome::Desert)
        track = "I Am The Adventuror.ogg";
    if (track)
        sendGlobalMessage("Plym.Music.Play", std::make_tuple(std::string(track), 0.75f, true));
}

void Man::moveVertically(Vector3& position, Vector3& velocity, int biome, float seconds)
{
    const float ground = groundLevel(biome);
    if (biome != sLastBiome)
        mOnGround = false;
    sLastBiome = biome;

    if (!mOnGround)
    {
        const double z = velocity.z;
        velocity.z = static_cast<float>(z + (Gravity - z) * seconds);
        if (ground >= position.z)
        {
            mOnGround = true;
            position.z = ground;
            velocity.z = 0.f;
            mPhysical->setPosition(position);
        }
    }
    if (mOnGround && sInputJump->getValue() > 0.5f)
    {
        velocity.z = JumpSpeed;
        mOnGround = false;
    }
}

void Man::walk(Vector3& velocity, float maxSpeed, float seconds) const
{
    Vector2 direction(sInputRight->getValue() - sInputLeft->getValue(), sInputDown->getValue() - sInputUp->getValue());
    // A full diagonal is no faster than a straight walk; a weak stick push stays weak.
    if (direction.getLength() > 1.f)
        direction.setLength(1.f);
    const Vector2 target = direction * maxSpeed;

    velocity.x += (target.x - velocity.x) * seconds * 8.f;
    velocity.y += (target.y - velocity.y) * seconds * 8.f;
    velocity.x = std::clamp(velocity.x, -maxSpeed, maxSpeed);
    velocity.y = std::clamp(velocity.y, -maxSpeed, maxSpeed);
}

void Man::keepInsideMap(const Vector3& position, Vector3& velocity)
{
    if (!mChunk || mChunk->getWidth() == 0 || mChunk->getHeight() == 0)
        return;

    const unsigned width = mChunk->getWidth();
    const unsigned height = mChunk->getHeight();
    const auto outside = [width, height](int x, int y) { return !MapEdge::inside(width, height, MapEdge::Tile{x, y}); };

    MapEdge::Tile tile = MapEdge::tileAt(position.x, position.y);
    if (outside(tile.x, tile.y))
    {
        tile = MapEdge::walkBack(width, height, tile);
        mPhysical->setPosition(Vector3(tile.x * World::TileSize, tile.y * World::TileSize, 0.f));
    }

    if ((velocity.y < 0.f && outside(tile.x, tile.y - 1)) || (velocity.y > 0.f && outside(tile.x, tile.y + 1)))
        velocity.y = 0.f;
    if ((velocity.x < 0.f && outside(tile.x - 1, tile.y)) || (velocity.x > 0.f && outside(tile.x + 1, tile.y)))
        velocity.x = 0.f;
}

void Man::stream(const Vector3& position, const Vector3& velocity) const
{
    if (++sSendCounter <= 2)
        return;
    sSendCounter = 0;

    if (Network::Client* client = findService<Network::Client>())
        client->send(Network::Channels::PlayerStream::makeStreamRecord(position, velocity));
}

void Man::animate(float seconds)
{
    const Vector3 speed = mPhysical->getSpeed();
    mAnimationName = ManAnimation::getName(speed.x, speed.y);
    if (!mAnimationName.empty())
        mAnimation.update(mAnimationName, ManAnimation::getStepTime(speed.x, speed.y, seconds));
}

void Man::makeFootfalls(float seconds)
{
    const Vector3 position = mPhysical->getPosition();
    const Footsteps::Sound sound = mFootsteps.update(findBiome(position), position, mPhysical->getSpeed(), seconds);
    if (sound.name)
        playSound(sound.name, Vector2(position.x, position.y), sound.volume, sound.pitch);
}

void Man::draw(Tessaly::Message& message)
{
    Plym::Profiling::Block block("Man::draw()");
    WorldPainter::draw(*this, boost::any_cast<const DrawEvent&>(message.payload));
}

sf::FloatRect Man::getPaintBounds() const
{
    return getPictureBounds(getPosition());
}

void Man::paint(sf::RenderTarget& target, const sf::FloatRect& area) const
{
    const Vector3 position = getPosition();
    if (!area.intersects(getPictureBounds(position)))
        return;

    sf::Sprite sprite(*mShadow);
    sprite.setOrigin(90.f, 270.f);
    sprite.setPosition(position.x, position.y);
    sprite.setColor(sf::Color(0, 0, 0, 42));
    target.draw(sprite);

    if (!mAnimationName.empty())
        drawFigure(target, sprite, position.z);
    if (mInWater)
        drawRipple(target, sprite);
    if (!isLocalPlayer())
        drawName(target, position);
}

sf::FloatRect Man::getPictureBounds(const Vector3& position) const
{
    // A jump raises the figure; standing in water lowers it, but cuts as much off its foot.
    const sf::FloatRect& extent = getPictureExtent();
    const float lift = std::max(position.z, 0.f) + 2.f;
    const sf::FloatRect figure(position.x + extent.left, position.y + extent.top - lift, extent.width, extent.height + lift);
    if (isLocalPlayer())
        return figure;
    const sf::FloatRect name = makeName(position).getGlobalBounds();
    return Rects::unite(figure, sf::FloatRect(name.left - 2.f, name.top - 2.f, name.width + 4.f, name.height + 4.f));
}

const sf::FloatRect& Man::getPictureExtent() const
{
    if (sPictureExtent.width > 0.f)
        return sPictureExtent;
    // Every picture of a man is drawn around the same origin, at his feet.
    const sf::Vector2f feet(90.f, 270.f);
    // The visible pixels of every cell of a sheet, laid over one another.
    const auto visibleCells = [](const sf::Texture& texture, sf::Vector2u cell) {
        const sf::Image image = texture.copyToImage();
        unsigned left = cell.x, top = cell.y, right = 0, bottom = 0;
        for (unsigned y = 0; y < image.getSize().y; ++y)
        {
            for (unsigned x = 0; x < image.getSize().x; ++x)
            {
                if (image.getPixel(x, y).a == 0)
                    continue;
                left = std::min(left, x % cell.x);
                top = std::min(top, y % cell.y);
                right = std::max(right, x % cell.x + 1);
                bottom = std::max(bottom, y % cell.y + 1);
            }
        }
        return right > left ? sf::FloatRect(sf::IntRect(left, top, right - left, bottom - top)) : sf::FloatRect();
    };

    sf::Sprite figure;
    mAnimation.apply("Idle", figure);
    const sf::Vector2u frame(figure.getTextureRect().width, figure.getTextureRect().height);
    const sf::IntRect hairCell = mHair->getRect(0, 0);
    const sf::FloatRect hair = visibleCells(mHair->getTexture(), sf::Vector2u(hairCell.width, hairCell.height));
    const sf::FloatRect mirroredHair(2.f * feet.x - hair.left - hair.width, hair.top, hair.width, hair.height);
    sf::FloatRect extent = Rects::unite(visibleCells(*figure.getTexture(), frame), visibleCells(*mShadow, mShadow->getSize()));
    extent = Rects::unite(extent, Rects::unite(hair, mirroredHair));
    sPictureExtent = sf::FloatRect(extent.left - feet.x, extent.top - feet.y, extent.width, extent.height);
    return sPictureExtent;
}

void Man::drawFigure(sf::RenderTarget& target, sf::Sprite& sprite, float height) const
{
    sprite.move(0.f, -height);
    sprite.setColor(sf::Color::White);
    mAnimation.apply(mAnimationName, sprite);
    if (height < 0.f)
    {
        // Standing in water: the part below the surface is cut off.
        sf::IntRect rect = sprite.getTextureRect();
        rect.height = std::max(0, static_cast<int>(rect.height + height));
        sprite.setTextureRect(rect);
    }
    target.draw(sprite);

    const float lift = mAnimationName == "Idle" ? 1.f : 2.f;
    const ManAnimation::HairCell cell = ManAnimation::getHairCell(mAnimationName);
    sprite.move(0.f, -lift);
    sprite.setTexture(mHair->getTexture());
    sprite.setTextureRect(mHair->getRect(cell.column, 0));
    sprite.setScale(cell.mirrored ? -1.f : 1.f, 1.f);
    target.draw(sprite);

    sprite.setScale(1.f, 1.f);
    sprite.move(0.f, lift + height);
}

void Man::drawRipple(sf::RenderTarget& target, sf::Sprite& sprite) const
{
    sprite.setColor(sf::Color(137, 186, 220, 75));
    sprite.setTexture(*mShadow, true);
    sprite.setScale(0.75f, 0.25f);
    target.draw(sprite);
    sprite.setScale(1.f, 1.f);
}

Plym::TextRuns Man::makeName(const Vector3& position) const
{
    Plym::TextRuns text(mDisplayName, 30);
    const sf::FloatRect bounds = text.getLocalBounds();
    text.setOrigin(bounds.left + bounds.width / 2.f, bounds.top + bounds.height / 2.f);
    text.setPosition(position.x, position.y - (position.z + 300.f));
    return text;
}

void Man::drawName(sf::RenderTarget& target, const Vector3& position) const
{
    Plym::TextRuns text = makeName(position);
    // A black outline from four diagonal copies, then the name in white.
    text.drawCopies(target, {sf::Vector2f(-2.f, -2.f), sf::Vector2f(2.f, -2.f), sf::Vector2f(2.f, 2.f), sf::Vector2f(-2.f, 2.f)}, sf::Color::Black);
    text.drawCopies(target, {sf::Vector2f()}, sf::Color::White);
}

} // namespace QEL
