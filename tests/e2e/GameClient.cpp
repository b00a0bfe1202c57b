#include "tests/e2e/GameClient.hpp"

#include <algorithm>

namespace QEL
{
namespace Testing
{

const std::string GameClient::Title = "Quelmoor";

GameClient::GameClient(const std::string& server)
{
    mProcess = std::make_unique<ChildProcess>(
        std::vector<std::string>{programPath("quelmoor"), "--data-dir", programPath("../data")},
        std::map<std::string, std::string>{{"DISPLAY", mDisplay.getName()}, {"QUELMOOR_SERVER", server}, {"ALSOFT_DRIVERS", "null"}});
}

bool GameClient::join(const std::string& name, std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    if (!mProcess->waitForOutput("Please enter your preferred username: ", deadline))
        return false;
    mProcess->writeInput(name + "\n");
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    return mDisplay.waitForWindow(Title, std::max(left, std::chrono::milliseconds(0)));
}

bool GameClient::focus()
{
    return mDisplay.focusWindow(Title);
}

bool GameClient::pressKey(const std::string& key)
{
    return mDisplay.run("xdotool key " + key) == 0;
}

bool GameClient::holdKey(const std::string& key)
{
    return mDisplay.run("xdotool keydown " + key) == 0;
}

bool GameClient::releaseKey(const std::string& key)
{
    return mDisplay.run("xdotool keyup " + key) == 0;
}

bool GameClient::type(const std::string& text)
{
    return text.find('\'') == std::string::npos && mDisplay.run("xdotool type --delay 20 '" + text + "'") == 0;
}

bool GameClient::click(int x, int y, int button)
{
    const std::string window = mDisplay.findWindow(Title);
    return !window.empty() && mDisplay.run("xdotool mousemove --window " + window + " --sync " + std::to_string(x) + " " +
                                           std::to_string(y) + " click " + std::to_string(button)) == 0;
}

sf::Image GameClient::screenshot() const
{
    return mDisplay.screenshot(Title);
}

bool GameClient::waitForChatLines(unsigned lines, std::chrono::milliseconds deadline) const
{
    // Rows of the 800 x 600 window, 16 pixels apart going up from the newest line's top at 503;
    // text is drawn pure white there, which the grass and trees behind it never are.
    const auto shows = [](const sf::Image& shot, unsigned row) {
        int white = 0;
        for (unsigned y = 503 - 16 * row; y < 503 - 16 * row + 15 && y < shot.getSize().y; ++y)
            for (unsigned x = 0; x < std::min(400u, shot.getSize().x); ++x)
                white += shot.getPixel(x, y) == sf::Color::White;
        return white > 20;
    };
    const auto end = std::chrono::steady_clock::now() + deadline;
    do
    {
        const sf::Image shot = screenshot();
        unsigned row = 0;
        while (row < lines && shows(shot, row))
            ++row;
        if (row == lines)
            return true;
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

std::optional<int> GameClient::close(std::chrono::milliseconds deadline)
{
    if (!mDisplay.closeWindow(Title))
        return std::nullopt;
    return mProcess->waitForExit(deadline);
}

} // namespace Testing
} // namespace QEL
