#include "actors/Snake.hpp"

#include "actors/MapEdge.hpp"
#include "app/GameEvents.hpp"
#include "app/ResourceManager.hpp"
#include "app/WorldPainter.hpp"
#include "physics/Collision.hpp"
#include "physics/Physical.hpp"
#include "plym/core/Math.hpp"
#include "plym/core/Profiling.hpp"
#include "plym/core/Vector3.hpp"
#include "world/Biome.hpp"
#include "world/Chunk.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include <boost/any.hpp>

#include <cmath>
#include <cstdlib>

namespace QEL
{

Snake::Snake() :
Component("QEL.Game.Snake"),
mDrawRequestId(0),
mSink(0),
mHeading(0.f),
mTurnDistance(0.f),
mStateTimer(static_cast<float>(std::rand() % 7 + 1)),
mPhase(0),
mColumn(0),
mRow(0),
mHorizontal(false),
mAnimTimer(0.6f),
mMirrored(false),
mHorizontalSheet(&gSpritesheets.get("Snake::Horizontal")),
mVerticalSheet(&gSpritesheets.get("Snake::Vertical")),
mPhysical(nullptr),
mChunk(nullptr)
{
}

void Snake::addedToEntity()
{
    requestMessage("QEL.Game.Update", &Snake::update);
    requestMessage("QEL.Game.Draw", &Snake::draw);
    mDrawRequestId = getMessageRequestId("QEL.Game.Draw");
    requestComponent("QEL.Game.Chunk", &Snake::onChunk, false);
    requireComponent("QEL.Physical", &Snake::onPhysical, true);
}

void Snake::onChunk(const Tessaly::Message& message)
{
    if (message.type == Tessaly::ComponentAdded)
        mChunk = static_cast<Chunk*>(message.sender);
    else if (message.sender == mChunk)
        mChunk = nullptr;
}

void Snake::onPhysical(const Tessaly::Message& message)
{
    if (message.type != Tessaly::ComponentAdded)
    {
        if (message.sender == mPhysical)
            mPhysical = nullptr;
        return;
    }
    mPhysical = static_cast<Physical*>(message.sender);
    const int a = std::rand();
    const int b = std::rand();
    mPhysical->setPosition(Plym::Math::Vector3(static_cast<float>(b % 23040), static_cast<float>(a % 23040), 0.f));
    mPhysical->setShape(makeOctagon(Plym::Math::Vector2(40.f, 40.f), 10.f));
}

void Snake::update(const Tessaly::Message& message)
{
    Plym::Profiling::Block block("Snake::update()");
    if (!mPhysical)
        return;
    const float step = boost::any_cast<float>(message.payload);
    mStateTimer -= step;
    const Plym::Math::Vector3 position = mPhysical->getPosition();
    float x = position.x;
    float y = position.y;

    if (mPhase != 0)
        crawlStep(x, y);
    if (mStateTimer < 0.f)
    {
        mPhase = mPhase == 0 ? 1 : 0;
        mStateTimer = static_cast<float>(std::rand() % 7 + 1);
    }
    mAnimTimer += step;
    if (mPhase == 0 && mAnimTimer < 0.5f)
        mRow = 0;
    if (mPhase >= 1 && mPhase <= 4)
    {
        const float heading = Plym::Math::degToRad(mHeading);
        const Plym::Math::Vector3 moved(x + std::cos(heading) * Speed * step, y + std::sin(heading) * Speed * step, 0.f);
        sendMessage("SetPosition", moved);
        mTurnDistance -= Speed * step;
    }
    changeRequestPriority(mDrawRequestId, static_cast<int>(y));
}

void Snake::crawlStep(float& x, float& y)
{
    if (mChunk)
    {
        MapEdge::Tile tile = MapEdge::tileAt(x, y);
        if (!MapEdge::inside(mChunk->getWidth(), mChunk->getHeight(), tile))
        {
            tile = MapEdge::walkBack(mChunk->getWidth(), mChunk->getHeight(), tile);
            x = static_cast<float>(tile.x) * World::TileSize;
            y = static_cast<float>(tile.y) * World::TileSize;
        }
        const int biome = mChunk->getBiomeAt(static_cast<unsigned>(tile.x), static_cast<unsigned>(tile.y));
        if (biome == ShWater || biome == DeWater)
            mSink = -15;
        else if (biome == Desert || biome == Beach)
            mSink = -5;
        else
            mSink = 0;
    }
    if (mTurnDistance < 0.5f)
        turn();
    if (mAnimTimer > 0.5f)
        animate();
}

void Snake::turn()
{
    mHeading += static_cast<float>(90 - std::rand() % 180);
    mTurnDistance = static_cast<float>(std::rand() % 200 + 50);
    if (mHeading < 0.f)
        mHeading += 360.f;
    else if (mHeading >= 360.f)
        mHeading -= 360.f;

    const Facing facing = facingFor(mHeading);
    mHorizontal = facing.horizontal;
    mColumn = facing.column;
}

Snake::Facing Snake::facingFor(float heading)
{
    if (heading >= 45.f && heading <= 135.f)
        return Facing{false, 0};
    if (heading > 135.f && heading < 225.f)
        return Facing{true, 0};
    if (heading >= 225.f && heading < 315.f)
        return Facing{false, 1};
    return Facing{true, 1};
}

void Snake::animate()
{
    switch (mPhase)
    {
        case 1:
            mRow = 0;
            mPhase = 2;
            break;
        case 2:
            mRow = 1;
            mPhase = 3;
            break;
        case 3:
            mRow = 0;
            if (!mHorizontal)
                mMirrored = true;
            mPhase = 4;
            break;
        default:
            mMirrored = false;
            mPhase = 1;
            break;
    }
    mAnimTimer = 0.f;
    mRow = mRow == 0 ? 1 : 0;
}

void Snake::draw(const Tessaly::Message& message)
{
    Plym::Profiling::Block block("Snake::draw()");
    WorldPainter::draw(*this, boost::any_cast<const DrawEvent&>(message.payload));
}

sf::Sprite Snake::makeSprite() const
{
    const Plym::Spritesheet& sheet = mHorizontal ? *mHorizontalSheet : *mVerticalSheet;
    const sf::IntRect rect = sheet.getRect(mColumn, mRow);
    sf::Sprite sprite(sheet.getTexture(), rect);
    const Plym::Math::Vector3 position = mPhysical->getPosition();
    sprite.setPosition(position.x, position.y);
    sprite.setOrigin(static_cast<float>(rect.width) / 2.f, static_cast<float>(rect.height) / 2.f + 45.f);
    sprite.setScale(mMirrored ? -1.f : 1.f, 1.f);
    return sprite;
}

sf::FloatRect Snake::getPaintBounds() const
{
    // Sinking cuts the picture's bottom off as much as it lowers it: it stays within.
    return mPhysical ? makeSprite().getGlobalBounds() : sf::FloatRect();
}

void Snake::paint(sf::RenderTarget& target, const sf::FloatRect& area) const
{
    if (!mPhysical)
        return;
    sf::Sprite sprite = makeSprite();
    if (!sprite.getGlobalBounds().intersects(area))
        return;

    sprite.move(0.f, static_cast<float>(-mSink));
    if (mSink < 0)
    {
        sf::IntRect rect = sprite.getTextureRect();
        rect.height += mSink;
        sprite.setTextureRect(rect);
    }
    target.draw(sprite);
}

} // namespace QEL
