#include "tests/support/ChildProcess.hpp"
#include "tests/support/VirtualDisplay.hpp"
#include "tests/plym/TempDirectory.hpp"

#include <SFML/Graphics/Image.hpp>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using QEL::Testing::ChildProcess;
using QEL::Testing::VirtualDisplay;

namespace
{

std::string clientPath()
{
    return QEL::Testing::programPath("quelmoor");
}

/// Runs the client to its end without a window; its exit status, with its whole output read.
std::optional<int> runAlone(ChildProcess& client)
{
    const auto status = client.waitForExit(60s);
    if (status)
        client.getWholeOutput();
    return status;
}

TEST(DesktopOptions, AWrongCommandLineStopsBeforeAnythingStarts)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus"}, "quelmoor: unknown option --bogus\nUsage: quelmoor [--server HOST[:PORT]]"},
        {{"--name", "tester", "--server"}, "quelmoor: the option --server needs a value\nUsage: "},
        {{"--server", "nohost.invalid"}, "Quelmoor stopped: --server nohost.invalid names no server"},
        {{"--server", "127.0.0.1:99999"}, "Quelmoor stopped: --server 127.0.0.1:99999 names no server"},
    };
    for (const auto& [options, text] : cases)
    {
        std::vector<std::string> arguments{clientPath()};
        arguments.insert(arguments.end(), options.begin(), options.end());
        ChildProcess client(arguments, {{"DISPLAY", ":0"}});
        const auto status = runAlone(client);
        ASSERT_TRUE(status.has_value()) << options.front();
        EXPECT_EQ(*status, 2) << client.getOutput();
        EXPECT_EQ(client.getOutput().find(text), 0u) << client.getOutput();
        EXPECT_EQ(client.getOutput().find("Plym engine started"), std::string::npos) << client.getOutput();
    }

    ChildProcess version({clientPath(), "--version"});
    EXPECT_EQ(runAlone(version), 0);
    EXPECT_EQ(version.getOutput(), "Quelmoor 0.2.1\n");
}

TEST(DesktopOptions, WithoutADisplayOneLineSaysSoBeforeThePrompt)
{
    for (const auto& [display, text] : std::vector<std::pair<std::string, std::string>>{
             {"", "Quelmoor stopped: cannot open a window: no display (DISPLAY is not set)\n"},
             {":97531", "Quelmoor stopped: cannot open a window: cannot connect to the X display \":97531\"\n"}})
    {
        ChildProcess client({clientPath(), "--data-dir", QEL::Testing::programPath("../data")}, {{"DISPLAY", display}});
        EXPECT_EQ(runAlone(client), 1);
        EXPECT_EQ(client.getOutput(), text);
    }
}

int countOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

/// White pixels of the notice's rows at the top middle of a picture.
int noticePixels(const sf::Image& picture)
{
    int white = 0;
    for (unsigned y = 8; y < 30 && y < picture.getSize().y; ++y)
        for (unsigned x = picture.getSize().x / 2 - 150; x < picture.getSize().x / 2 + 150; ++x)
            white += picture.getPixel(x, y) == sf::Color::White;
    return white;
}

/// The client on a private display with folders of its own for its settings and pictures.
class DesktopRun : public ::testing::Test
{
protected:
    /// Starts the client with these options and QUELMOOR_SERVER (empty counts as unset).
    void start(const std::vector<std::string>& options, const std::string& variable)
    {
        std::vector<std::string> arguments{clientPath(), "--data-dir", QEL::Testing::programPath("../data")};
        arguments.insert(arguments.end(), options.begin(), options.end());
        mClient = std::make_unique<ChildProcess>(
            arguments, std::map<std::string, std::string>{{"DISPLAY", mDisplay.getName()},
                                                          {"QUELMOOR_SERVER", variable},
                                                          {"XDG_CONFIG_HOME", mHome.file("config")},
                                                          {"XDG_PICTURES_DIR", mHome.file("pictures")}});
        ASSERT_TRUE(mDisplay.waitForWindow("Quelmoor", 60s)) << mClient->getOutput();
        ASSERT_TRUE(mDisplay.focusWindow("Quelmoor"));
    }

    bool waitForSize(const std::string& size)
    {
        const auto end = std::chrono::steady_clock::now() + 30s;
        while (std::chrono::steady_clock::now() < end)
        {
            if (mDisplay.capture("xdotool search --name '^Quelmoor$' getwindowgeometry").find(size) != std::string::npos)
                return true;
            std::this_thread::sleep_for(100ms);
        }
        return false;
    }

    /// Presses F12 and reads the picture it saved.
    sf::Image screenshot(int number)
    {
        EXPECT_EQ(mDisplay.run("xdotool key F12"), 0);
        const std::string said = "Screenshot saved to " + mHome.file("pictures/Quelmoor/quelmoor-");
        const auto end = std::chrono::steady_clock::now() + 30s;
        std::string output = mClient->getOutput();
        while (countOf(output, said) < number && std::chrono::steady_clock::now() < end)
        {
            std::this_thread::sleep_for(100ms);
            output = mClient->getOutput();
        }
        EXPECT_EQ(countOf(output, said), number) << output;
        const std::size_t start = output.rfind(said) + std::string("Screenshot saved to ").size();
        sf::Image picture;
        EXPECT_TRUE(picture.loadFromFile(output.substr(start, output.find('\n', start) - start))) << output;
        return picture;
    }

    std::optional<int> close()
    {
        EXPECT_TRUE(mDisplay.closeWindow("Quelmoor"));
        return mClient->waitForExit(60s);
    }

    PlymTest::TempDirectory mHome;
    VirtualDisplay mDisplay;
    std::unique_ptr<ChildProcess> mClient;
};

TEST_F(DesktopRun, F12SavesWhatTheWindowShowsAndSaysSoOnScreenAndTheServerIsKept)
{
    start({"--name", "tester", "--server", "127.0.0.1:1"}, "127.0.0.2:1");
    EXPECT_TRUE(mClient->waitForOutput("Using server 127.0.0.1:1 from --server\n", 30s)) << mClient->getOutput();
    const sf::Image picture = screenshot(1);
    ASSERT_EQ(picture.getSize(), sf::Vector2u(800, 600));
    // The world and the display are in it, the notice about it is not; the window shows the notice.
    const sf::Image shown = mDisplay.screenshot("Quelmoor");
    ASSERT_EQ(shown.getSize(), picture.getSize());
    int same = 0;
    for (unsigned y = 300; y < 600; ++y)
        for (unsigned x = 0; x < 800; ++x)
            same += picture.getPixel(x, y) == shown.getPixel(x, y);
    EXPECT_GT(same, 800 * 300 / 2);
    EXPECT_EQ(noticePixels(picture), 0);
    EXPECT_GT(noticePixels(shown), 50);

    EXPECT_EQ(close(), 0);
    EXPECT_EQ(mClient->getOutput().find("Please enter your preferred username"), std::string::npos);
    std::ifstream settings(mHome.path() / "config/quelmoor/settings.json");
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(settings), {}).find("\"server\": \"127.0.0.1:1\""), std::string::npos);
}

TEST_F(DesktopRun, F11GoesFullscreenAndBackToTheSizeTheSettingsKeptWithTheServer)
{
    std::filesystem::create_directories(mHome.path() / "config/quelmoor");
    std::ofstream(mHome.path() / "config/quelmoor/settings.json")
        << R"({"window": {"width": 640, "height": 480}, "server": "127.0.0.1:1"})";
    start({"--name", "tester"}, "");
    ASSERT_TRUE(waitForSize("640x480"));
    EXPECT_TRUE(mClient->waitForOutput("Using server 127.0.0.1:1 from the settings\n", 30s)) << mClient->getOutput();

    ASSERT_EQ(mDisplay.run("xdotool key F11"), 0);
    ASSERT_TRUE(waitForSize("1280x1024"));
    EXPECT_EQ(screenshot(1).getSize(), sf::Vector2u(1280, 1024));

    ASSERT_TRUE(mDisplay.focusWindow("Quelmoor"));
    ASSERT_EQ(mDisplay.run("xdotool key F11"), 0);
    ASSERT_TRUE(waitForSize("640x480"));
    EXPECT_EQ(screenshot(2).getSize(), sf::Vector2u(640, 480));
    EXPECT_EQ(close(), 0);
}

} // namespace
