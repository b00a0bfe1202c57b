#ifndef QEL_ACTORS_ROADCURSOR_HPP
#define QEL_ACTORS_ROADCURSOR_HPP

#include "app/Painting.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Sprite.hpp>

namespace QEL
{

class RoadManager;

/// The half-transparent piece that follows the mouse over the tiles while roads are being
/// built. A drawing of its own: it moves while the roads stand still.
class RoadCursor : public Painting
{
public:
    /// Draws the piece `rect` of `texture` where the road manager's cursor is.
    RoadCursor(const RoadManager& roads, const sf::Texture& texture, const sf::IntRect& rect);

    /// Nothing outside the build mode.
    sf::FloatRect getPaintBounds() const override;
    void paint(sf::RenderTarget& target, const sf::FloatRect& area) const override;

private:
    sf::Sprite makeSprite() const;

    const RoadManager& mRoads;
    const sf::Texture& mTexture;
    sf::IntRect mRect;
};

} // namespace QEL

#endif
