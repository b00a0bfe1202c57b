#include "tests/e2e/GameClient.hpp"
#include "tests/support/ChildProcess.hpp"
#include "tests/support/VirtualDisplay.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using QEL::Testing::ChildProcess;
using QEL::Testing::GameClient;
using QEL::Testing::VirtualDisplay;

namespace
{

std::string dataDirectory()
{
    return QEL::Testing::programPath("../data");
}

std::map<std::string, std::string> clientEnvironment(const VirtualDisplay& display)
{
    // Port 1 refuses at once: these tests need no server.
    return {{"DISPLAY", display.getName()}, {"QUELMOOR_SERVER", "127.0.0.1:1"}, {"ALSOFT_DRIVERS", "null"}};
}

TEST(Startup, PromptsOpensTheWindowAndExitsCleanlyWhenClosed)
{
    VirtualDisplay display;
    ChildProcess client({QEL::Testing::programPath("quelmoor"), "--data-dir", dataDirectory()}, clientEnvironment(display));

    ASSERT_TRUE(client.waitForOutput("Please enter your preferred username: ", 60s)) << client.getOutput();
    const std::string output = client.getOutput();
    const auto banner = output.find("Launching Quelmoor v0.2.1 client...\n");
    ASSERT_NE(banner, std::string::npos) << output;
    EXPECT_LT(banner, output.find("Please enter your preferred username: "));
    // The profiling report of start-up comes before the banner, the world and the snakes in it.
    EXPECT_LT(output.find("Loading world"), banner) << output;
    EXPECT_LT(output.find("Creating snakes"), banner) << output;

    client.writeInput("\n\n  tester  extra\n");
    ASSERT_TRUE(display.waitForWindow("Quelmoor", 60s)) << client.getOutput();
    const std::string geometry = display.capture("xdotool search --name '^Quelmoor$' getwindowgeometry");
    EXPECT_NE(geometry.find("800x600"), std::string::npos) << geometry;

    ASSERT_TRUE(display.closeWindow("Quelmoor"));
    const auto status = client.waitForExit(60s);
    ASSERT_TRUE(status.has_value()) << client.getOutput();
    EXPECT_EQ(*status, 0) << client.getOutput();
}

TEST(Startup, WithNoServerTheChatBoxSaysTheConnectionFailed)
{
    GameClient client("127.0.0.1:1");
    ASSERT_TRUE(client.join("tester", 60s)) << client.getProcess().getOutput();
    // "Connecting to ..." and the failure under it, well before the silence warning's fifteen seconds.
    EXPECT_TRUE(client.waitForChatLines(2, 5s));
    const auto status = client.close(60s);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
}

TEST(Startup, MissingPictureOrSoundStopsBeforeTheWindow)
{
    for (const std::string missing : {"tree.png", "TreeCrash.ogg"})
    {
        SCOPED_TRACE(missing);
        const fs::path copy = fs::temp_directory_path() / "quelmoor-missing-asset";
        fs::remove_all(copy);
        fs::copy(dataDirectory(), copy, fs::copy_options::recursive);
        fs::remove(copy / missing);

        VirtualDisplay display;
        ChildProcess client({QEL::Testing::programPath("quelmoor"), "--data-dir", copy.string()}, clientEnvironment(display));
        const auto status = client.waitForExit(60s);
        fs::remove_all(copy);

        ASSERT_TRUE(status.has_value());
        EXPECT_NE(*status, 0);
        const std::string output = client.getOutput();
        EXPECT_NE(output.find("ResourceManager::load - Failed to load from " + missing + "\nThe game reads its data files from " +
                              fs::canonical(fs::temp_directory_path()).string() + "/quelmoor-missing-asset; if one is missing "
                              "there, start it with --data-dir DIR"),
                  std::string::npos)
            << output;
        EXPECT_EQ(output.find("Please enter your preferred username: "), std::string::npos) << output;
        EXPECT_FALSE(display.waitForWindow("Quelmoor", 1s));
    }
}

TEST(Startup, AServerAddressThatNamesNoServerStopsBeforeThePrompt)
{
    for (const std::string address : {"nohost.invalid", "127.0.0.1:abc"})
    {
        VirtualDisplay display;
        auto environment = clientEnvironment(display);
        environment["QUELMOOR_SERVER"] = address;
        ChildProcess client({QEL::Testing::programPath("quelmoor"), "--data-dir", dataDirectory()}, environment);
        const auto status = client.waitForExit(60s);

        ASSERT_TRUE(status.has_value()) << address;
        EXPECT_EQ(*status, 2) << address;
        const std::string output = client.getOutput();
        const std::string line = "Quelmoor stopped: QUELMOOR_SERVER=" + address + " names no server";
        EXPECT_NE(output.find(line), std::string::npos) << output;
        EXPECT_EQ(output.find("Please enter your preferred username: "), std::string::npos) << output;
        EXPECT_EQ(output.find("Using server"), std::string::npos) << output;
        EXPECT_FALSE(display.waitForWindow("Quelmoor", 1s));
    }
}

} // namespace
