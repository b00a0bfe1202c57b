#ifndef QEL_WORLD_MINIMAP_HPP
#define QEL_WORLD_MINIMAP_HPP

#include "plym/core/Vector3.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/Vector2.hpp>

#include <string>

namespace QEL
{

/// The round map in the top-right corner of the screen: the 100 x 100 tiles around the
/// player cut from the map image (one pixel per tile), shaped by a mask, with an arrow in
/// its centre. The picture is kept in a render texture and rebuilt only on request.
class Minimap
{
public:
    static constexpr unsigned Size = 175;   ///< edge of the picture on screen, in pixels
    static constexpr int Tiles = 100;       ///< edge of the window, in tiles
    static constexpr float Margin = 12.f;   ///< gap to the top and right edges of the screen

    /// Reads the mask picture and creates the render texture.
    void create(const std::string& maskFile);

    /// Takes the map image whose pixels are the tiles.
    void setMap(const sf::Image& image);

    /// The top-left tile of the window around a world position.
    static sf::Vector2i getOrigin(const Plym::Math::Vector3& position);

    /// Draws the window starting at `origin` over the picture: the mask added, the map
    /// multiplied. The picture is not cleared first.
    void redraw(const sf::Vector2i& origin);

    /// Draws the picture and the arrow, turned by `angle` degrees, in the top-right corner
    /// of the target's current view.
    void draw(sf::RenderTarget& target, float angle) const;

private:
    sf::Texture mMask;
    sf::RenderTexture mPicture;
    sf::Texture mMap;
};

} // namespace QEL

#endif
