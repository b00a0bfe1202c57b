#include "actors/RoadManager.hpp"

#include "actors/RoadPieces.hpp"
#include "app/GameEvents.hpp"
#include "app/Rects.hpp"
#include "app/ResourceManager.hpp"
#include "app/SharedSounds.hpp"
#include "app/WorldPainter.hpp"
#include "plym/core/Profiling.hpp"
#include "world/Biome.hpp"
#include "world/Chunk.hpp"

#include <SFML/Window/Event.hpp>

#include <boost/any.hpp>

#include <algorithm>
#include <cmath>

namespace QEL
{
namespace
{

constexpr int Offsets[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};

RoadManager::Tile neighbour(RoadManager::Tile tile, int index)
{
    return RoadManager::Tile(static_cast<std::uint8_t>(tile.first + Offsets[index][0]),
                             static_cast<std::uint8_t>(tile.second + Offsets[index][1]));
}

/// A road tile with the tiles around it, which its piece may reach into.
sf::FloatRect reachOf(RoadManager::Tile tile)
{
    return sf::FloatRect(tile.first * World::TileSize - 45.f, tile.second * World::TileSize - 45.f, 180.f, 180.f);
}

/// Pieces changed this many times between two looks of a painter are not listed one by one.
constexpr std::size_t MaxListedChanges = 256;

sf::IntRect pieceRect(const Plym::Spritesheet& path, const Plym::Spritesheet& square, unsigned index)
{
    const RoadPieces::Cell cell = RoadPieces::cellOf(index);
    return (cell.squareSheet ? square : path).getRect(cell.column, cell.row);
}

} // namespace

RoadManager::RoadManager() :
Component("QEL.Game.RoadManager"),
mManyChanged(false),
mChanges(0),
mChunk(nullptr),
mPathSheet(&gSpritesheets.get("Road::Path")),
mSquareSheet(&gSpritesheets.get("Road::Square")),
mCursorPainting(*this, mSquareSheet->getTexture(), pieceRect(*mPathSheet, *mSquareSheet, 1)),
mBuildMode(false)
{
    mDirtyTiles.reserve(9);
    for (unsigned i = 0; i < RoadPieces::RectCount; ++i)
        mPieceRects.push_back(pieceRect(*mPathSheet, *mSquareSheet, i));
    mSprite.setTexture(mPathSheet->getTexture());
    mSprite.setOrigin(45.f, 45.f);
}

void RoadManager::addedToEntity()
{
    requestMessage("QEL.Game.Update", &RoadManager::update);
    requestMessage("QEL.Game.Event", &RoadManager::input);
    requestMessage("QEL.Game.Draw", &RoadManager::draw);
    requestComponent("QEL.Game.Chunk", [this](Tessaly::Message& message) {
        if (message.type == Tessaly::ComponentAdded)
            mChunk = static_cast<Chunk*>(message.sender);
        else if (message.sender == mChunk)
            mChunk = nullptr;
    }, false);
    requestMessage("QEL.Game.Click", &RoadManager::click);
    changeRequestPriority(getMessageRequestId("QEL.Game.Click"), 230401);
    changeRequestPriority(getMessageRequestId("QEL.Game.Draw"), -230399);
}

std::uint8_t RoadManager::getNeighbourMask(Tile tile) const
{
    std::uint8_t mask = 0;
    for (int i = 0; i < 8; ++i)
    {
        if (mRoads.count(neighbour(tile, i)) != 0)
            mask |= static_cast<std::uint8_t>(1u << i);
    }
    return mask;
}

void RoadManager::update(const Tessaly::Message&)
{
    for (const Tile& tile : mDirtyTiles)
        mRoads[tile] = RoadPieces::pieceFor(getNeighbourMask(tile));
    noteChanged(mDirtyTiles);
    mDirtyTiles.clear();
}

void RoadManager::input(const Tessaly::Message& message)
{
    Plym::Profiling::Block block("RoadManager::input()");
    const auto& event = boost::any_cast<const sf::Event&>(message.payload);
    if (event.type == sf::Event::KeyPressed && event.key.code == sf::Keyboard::R)
    {
        // An R typed into the chat line is a letter, not the build key.
        if (!sendGlobalQuestion("ChatMessage", 0).handled)
            mBuildMode = !mBuildMode;
    }
    else if (event.type == sf::Event::MouseMoved && mBuildMode && mWindowSize.x > 0 && mWindowSize.y > 0)
    {
        const float x = mViewRect.left + mViewRect.width * static_cast<float>(event.mouseMove.x) / static_cast<float>(mWindowSize.x);
        const float y = mViewRect.top + mViewRect.height * static_cast<float>(event.mouseMove.y) / static_cast<float>(mWindowSize.y);
        mCursor = sf::Vector2f(std::trunc(x / World::TileSize) * World::TileSize + 45.f,
                               std::trunc(y / World::TileSize) * World::TileSize + 45.f);
    }
}

void RoadManager::click(Tessaly::Message& message)
{
    if (!mBuildMode || !mChunk)
        return;
    const auto& click = boost::any_cast<const ClickEvent&>(message.payload);
    const float x = std::trunc(click.first.x / World::TileSize);
    const float y = std::trunc(click.first.y / World::TileSize);
    if (!(x >= 0.f && y >= 0.f && x < static_cast<float>(mChunk->getWidth()) && y < static_cast<float>(mChunk->getHeight())))
        return;
    const int biome = mChunk->getBiomeAt(static_cast<unsigned>(x), static_cast<unsigned>(y));
    if (biome == ShWater || biome == DeWater)
        return;

    const Tile tile(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y));
    const Plym::Math::Vector2 centre((x + 0.5f) * World::TileSize, (y + 0.5f) * World::TileSize);
    if (click.second)
    {
        if (hasRoad(tile))
            playSound("Road::Remove", centre);
        // A road laid in this very step goes too, instead of appearing at the update.
        mRoads.erase(tile);
        noteChanged({tile});
        mDirtyTiles.erase(std::remove(mDirtyTiles.begin(), mDirtyTiles.end(), tile), mDirtyTiles.end());
        markNeighbours(tile);
    }
    else
    {
        mDirtyTiles.push_back(tile);
        markNeighbours(tile);
        playSound("Road::Lay", centre);
        message.handled = true;
    }
}

void RoadManager::markNeighbours(Tile tile)
{
    for (int i = 0; i < 8; ++i)
    {
        // Roads laid earlier in this step count too: recomputed before their new neighbour
        // entered the map, they would keep a piece that ignores it.
        const Tile next = neighbour(tile, i);
        if (hasRoad(next))
            mDirtyTiles.push_back(next);
    }
}

bool RoadManager::hasRoad(Tile tile) const
{
    return mRoads.count(tile) != 0 || std::find(mDirtyTiles.begin(), mDirtyTiles.end(), tile) != mDirtyTiles.end();
}

void RoadManager::draw(const Tessaly::Message& message)
{
    Plym::Profiling::Block block("RoadManager::draw()");
    const auto& event = boost::any_cast<const DrawEvent&>(message.payload);
    mWindowSize = event.first->getSize();
    const sf::View& view = event.first->getView();
    mViewRect = sf::FloatRect(view.getCenter() - view.getSize() / 2.f, view.getSize());
    WorldPainter::draw(mCursorPainting, event);
    WorldPainter::draw(*this, event);
}

void RoadManager::noteChanged(const std::vector<Tile>& tiles)
{
    if (tiles.empty())
        return;
    ++mChanges;
    if (mManyChanged || mChangedTiles.size() + tiles.size() > MaxListedChanges)
    {
        mManyChanged = true;
        mChangedTiles.clear();
        return;
    }
    mChangedTiles.insert(mChangedTiles.end(), tiles.begin(), tiles.end());
}

sf::FloatRect RoadManager::getPaintBounds() const
{
    if (mRoads.empty())
        return sf::FloatRect();
    sf::FloatRect bounds = reachOf(mRoads.begin()->first);
    for (const auto& road : mRoads)
        bounds = Rects::unite(bounds, reachOf(road.first));
    return bounds;
}

bool RoadManager::isMoving() const
{
    return false;
}

std::uint64_t RoadManager::getLook() const
{
    return mChanges;
}

bool RoadManager::changesWithin(const sf::FloatRect& area) const
{
    return mManyChanged || std::any_of(mChangedTiles.begin(), mChangedTiles.end(), [&](Tile tile) { return reachOf(tile).intersects(area); });
}

void RoadManager::forgetChanges()
{
    mChangedTiles.clear();
    mManyChanged = false;
}

void RoadManager::paint(sf::RenderTarget& target, const sf::FloatRect& area) const
{
    for (const auto& [tile, piece] : mRoads)
    {
        placePiece(tile, piece);
        if (mSprite.getGlobalBounds().intersects(area))
            target.draw(mSprite);
    }
    mSprite.setScale(1.f, 1.f);
    mSprite.setRotation(0.f);
}

void RoadManager::placePiece(Tile tile, std::uint8_t piece) const
{
    const RoadPieces::Look look = RoadPieces::lookOf(piece);
    mSprite.setTexture((look.squareSheet ? mSquareSheet : mPathSheet)->getTexture());
    mSprite.setTextureRect(mPieceRects[look.rectIndex]);
    mSprite.setPosition(tile.first * World::TileSize + 45.f, tile.second * World::TileSize + 45.f);
    mSprite.setScale(look.scale);
    mSprite.setRotation(look.rotation);
}

} // namespace QEL
