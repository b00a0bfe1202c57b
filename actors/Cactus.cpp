#include "actors/Cactus.hpp"

#include "actors/WorldEvent.hpp"
#include "app/GameEvents.hpp"
#include "app/ResourceManager.hpp"
#include "app/SharedSounds.hpp"
#include "app/WorldPainter.hpp"
#include "network/Protocol.hpp"
#include "physics/CircleCollisionShape.hpp"
#include "physics/Physical.hpp"
#include "plym/core/Math.hpp"
#include "plym/core/Profiling.hpp"
#include "plym/core/Vector3.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include <boost/any.hpp>

#include <algorithm>

namespace QEL
{

Cactus::Cactus() :
Component("QEL.Game.Cactus"),
mSegments(static_cast<std::uint8_t>(Plym::Math::randomint(3, 12))),
mPhysical(nullptr),
mSheet(&gSpritesheets.get("Cactus")),
mShadowTexture(&gTextures.get("Cactus::Shadow")),
mPicked(false)
{
}

void Cactus::addedToEntity()
{
    requestMessage("QEL.Game.Draw", &Cactus::draw);
    requestMessage("QEL.Game.Click", &Cactus::click);
    requestComponent("QEL.Physical", [this](Tessaly::Message& message) {
        if (message.type != Tessaly::ComponentAdded)
        {
            if (message.sender == mPhysical)
                mPhysical = nullptr;
            return;
        }
        mPhysical = static_cast<Physical*>(message.sender);
        mPhysical->setShape(new CircleCollisionShape(25.f));
        mPhysical->setStatic(true);
    }, true);
    requestMessage("SetPosition", &Cactus::setPosition, true);
    requestMessage(Network::Protocol::PickedCactus, [this](Tessaly::Message&) { pick(); }, true);
}

void Cactus::pick()
{
    if (!mPicked)
        playSound("Cactus::Pick", mPosition);
    mPicked = true;
}

void Cactus::setPosition(const Tessaly::Message& message)
{
    const auto& position = boost::any_cast<const Plym::Math::Vector3&>(message.payload);
    mPosition = Plym::Math::Vector2(position.x, position.y);
    if (mPhysical)
        mPhysical->setPosition(Plym::Math::Vector3(position.x, position.y, 0.f));
    changeRequestPriority(getMessageRequestId("QEL.Game.Draw"), static_cast<int>(position.y));
    changeRequestPriority(getMessageRequestId("QEL.Game.Click"), static_cast<int>(-position.y));
    mBounds = sf::FloatRect(position.x - 30.f, position.y - 300.f, 60.f, 300.f);

    // Everything drawn: the shadow around the foot, the stem and its top, the arms on the right.
    const sf::Vector2f shadow = sf::Vector2f(mShadowTexture->getSize()) / 2.f;
    const float top = position.y - 30.f * static_cast<float>(mSegments + 1);
    const float left = position.x - std::max(shadow.x, 15.f);
    const float right = position.x + std::max(shadow.x, 45.f);
    mPictureBounds = sf::FloatRect(left, top, right - left, position.y + shadow.y - top);
}

void Cactus::click(Tessaly::Message& message)
{
    const auto& click = boost::any_cast<const ClickEvent&>(message.payload);
    if (!mBounds.contains(click.first))
        return;
    message.handled = true;
    if (click.second)
    {
        pick();
        shareWorldEvent(getOwner(), Network::Protocol::PickedCactus);
    }
}

void Cactus::draw(const Tessaly::Message& message)
{
    Plym::Profiling::Block block("Cactus::draw()");
    WorldPainter::draw(*this, boost::any_cast<const DrawEvent&>(message.payload));
}

sf::FloatRect Cactus::getPaintBounds() const
{
    return mPictureBounds;
}

bool Cactus::isMoving() const
{
    return false;
}

std::uint64_t Cactus::getLook() const
{
    return mPicked;
}

void Cactus::paint(sf::RenderTarget& target, const sf::FloatRect& area) const
{
    if (!area.intersects(mPictureBounds))
        return;

    sf::Sprite sprite(*mShadowTexture);
    sprite.setPosition(mPosition);
    sprite.setColor(sf::Color(0, 0, 0, 42));
    sprite.setOrigin(sf::Vector2f(mShadowTexture->getSize()) / 2.f);
    target.draw(sprite);

    const unsigned p = mPicked ? 1 : 0;
    const float segments = static_cast<float>(mSegments);
    sprite.setTexture(mSheet->getTexture());
    sprite.setColor(sf::Color::White);
    sprite.setTextureRect(mSheet->getRect(1 - p, 2));
    for (unsigned i = 0; i < mSegments; ++i)
    {
        sprite.setOrigin(15.f, 30.f + 30.f * static_cast<float>(i));
        target.draw(sprite);
    }
    const auto drawCell = [&](unsigned column, unsigned row, float originX, float originY) {
        sprite.setTextureRect(mSheet->getRect(column, row));
        sprite.setOrigin(originX, originY);
        target.draw(sprite);
    };
    drawCell(1 - p, 1, 15.f, 30.f + 30.f * segments);
    drawCell(2, 3 * p + 1, -15.f, 30.f * segments);
    drawCell(2, 3 * p + 2, -15.f, 30.f * segments - 30.f);
}

} // namespace QEL
