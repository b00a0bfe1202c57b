#include "tests/support/VirtualDisplay.hpp"

#include <array>
#include <cstdio>
#include <regex>
#include <stdexcept>
#include <thread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <sys/wait.h>

namespace QEL
{
namespace Testing
{
namespace
{

/// Xlib's own handler ends the process on any error; a window that went away or lies partly
/// off screen only makes the screenshot fail.
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

/// One colour channel of a pixel value; the mask tells where the channel sits.
sf::Uint8 channel(unsigned long value, unsigned long mask)
{
    while (mask && !(mask & 1))
    {
        mask >>= 1;
        value >>= 1;
    }
    return static_cast<sf::Uint8>((value & mask) * 255 / (mask ? mask : 1));
}

sf::Image toImage(XImage& pixels)
{
    sf::Image image;
    image.create(static_cast<unsigned>(pixels.width), static_cast<unsigned>(pixels.height));
    for (int y = 0; y < pixels.height; ++y)
    {
        for (int x = 0; x < pixels.width; ++x)
        {
            const unsigned long value = XGetPixel(&pixels, x, y);
            image.setPixel(static_cast<unsigned>(x), static_cast<unsigned>(y),
                           sf::Color(channel(value, pixels.red_mask), channel(value, pixels.green_mask),
                                     channel(value, pixels.blue_mask)));
        }
    }
    return image;
}

} // namespace

VirtualDisplay::VirtualDisplay()
{
    // The server picks a free display number itself and prints it once it listens; it also
    // clears the lock files that servers killed earlier left behind.
    mServer = std::make_unique<ChildProcess>(std::vector<std::string>{
        "/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
    const std::string numberLine = "(^|\n)([0-9]+)\n";
    if (!mServer->waitForMatch(numberLine, std::chrono::seconds(10)))
        throw std::runtime_error("could not start Xvfb: " + mServer->getOutput());
    std::smatch number;
    const std::string output = mServer->getOutput();
    std::regex_search(output, number, std::regex(numberLine));
    mName = ":" + number[2].str();
    // A window manager started too early gives up: wait for a client to get through, and
    // restart the manager if needed.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (run("xdpyinfo >/dev/null 2>&1") != 0 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    while (capture("wmctrl -m").find("Name:") == std::string::npos && std::chrono::steady_clock::now() < end)
    {
        if (!mWindowManager || mWindowManager->waitForExit(std::chrono::milliseconds(0)))
            mWindowManager = std::make_unique<ChildProcess>(std::vector<std::string>{"/usr/bin/openbox"},
                                                            std::map<std::string, std::string>{{"DISPLAY", mName}});
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

VirtualDisplay::~VirtualDisplay()
{
    mWindowManager.reset();
    mServer->stop(std::chrono::seconds(5));
}

bool VirtualDisplay::waitForWindow(const std::string& title, std::chrono::milliseconds deadline) const
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    do
    {
        if (run("xdotool search --onlyvisible --name '^" + title + "$' >/dev/null 2>&1") == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

bool VirtualDisplay::closeWindow(const std::string& title) const
{
    return run("wmctrl -F -c '" + title + "'") == 0;
}

std::string VirtualDisplay::findWindow(const std::string& title) const
{
    const std::string found = capture("xdotool search --onlyvisible --name '^" + title + "$'");
    return found.substr(0, found.find('\n'));
}

bool VirtualDisplay::focusWindow(const std::string& title) const
{
    const std::string window = findWindow(title);
    if (window.empty())
        return false;
    // A window the manager is still busy placing may ignore the first request.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    do
    {
        run("xdotool windowactivate --sync " + window + " >/dev/null 2>&1");
        if (capture("xdotool getwindowfocus") == window + "\n")
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

sf::Image VirtualDisplay::screenshot(const std::string& title) const
{
    sf::Image image;
    const std::string window = findWindow(title);
    Display* display = window.empty() ? nullptr : XOpenDisplay(mName.c_str());
    if (!display)
        return image;
    const auto previousHandler = XSetErrorHandler(ignoreXError);
    const Window id = std::stoul(window);
    XWindowAttributes attributes;
    XImage* pixels = nullptr;
    if (XGetWindowAttributes(display, id, &attributes))
        pixels = XGetImage(display, id, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (pixels)
    {
        image = toImage(*pixels);
        XDestroyImage(pixels);
    }
    XCloseDisplay(display);
    XSetErrorHandler(previousHandler);
    return image;
}

int VirtualDisplay::run(const std::string& command) const
{
    const std::string line = "DISPLAY=" + mName + " " + command;
    const int status = std::system(line.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string VirtualDisplay::capture(const std::string& command) const
{
    const std::string line = "DISPLAY=" + mName + " " + command + " 2>/dev/null";
    std::string output;
    if (FILE* pipe = popen(line.c_str(), "r"))
    {
        std::array<char, 256> buffer;
        while (fgets(buffer.data(), buffer.size(), pipe))
            output += buffer.data();
        pclose(pipe);
    }
    return output;
}

} // namespace Testing
} // namespace QEL
