#ifndef QEL_TESTS_E2E_GAMECLIENT_HPP
#define QEL_TESTS_E2E_GAMECLIENT_HPP

#include "tests/support/ChildProcess.hpp"
#include "tests/support/VirtualDisplay.hpp"

#include <SFML/Graphics/Image.hpp>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace QEL
{
namespace Testing
{

/// The real game client on a private display of its own, driven like a player drives it:
/// a name typed at the prompt, keys, mouse clicks and the window's close button.
class GameClient
{
public:
    /// Starts the client against the server at "host:port"; it waits at its name prompt.
    explicit GameClient(const std::string& server);

    /// Types the name at the prompt and waits until the window is up.
    bool join(const std::string& name, std::chrono::milliseconds deadline);

    /// Gives the window the keyboard.
    bool focus();

    /// Presses and releases keys (xdotool key names, e.g. "Return").
    bool pressKey(const std::string& key);
    bool holdKey(const std::string& key);
    bool releaseKey(const std::string& key);

    /// Types text as key strokes; quotes are not allowed in it.
    bool type(const std::string& text);

    /// Clicks the mouse button (1 left, 3 right) at a pixel of the window.
    bool click(int x, int y, int button);

    sf::Image screenshot() const;

    /// Waits until the chat history (above the button bar, bottom left) shows white text on
    /// each of its `lines` newest rows.
    bool waitForChatLines(unsigned lines, std::chrono::milliseconds deadline) const;

    /// Closes the window through the window manager; the exit status, nothing at the deadline.
    std::optional<int> close(std::chrono::milliseconds deadline);

    ChildProcess& getProcess() { return *mProcess; }
    const VirtualDisplay& getDisplay() const { return mDisplay; }

    static const std::string Title;

private:
    VirtualDisplay mDisplay;
    std::unique_ptr<ChildProcess> mProcess;
};

} // namespace Testing
} // namespace QEL

#endif
