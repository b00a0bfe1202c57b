#ifndef QEL_APP_WINDOWMODE_HPP
#define QEL_APP_WINDOWMODE_HPP

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderWindow.hpp>

namespace QEL
{

/// How the game window is opened: a resizable window of the size it last had, or fullscreen
/// on the whole desktop; F11 switches between the two.
class WindowMode
{
public:
    WindowMode();

    /// Opens (or opens anew) the window in the current mode.
    void open(sf::RenderWindow& window) const;

    /// Switches between fullscreen and the window's last size, opening the window anew.
    void toggle(sf::RenderWindow& window);

    /// The size a resized window now has: the size to come back to from fullscreen. Ignored
    /// in fullscreen; false when nothing changed.
    bool noteResize(sf::Vector2u size);

    bool isFullscreen() const { return mFullscreen; }
    void setFullscreen(bool fullscreen) { mFullscreen = fullscreen; }

    sf::Vector2u getWindowedSize() const { return mWindowedSize; }
    void setWindowedSize(sf::Vector2u size) { mWindowedSize = size; }

private:
    bool mFullscreen = false;
    sf::Vector2u mWindowedSize;
    sf::Image mIcon;
};

} // namespace QEL

#endif
