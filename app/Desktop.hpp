#ifndef QEL_APP_DESKTOP_HPP
#define QEL_APP_DESKTOP_HPP

#include "app/KeyLatch.hpp"
#include "app/ScreenNotice.hpp"
#include "app/Settings.hpp"
#include "app/WindowMode.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

#include <filesystem>
#include <optional>
#include <string>

namespace Plym
{
class InputManager;
}

namespace QEL
{

/// What makes the game a desktop program: the settings it keeps between runs, the player's
/// key binds, fullscreen (F11) and screenshots (F12). Without a settings folder it keeps
/// nothing and the game starts as it always did.
class Desktop
{
public:
    static constexpr float SaveInterval = 1.f;    ///< seconds between two writes of changed settings

    Desktop();
    /// Writes the settings that changed since the last write.
    ~Desktop();

    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    /// Reads settings.json (the volume step is applied at once) and binds.json from `folder`,
    /// and writes the settings there from now on whenever one changes.
    void useFolder(const std::filesystem::path& folder, Plym::InputManager& input);

    /// Fullscreen for this run, whatever the settings say.
    void startFullscreen() { mMode.setFullscreen(true); }

    /// The server chosen at start, kept for the next runs.
    void rememberServer(const std::string& server);

    const Settings& getSettings() const { return mSettings; }

    /// Where screenshots go (by default the player's picture folder).
    void setPictureFolder(const std::filesystem::path& folder) { mPictures = folder; }

    void openWindow(sf::RenderWindow& window) const { mMode.open(window); }

    /// Resizes, F11 and F12. True when the window was opened anew: the views must follow its size.
    bool handle(sf::RenderWindow& window, const sf::Event& event);

    /// Before the frame is displayed: takes the screenshot asked for, draws the notice in the
    /// current view and writes changed settings. `seconds` is the time since the last frame.
    void finishFrame(sf::RenderWindow& window, float seconds);

private:
    void takeScreenshot(sf::RenderWindow& window);
    void save();

    Settings mSettings;
    std::optional<std::filesystem::path> mFile;
    std::optional<std::filesystem::path> mPictures;
    WindowMode mMode;
    KeyLatch mFullscreenKey{sf::Keyboard::F11};
    KeyLatch mScreenshotKey{sf::Keyboard::F12};
    ScreenNotice mNotice;
    bool mScreenshotWanted = false;
    bool mChanged = false;
    bool mSaveFailed = false;
    float mSinceSave = 0.f;
};

} // namespace QEL

#endif
