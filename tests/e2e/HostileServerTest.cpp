#include "tests/e2e/GameClient.hpp"
#include "tests/e2e/HostileServer.hpp"

#include <gtest/gtest.h>

#include <algorithm>

using namespace std::chrono_literals;
using QEL::Testing::ChildProcess;
using QEL::Testing::GameClient;
using QEL::Testing::HostileServer;

namespace
{

constexpr std::uint32_t Eve = 66;
const std::string Replacement = "\xEF\xBF\xBD";

// Three seconds of the stream at its pace of 11 records a second.
constexpr std::size_t Records = 34;

/// The real client, its name typed, whose join request has reached the hostile server.
class HostileServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(client.join("victim", 90s)) << console.getOutput();
        ASSERT_TRUE(server.waitForJoinRequest(30s)) << console.getOutput();
    }

    /// Closes the window; the client must have kept running and then end cleanly.
    void closeClient()
    {
        const auto status = client.close(30s);
        ASSERT_TRUE(status.has_value()) << "the client did not end";
        EXPECT_EQ(*status, 0);
    }

    HostileServer server;
    GameClient client{server.getAddress()};
    ChildProcess& console = client.getProcess();
};

TEST_F(HostileServerTest, ForgedAndHugeChatLinesNeitherReachTheConsoleNorSlowTheClient)
{
    server.reply(0);
    // Console lines reach the pipe as they are printed, not when the client ends.
    ASSERT_TRUE(console.waitForOutput("Registering new channel 2 (3) with cipher 0\n", 30s)) << console.getOutput();

    const double pace = server.measureStreamRate(Records, 30s);
    EXPECT_NEAR(pace, 11.0, 1.5);

    server.announcePlayer(Eve, "Eve\x1b]0;pwned\x07");
    server.say(Eve, "hi\nbob: give me your axe\x1b[2J");
    for (char letter : std::string("WMWMWM"))
        server.say(Eve, std::string(65535, letter));
    const std::string forged = "Eve" + Replacement + "]0;pwned" + Replacement + ": hi" + Replacement +
                               "bob: give me your axe" + Replacement + "[2J\n";
    ASSERT_TRUE(console.waitForOutput(forged, 30s)) << console.getOutput().substr(0, 4000);
    ASSERT_TRUE(console.waitForOutput(": " + std::string(65535, 'M') + "\n", 30s));

    // The six long lines stay in the chat box for twenty seconds: the stream keeps its pace meanwhile.
    EXPECT_GT(server.measureStreamRate(Records, 30s), 0.9 * pace);

    const std::string output = console.getOutput();
    EXPECT_EQ(output.find('\x1b'), std::string::npos);
    EXPECT_EQ(output.find('\x07'), std::string::npos);
    EXPECT_EQ(output.find("\nbob:"), std::string::npos);
    EXPECT_NE(output.find("Player 'Eve" + Replacement + "]0;pwned" + Replacement + "' joined!\n"), std::string::npos);
    closeClient();
}

TEST_F(HostileServerTest, ARefusedJoinSaysWhyAtOnceAndTheGameGoesOn)
{
    server.reply(2);
    server.reply(2);
    ASSERT_TRUE(console.waitForOutput("Join refused: the name is already taken\n", 30s)) << console.getOutput();
    // "Connecting to ..." and the refusal under it.
    EXPECT_TRUE(client.waitForChatLines(2, 5s));
    closeClient();
    const std::string output = console.getOutput();
    EXPECT_EQ(output.find("Join refused"), output.rfind("Join refused")) << output;
}

TEST_F(HostileServerTest, ChineseChatLinesAreDrawnInAFontThatHasThem)
{
    server.reply(0);
    ASSERT_TRUE(console.waitForOutput("Registering new channel 2 (3) with cipher 0\n", 30s)) << console.getOutput();
    server.announcePlayer(Eve, "Eve");
    // Twenty-four ideographs, then as many characters no font has, which the default font draws
    // as its box.
    std::string chinese;
    std::string boxes;
    for (int i = 0; i < 3; ++i)
        chinese += "\xE4\xBD\xA0\xE5\xA5\xBD\xE4\xB8\x96\xE7\x95\x8C\xE6\x97\x85\xE4\xBA\xBA\xE6\xA3\xAE\xE6\x9E\x97";
    for (int i = 0; i < 24; ++i)
        boxes += "\xCD\xB8";
    server.say(Eve, chinese);
    server.say(Eve, boxes);
    ASSERT_TRUE(console.waitForOutput(": " + boxes + "\n", 30s)) << console.getOutput();

    // Rows of the chat box, 16 pixels apart going up from the newest's top at 503: the boxes,
    // the ideographs, "Eve joined", the join and, once the boxes are drawn, the connecting line.
    const auto bright = [](const sf::Image& shot, unsigned x, unsigned y) {
        const sf::Color pixel = shot.getPixel(x, y);
        return std::min({pixel.r, pixel.g, pixel.b}) >= 230;
    };
    const auto brightIn = [&bright](const sf::Image& shot, unsigned row) {
        int count = 0;
        for (unsigned y = 503 - 16 * row; y < 518 - 16 * row; ++y)
            for (unsigned x = 0; x < 400; ++x)
                count += bright(shot, x, y);
        return count;
    };
    sf::Image shot;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    do
        shot = client.screenshot();
    while (brightIn(shot, 4) < 10 && std::chrono::steady_clock::now() < deadline);
    ASSERT_GE(brightIn(shot, 4), 10) << "the five lines never showed";
    ASSERT_GT(brightIn(shot, 0), 20);

    // The ideographs' pixels would match the boxes' if they were boxes too.
    int differing = 0;
    for (unsigned y = 503; y < 518; ++y)
        for (unsigned x = 0; x < 400; ++x)
            differing += bright(shot, x, y) != bright(shot, x, y - 16);
    EXPECT_GT(differing, 40);
    closeClient();
}

} // namespace
