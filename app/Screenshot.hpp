#ifndef QEL_APP_SCREENSHOT_HPP
#define QEL_APP_SCREENSHOT_HPP

#include <ctime>
#include <filesystem>

namespace sf
{
class RenderWindow;
}

namespace QEL
{

/// Pictures of what the game window shows, as PNG files named by the local date and time.
class Screenshot
{
public:
    /// Saves the frame drawn in the window and not yet displayed into `folder` (made when
    /// missing) as "quelmoor-YYYY-MM-DD_HH-MM-SS.png", with "-2", "-3", ... added when that
    /// name is taken. Returns the file's path; std::runtime_error saying why when it fails.
    static std::filesystem::path save(sf::RenderWindow& window, const std::filesystem::path& folder, std::time_t when);

    /// The first free file name in `folder` for a picture taken at `when`.
    static std::filesystem::path freeName(const std::filesystem::path& folder, std::time_t when);
};

} // namespace QEL

#endif
