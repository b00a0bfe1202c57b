#include "app/WindowMode.hpp"

#include "app/Settings.hpp"

#include <algorithm>
#include <filesystem>

namespace QEL
{
namespace
{

// The picture the desktop shows for the window, from the data folder.
const char* const IconFile = "quelmoor.png";

} // namespace

WindowMode::WindowMode() : mWindowedSize(Settings::DefaultWindowSize)
{
    std::error_code missing;
    if (std::filesystem::exists(IconFile, missing))
        mIcon.loadFromFile(IconFile);
}

void WindowMode::open(sf::RenderWindow& window) const
{
    const sf::ContextSettings context(0, 0, 0, 2, 0);
    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    if (mFullscreen)
    {
        window.create(desktop, "Quelmoor", sf::Style::Fullscreen, context);
    }
    else
    {
        // A size remembered from a larger screen still fits on this one.
        const unsigned width = std::min(mWindowedSize.x, std::max(desktop.width, Settings::MinWindowSize.x));
        const unsigned height = std::min(mWindowedSize.y, std::max(desktop.height, Settings::MinWindowSize.y));
        window.create(sf::VideoMode(width, height, 32), "Quelmoor", sf::Style::Default, context);
    }
    if (mIcon.getSize().x > 0)
        window.setIcon(mIcon.getSize().x, mIcon.getSize().y, mIcon.getPixelsPtr());
}

void WindowMode::toggle(sf::RenderWindow& window)
{
    mFullscreen = !mFullscreen;
    open(window);
}

bool WindowMode::noteResize(sf::Vector2u size)
{
    if (mFullscreen || size == mWindowedSize)
        return false;
    mWindowedSize = size;
    return true;
}

} // namespace QEL
