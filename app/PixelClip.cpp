#include "app/PixelClip.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/OpenGL.hpp>

namespace QEL
{

PixelClip::PixelClip(sf::RenderTarget& target, const sf::IntRect& pixels) :
mTarget(target)
{
    // OpenGL counts rows from the bottom, as SFML does when it sets a viewport.
    const int bottom = static_cast<int>(target.getSize().y) - (pixels.top + pixels.height);
    if (target.setActive(true))
    {
        glEnable(GL_SCISSOR_TEST);
        glScissor(pixels.left, bottom, pixels.width, pixels.height);
    }
}

PixelClip::~PixelClip()
{
    if (mTarget.setActive(true))
        glDisable(GL_SCISSOR_TEST);
}

} // namespace QEL
