#include "actors/Woody.hpp"

#include "app/GameEvents.hpp"
#include "app/Rects.hpp"
#include "app/SharedSounds.hpp"
#include "app/WorldPainter.hpp"
#include "plym/core/Math.hpp"
#include "plym/core/Profiling.hpp"
#include "plym/game/Spritesheet.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <boost/any.hpp>

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>

namespace QEL
{
namespace
{

/// Degrees of the fall at which the trunk lies on the ground.
constexpr float LyingAngle = 91.f;
/// Where the lying log comes to rest, from the foot of the standing trunk.
const Plym::Math::Vector2 LyingOffset(270.f, -140.f);

const sf::IntRect LogRect(540, 270, 180, 270);
const sf::IntRect BranchesRect(0, 270, 360, 90);
const sf::IntRect StrippedBranchesRect(360, 0, 360, 90);
const sf::IntRect CrownRect(0, 0, 360, 270);

/// The picture every wood shares: the tree sheet and one sprite per part.
struct Pictures
{
    Pictures()
    {
        if (!sheet.loadFromFile("tree.png", 8, 6))
            throw std::runtime_error("Woody: failed to load tree.png");
        log.setTexture(sheet.getTexture());
        branches.setTexture(sheet.getTexture());
        crown.setTexture(sheet.getTexture());
        setRects();
        log.setOrigin(90.f, 135.f);
        branches.setOrigin(180.f, 45.f);
        crown.setOrigin(180.f, 315.f);
    }

    void setRects()
    {
        log.setTextureRect(LogRect);
        branches.setTextureRect(BranchesRect);
        crown.setTextureRect(CrownRect);
    }

    template <class F>
    void forEach(F function)
    {
        function(log);
        function(branches);
        function(crown);
    }

    Plym::Spritesheet sheet;
    sf::Sprite log;
    sf::Sprite branches;
    sf::Sprite crown;
};

Pictures& pictures()
{
    static Pictures shared;
    return shared;
}

} // namespace

Woody::Woody() :
Component("QEL.Game.Woody"),
mFallAngle(0.f),
mAlpha(255),
mDrawRequestPending(true),
mAttached(false),
mTrimmed(false),
mDebranched(false),
mTethered(0)
{
    pictures();
}

void Woody::addedToEntity()
{
    requestMessage("QEL.Game.Update", &Woody::update);
    requestMessage("QEL.Game.Click", &Woody::click);
    requestMessage("QEL.SetPosition", &Woody::setPosition, true);
    requestMessage("Debranched", [this](Tessaly::Message& message) { mDebranched = boost::any_cast<bool>(message.payload); }, true);
}

void Woody::setPosition(const Tessaly::Message& message)
{
    mPosition = boost::any_cast<Plym::Math::Vector2>(message.payload);
    Pictures& shared = pictures();
    shared.forEach([this](sf::Sprite& sprite) { sprite.setPosition(mPosition); });
    mBounds = shared.log.getGlobalBounds();
}

void Woody::update(const Tessaly::Message& message)
{
    Plym::Profiling::Block block("Woody::update()");
    const float step = boost::any_cast<float>(message.payload);
    const bool falling = mFallAngle < LyingAngle;
    mFallAngle += std::min(180.f, (mFallAngle + 1.f) * 3.f) * step;
    if (falling && mFallAngle >= LyingAngle)
        playSound("Tree::Crash", mPosition + LyingOffset);
    // Rounded, not truncated: cutting off the fraction every step would fade about a third
    // faster than 100 a second.
    if (mTrimmed && mAlpha > 0)
        mAlpha = static_cast<std::int32_t>(std::lround(static_cast<float>(mAlpha) - step * FadePerSecond));
    changeRequestPriority(getMessageRequestId("QEL.Game.Draw"), static_cast<int>(mPosition.y));
    if (mDrawRequestPending)
    {
        requestMessage("QEL.Game.Draw", &Woody::draw);
        mDrawRequestPending = false;
    }
}

std::optional<Plym::Math::Vector2> Woody::askPlayerPosition()
{
    const Tessaly::Message answer = sendGlobalQuestion("QEL.Game.Man.GetPosition", 0);
    if (!answer.handled)
        return std::nullopt;
    return boost::any_cast<Plym::Math::Vector2>(answer.payload);
}

void Woody::click(Tessaly::Message& message)
{
    Plym::Profiling::Block block("Woody::click()");
    const auto& click = boost::any_cast<const ClickEvent&>(message.payload);
    if (!mBounds.contains(click.first))
        return;
    // Without a player there is nobody to trim or tie: the click passes on.
    const std::optional<Plym::Math::Vector2> player = askPlayerPosition();
    if (!player)
        return;

    if (click.second)
    {
        if (mAttached)
        {
            mTethered = 0;
            mAttached = false;
            playSound("Woody::Untie", mPosition);
        }
        else if (!mTrimmed)
        {
            mTrimmed = true;
            playSound("Woody::Trim", mPosition);
        }
        message.handled = true;
    }
    else if ((*player - mPosition).getLength() < TieReach && mTethered == 0)
    {
        mTethered = 1;
        mAttached = true;
        playSound("Woody::Tie", mPosition);
        message.handled = true;
    }
}

void Woody::draw(const Tessaly::Message& message)
{
    Plym::Profiling::Block block("Woody::draw()");
    mRope = makeRope();
    if (isPulled())
        pullRope(mRope);
    finishFall();
    WorldPainter::draw(*this, boost::any_cast<const DrawEvent&>(message.payload));
}

bool Woody::isPulled() const
{
    return mAttached && mTrimmed;
}

sf::RectangleShape Woody::makeRope() const
{
    sf::RectangleShape rope(sf::Vector2f(0.f, 0.f));
    rope.setOutlineColor(sf::Color::Black);
    rope.setOutlineThickness(5.f);
    rope.setPosition(mPosition);
    return rope;
}

sf::FloatRect Woody::getPaintBounds() const
{
    placePictures();
    const Pictures& shared = pictures();
    const sf::FloatRect rope = (isPulled() ? mRope : makeRope()).getGlobalBounds();
    return Rects::unite(Rects::unite(shared.log.getGlobalBounds(), shared.crown.getGlobalBounds()),
                        Rects::unite(shared.branches.getGlobalBounds(), rope));
}

void Woody::paint(sf::RenderTarget& target, const sf::FloatRect& area) const
{
    // Finding the bounds places the shared pictures too.
    if (!getPaintBounds().intersects(area))
        return;
    Pictures& shared = pictures();
    const sf::RectangleShape rope = isPulled() ? mRope : makeRope();
    if (isPulled())
        target.draw(rope);
    target.draw(shared.log);
    if (mAlpha > 0)
    {
        const sf::Color faded(255, 255, 255, static_cast<sf::Uint8>(std::min(mAlpha, 255)));
        shared.crown.setColor(faded);
        shared.branches.setColor(faded);
        if (mDebranched)
            shared.branches.setTextureRect(StrippedBranchesRect);
        target.draw(shared.crown);
        target.draw(shared.branches);
        shared.branches.setTextureRect(BranchesRect);
        shared.crown.setColor(sf::Color::White);
        shared.branches.setColor(sf::Color::White);
    }
    target.draw(rope);
}

void Woody::pullRope(sf::RectangleShape& rope)
{
    const std::optional<Plym::Math::Vector2> player = askPlayerPosition();
    if (!player)
        return;
    const Plym::Math::Vector2 anchor = *player - Plym::Math::Vector2(45.f, 64.f);
    const Plym::Math::Vector2 offset = mPosition - anchor;
    const float distance = offset.getLength();
    const Plym::Math::Vector2 direction = offset.getNormalized();
    rope.setSize(sf::Vector2f(distance, 0.f));
    rope.setOrigin(distance / 2.f, 0.f);
    rope.setPosition(mPosition - direction * (distance / 2.f));
    rope.setRotation(Plym::Math::radToDeg(direction.getAngle()));
    if (distance > RopeLength)
        sendMessage("QEL.SetPosition", mPosition - direction * (distance - RopeLength));
}

void Woody::finishFall()
{
    if (mFallAngle >= LyingAngle && mFallAngle < 100.f)
    {
        // Lying flat before it moves: its clickable area is the log turned.
        pictures().forEach([](sf::Sprite& sprite) { sprite.setRotation(90.f); });
        sendMessage("QEL.SetPosition", mPosition + LyingOffset);
        mFallAngle = 1337.f;
    }
}

void Woody::placePictures() const
{
    Pictures& shared = pictures();
    shared.setRects();
    const float angle = mFallAngle;
    if (angle < LyingAngle)
    {
        const float turned = Plym::Math::degToRad(angle + 90.f);
        const sf::Vector2f pivot(mPosition.x + (1.f - std::cos(turned)) * 270.f - 270.f,
                                 mPosition.y + (1.f - std::sin(turned)) * 220.f - 360.f);
        shared.forEach([&](sf::Sprite& sprite) {
            sprite.setRotation(angle);
            sprite.setPosition(pivot);
        });
    }
    else
    {
        shared.forEach([this](sf::Sprite& sprite) {
            sprite.setRotation(90.f);
            sprite.setPosition(mPosition);
        });
    }
}

} // namespace QEL
