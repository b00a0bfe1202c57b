#include "tests/support/VirtualDisplay.hpp"

#include <array>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace QEL
{
namespace Testing
{
namespace
{

bool displayFree(int number)
{
    return !std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock") &&
           !std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number));
}

} // namespace

VirtualDisplay::VirtualDisplay()
{
    for (int number = 90 + static_cast<int>(getpid() % 100); number < 400 && !mServer; ++number)
    {
        if (!displayFree(number))
            continue;
        mName = ":" + std::to_string(number);
        mServer = std::make_unique<ChildProcess>(
            std::vector<std::string>{"/usr/bin/Xvfb", mName, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number)) && std::chrono::steady_clock::now() < end)
        {
            if (mServer->waitForExit(std::chrono::milliseconds(50)))
            {
                mServer.reset();  // lost the race for this number: try the next one
                break;
            }
        }
    }
    if (!mServer)
        throw std::runtime_error("could not start Xvfb");
    mWindowManager = std::make_unique<ChildProcess>(std::vector<std::string>{"/usr/bin/openbox"},
                                                    std::map<std::string, std::string>{{"DISPLAY", mName}});
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (capture("wmctrl -m").find("Name:") == std::string::npos && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
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
