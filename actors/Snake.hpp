#ifndef QEL_ACTORS_SNAKE_HPP
#define QEL_ACTORS_SNAKE_HPP

#include "app/Painting.hpp"
#include "ecs/Component.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include <cstdint>

namespace Plym
{
class Spritesheet;
}

namespace QEL
{

class Chunk;
class Physical;

/// "QEL.Game.Snake": a wandering creature that rests and crawls for random periods,
/// turns by a random angle after a random distance, stays on the map and sinks a
/// little into sand and water.
class Snake : public Tessaly::Component, public Painting
{
public:
    static constexpr float Speed = 48.f;

    /// The sheet and column that show a heading (degrees, 0 to 360).
    struct Facing
    {
        bool horizontal;
        std::uint8_t column;
    };
    static Facing facingFor(float heading);

    Snake();

    void addedToEntity() override;

    float getHeading() const { return mHeading; }
    float getTurnDistance() const { return mTurnDistance; }
    int getPhase() const { return mPhase; }
    int getSink() const { return mSink; }
    bool isHorizontal() const { return mHorizontal; }
    bool isMirrored() const { return mMirrored; }
    unsigned getColumn() const { return mColumn; }
    unsigned getRow() const { return mRow; }

    sf::FloatRect getPaintBounds() const override;
    void paint(sf::RenderTarget& target, const sf::FloatRect& area) const override;

private:
    /// The sprite of the current frame where the snake stands, before it sinks.
    sf::Sprite makeSprite() const;
    void onChunk(const Tessaly::Message& message);
    void onPhysical(const Tessaly::Message& message);
    void update(const Tessaly::Message& message);
    void draw(const Tessaly::Message& message);

    void crawlStep(float& x, float& y);
    void turn();
    void animate();

    Tessaly::RequestId mDrawRequestId;
    int mSink;
    float mHeading;
    float mTurnDistance;
    float mStateTimer;
    std::int8_t mPhase;
    std::uint8_t mColumn;
    std::uint8_t mRow;
    bool mHorizontal;
    float mAnimTimer;
    bool mMirrored;
    Plym::Spritesheet* mHorizontalSheet;
    Plym::Spritesheet* mVerticalSheet;
    Physical* mPhysical;
    Chunk* mChunk;
};

} // namespace QEL

#endif
