#ifndef QEL_ACTORS_WOODY_HPP
#define QEL_ACTORS_WOODY_HPP

#include "app/Painting.hpp"
#include "ecs/Component.hpp"
#include "plym/core/Vector2.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RectangleShape.hpp>

#include <cstdint>
#include <optional>

namespace QEL
{

/// "QEL.Game.Woody": the trunk of a felled tree. It topples over to the right, then lies;
/// a right click trims its crown and branches (they fade out), a left click near it ties a
/// rope and the bare log follows the player at most 250 units behind.
class Woody : public Tessaly::Component, public Painting
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

    /// The log, the crown and branches while they show, and the rope.
    sf::FloatRect getPaintBounds() const override;
    void paint(sf::RenderTarget& target, const sf::FloatRect& area) const override;

private:
    void setPosition(const Tessaly::Message& message);
    void update(const Tessaly::Message& message);
    void click(Tessaly::Message& message);
    void draw(const Tessaly::Message& message);

    std::optional<Plym::Math::Vector2> askPlayerPosition();
    bool isPulled() const;
    /// The rope lying slack at the log.
    sf::RectangleShape makeRope() const;
    /// Stretches the rope to the player; a log further than the rope reaches is dragged along.
    void pullRope(sf::RectangleShape& rope);
    /// Once the log has toppled over, it lies where it fell.
    void finishFall();
    /// Sets the shared pictures where this log lies, turned as far as it has fallen.
    void placePictures() const;

    Plym::Math::Vector2 mPosition;
    sf::FloatRect mBounds;
    float mFallAngle;
    std::int32_t mAlpha;
    bool mDrawRequestPending;
    bool mAttached;
    bool mTrimmed;
    bool mDebranched;
    std::int32_t mTethered;
    sf::RectangleShape mRope;  ///< As the last frame pulled it.
};

} // namespace QEL

#endif
