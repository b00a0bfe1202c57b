#ifndef QEL_ACTORS_CACTUS_HPP
#define QEL_ACTORS_CACTUS_HPP

#include "app/Painting.hpp"
#include "ecs/Component.hpp"
#include "plym/core/Vector2.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <cstdint>

namespace sf
{
class Texture;
}

namespace Plym
{
class Spritesheet;
}

namespace QEL
{

class Physical;

/// "QEL.Game.Cactus": a column of stem pieces with a top and two arms, carrying a rosebud
/// that a right click picks (and tells the other players). A static collision body.
class Cactus : public Tessaly::Component, public Painting
{
public:
    Cactus();

    void addedToEntity() override;

    unsigned getSegments() const { return mSegments; }
    bool isPicked() const { return mPicked; }
    const sf::FloatRect& getBounds() const { return mBounds; }

    sf::FloatRect getPaintBounds() const override;
    bool isMoving() const override;
    /// Picked or not.
    std::uint64_t getLook() const override;
    void paint(sf::RenderTarget& target, const sf::FloatRect& area) const override;

private:
    void setPosition(const Tessaly::Message& message);
    void click(Tessaly::Message& message);
    void draw(const Tessaly::Message& message);
    void pick();

    std::uint8_t mSegments;
    Physical* mPhysical;
    Plym::Spritesheet* mSheet;
    sf::Texture* mShadowTexture;
    Plym::Math::Vector2 mPosition;
    sf::FloatRect mBounds;         ///< Where a click reaches it.
    sf::FloatRect mPictureBounds;  ///< What it draws.
    bool mPicked;
};

} // namespace QEL

#endif
