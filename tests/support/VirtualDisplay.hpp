#ifndef QEL_TESTS_VIRTUALDISPLAY_HPP
#define QEL_TESTS_VIRTUALDISPLAY_HPP

#include "tests/support/ChildProcess.hpp"

#include <SFML/Graphics/Image.hpp>

#include <chrono>
#include <memory>
#include <string>

namespace QEL
{
namespace Testing
{

/// A private X server (Xvfb) with a real window manager (openbox), so that a test can
/// drive a program's windows the way a person does: find them, type, close them.
class VirtualDisplay
{
public:
    VirtualDisplay();
    /// Ends the X server with a signal it answers by removing its lock file and socket.
    ~VirtualDisplay();

    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    /// The DISPLAY value of this server, e.g. ":93".
    const std::string& getName() const { return mName; }

    /// Waits until a window with exactly this title is mapped; false at the deadline.
    bool waitForWindow(const std::string& title, std::chrono::milliseconds deadline) const;

    /// Asks the window manager to close the window with this title (as its close button does).
    bool closeWindow(const std::string& title) const;

    /// The X id of the visible window with exactly this title, empty when there is none.
    std::string findWindow(const std::string& title) const;

    /// Has the window manager raise the window and give it the keyboard, as a click on it does.
    bool focusWindow(const std::string& title) const;

    /// What the window with this title shows now; an empty image when it cannot be read.
    sf::Image screenshot(const std::string& title) const;

    /// Runs a command with DISPLAY set to this server; its exit status.
    int run(const std::string& command) const;

    /// Runs a command with DISPLAY set to this server; what it printed.
    std::string capture(const std::string& command) const;

private:
    std::string mName;
    std::unique_ptr<ChildProcess> mServer;
    std::unique_ptr<ChildProcess> mWindowManager;
};

} // namespace Testing
} // namespace QEL

#endif
