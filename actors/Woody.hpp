#ifndef QEL_ACTORS_WOODY_HPP
#define QEL_ACTORS_WOODY_HPP

#include "ecs/Component.hpp"
#include "plym/core/Vector2.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <cstdint>
#include <optional>

namespace sf
{
class RectangleShape;
class RenderTarget;
} // namespace sf

namespace QEL
{

/// "QEL.Game.Woody": the trunk of a felled tree. It topples over to the right, then lies;
/// a right click trims its crown and branches (they fade out), a left click near it ties a
/// rope and the bare log follows the player at most 250 units behind.
class Woody : public Tessaly::Component
{
public:
    static constexpr float TieReach = 180.f;
    static constexpr float RopeLength = 250.f;
    static constexpr float FadePerSecond = 100.f;  // alpha of the trimmed crown and branches

    Woody();

    void addedToEntity() override;

    float getFallAngle() const { return mFallAngle; }
    int getAlpha() const { return mAlpha; }
    bool isAttached() const { return mAttached; }
    bool isTrimmed() const { return mTrimmed; }
    bool isDebranched() const { return mDebranched; }
    const Plym::Math::Vector2& getPosition() const { return mPosition; }
    const sf::FloatRect& getBounds() const { return mBounds; }

private:
    void setPosition(const Tessaly::Message& message);
    void update(const Tessaly::Message& message);
    void click(Tessaly::Message& message);
    void draw(const Tessaly::Message& message);

    std::optional<Plym::Math::Vector2> askPlayerPosition();
    void pullRope(sf::RectangleShape& rope);
    void placeFalling();

    Plym::Math::Vector2 mPosition;
    sf::FloatRect mBounds;
    float mFallAngle;
    std::int32_t mAlpha;
    bool mDrawRequestPending;
    bool mAttached;
    bool mTrimmed;
    bool mDebranched;
    std::int32_t mTethered;
};

} // namespace QEL

#endif
