#ifndef QEL_ACTORS_SHEETPART_HPP
#define QEL_ACTORS_SHEETPART_HPP

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

namespace sf
{
class Image;
}

namespace QEL
{

/// A picture cut from a sheet: its texture rectangle and the origin it is drawn around.
struct SheetPart
{
    sf::IntRect rect;
    sf::Vector2f origin;

    /// The same picture without its fully transparent margins: a smaller rectangle with the
    /// origin moved so that every visible pixel lands where it did. Transparent pixels still
    /// cost their full price under a software rasteriser. Unchanged when the image does not
    /// cover the rectangle or nothing in it is visible.
    SheetPart trimmed(const sf::Image& image) const;
};

} // namespace QEL

#endif
