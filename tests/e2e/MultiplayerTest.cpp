#include "tests/e2e/GameClient.hpp"
#include "tests/e2e/ServerProcess.hpp"
#include "tests/support/ChildProcess.hpp"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using QEL::Testing::ChildProcess;
using QEL::Testing::GameClient;
using QEL::Testing::ServerProcess;

namespace
{

TEST(Multiplayer, JoinsBesideBotsHearsThemAndLeavesWhenTheWindowCloses)
{
    ServerProcess server;
    ASSERT_TRUE(server.waitUntilListening(30s)) << server.getProcess().getOutput();

    ChildProcess bots({QEL::Testing::programPath("quelmoor-bot"), "--count", "2", "--chat-every", "2", "--duration", "0",
                       "--server", server.getAddress()});
    ASSERT_TRUE(server.getProcess().waitForMatch("Player 'bot-1' \\(id \\d+\\) joined", 30s)) << bots.getOutput();
    ASSERT_TRUE(server.getProcess().waitForMatch("Player 'bot-2' \\(id \\d+\\) joined", 30s)) << bots.getOutput();

    GameClient client(server.getAddress());
    ASSERT_TRUE(client.join("wanderer", 90s)) << client.getProcess().getOutput();
    ChildProcess& console = client.getProcess();

    EXPECT_TRUE(console.waitForOutput("Registering new channel 1 (255) with cipher 0\n", 30s)) << console.getOutput();
    EXPECT_TRUE(console.waitForOutput("Registering new channel 2 (3) with cipher 0\n", 30s)) << console.getOutput();
    // The bots were there first.
    EXPECT_TRUE(console.waitForOutput("Recieved info for existing player 'bot-1'.", 30s)) << console.getOutput();
    EXPECT_TRUE(console.waitForOutput("Recieved info for existing player 'bot-2'.", 30s)) << console.getOutput();
    EXPECT_TRUE(server.getProcess().waitForMatch("Player 'wanderer' \\(id \\d+\\) joined", 30s)) << server.getProcess().getOutput();

    // A bot's line shows on the console under the bot's name.
    EXPECT_TRUE(console.waitForMatch("(^|\n)bot-[12]: [A-Z][^\n]+\n", 30s)) << console.getOutput();

    const auto status = client.close(30s);
    ASSERT_TRUE(status.has_value()) << console.getOutput();
    EXPECT_EQ(*status, 0) << console.getOutput();
    EXPECT_TRUE(server.getProcess().waitForMatch("Player 'wanderer' \\(id \\d+\\) left", 30s)) << server.getProcess().getOutput();
}

} // namespace
