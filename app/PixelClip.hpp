#ifndef QEL_APP_PIXELCLIP_HPP
#define QEL_APP_PIXELCLIP_HPP

#include <SFML/Graphics/Rect.hpp>

namespace sf
{
class RenderTarget;
}

namespace QEL
{

/// Keeps every draw on a target inside a rectangle of its pixels while it lives. It is
/// OpenGL's scissor test, which SFML leaves alone: unlike a view's viewport, it also spares
/// the software rasteriser the pixels of pictures reaching outside the rectangle.
class PixelClip
{
public:
    /// `pixels` counts from the target's top-left corner, as views do.
    PixelClip(sf::RenderTarget& target, const sf::IntRect& pixels);
    ~PixelClip();

    PixelClip(const PixelClip&) = delete;
    PixelClip& operator=(const PixelClip&) = delete;

private:
    sf::RenderTarget& mTarget;
};

} // namespace QEL

#endif
