#ifndef QEL_APP_VIEWRULES_HPP
#define QEL_APP_VIEWRULES_HPP

#include <SFML/Graphics/View.hpp>
#include <SFML/System/Vector2.hpp>

namespace QEL
{
namespace ViewRules
{

/// Keeps the world view's height, follows the window's aspect and bounds the view's
/// diagonal to [1000, 4000] world units.
void fitToWindow(sf::View& view, sf::Vector2u windowSize);

/// The world point under a window pixel.
sf::Vector2f pixelToWorld(const sf::View& view, sf::Vector2i pixel, sf::Vector2u windowSize);

/// The camera centre for a focus point: never closer to the world border than half the view.
sf::Vector2f clampCamera(sf::Vector2f focus, sf::Vector2f viewSize, float worldSize);

/// The camera centre moved by less than a pixel so that the view's edges fall on the same
/// place within a window pixel, the one that keeps pixel centres clear of the texel borders of
/// the world's pictures (see TexelGrid): the world does not shimmer as the camera glides, and
/// cached pictures of the world line up with what is drawn afresh. At the border of a world
/// `worldSize` across it moves inward: the view never shows beyond the world.
sf::Vector2f snapToPixels(sf::Vector2f centre, sf::Vector2f viewSize, sf::Vector2u windowSize, float worldSize);

/// The rectangle of the world (or screen) seen through a view.
sf::FloatRect visibleRect(const sf::View& view);

} // namespace ViewRules
} // namespace QEL

#endif
