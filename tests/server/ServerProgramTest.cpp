#include "tests/server/TestClient.hpp"
#include "tests/support/ChildProcess.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

using QEL::Testing::ChildProcess;
using QEL::Testing::TestClient;

namespace
{

const std::chrono::milliseconds Patience(10000);

std::string programPath(const std::string& name)
{
    return std::string(QUELMOOR_PROGRAM_DIR) + "/" + name;
}

/// The port a server started with --port 0 reports; 0 when it has not said so.
std::uint16_t listeningPort(const ChildProcess& server)
{
    const std::string intro = "listening on 127.0.0.1:";
    const std::string output = server.getOutput();
    const std::size_t at = output.find(intro);
    return at == std::string::npos ? 0 : static_cast<std::uint16_t>(std::stoi(output.substr(at + intro.size())));
}

} // namespace

TEST(ServerProgram, ServesUntilTerminatedAndLogsEachPlayer)
{
    ChildProcess server({programPath("quelmoor-server"), "--port", "0", "--bind", "127.0.0.1"});
    ASSERT_TRUE(server.waitForOutput(" players)", Patience)) << server.getOutput();
    const std::uint16_t port = listeningPort(server);
    ASSERT_NE(port, 0) << server.getOutput();

    {
        TestClient player(port);
        ASSERT_TRUE(player.join("Ysolde"));
        EXPECT_TRUE(server.waitForOutput("Player 'Ysolde' (id 1) joined from 127.0.0.1:", Patience));
        player.sendLeave();
        EXPECT_TRUE(server.waitForOutput("Player 'Ysolde' (id 1) left", Patience));
        TestClient rude(port);
        ASSERT_TRUE(rude.join("Tamsin"));
        rude.sendRaw(std::string(8, '\xFF'));
        EXPECT_TRUE(server.waitForOutput("Player 'Tamsin' (id 2) dropped: oversized packet", Patience));
    }

    ::kill(server.getPid(), SIGTERM);
    EXPECT_EQ(server.waitForExit(Patience), 0);
    // The output pipe may still hold the last lines when the exit is seen.
    EXPECT_TRUE(server.waitForOutput("Quelmoor server stopped", Patience));
}

TEST(ServerProgram, ExplainsItsOptions)
{
    ChildProcess help({programPath("quelmoor-server"), "--help"});
    EXPECT_EQ(help.waitForExit(Patience), 0);
    EXPECT_TRUE(help.waitForOutput("--max-players", Patience));

    ChildProcess wrong({programPath("quelmoor-server"), "--port", "x"});
    EXPECT_EQ(wrong.waitForExit(Patience), 2);
    EXPECT_TRUE(wrong.waitForOutput("Invalid value for --port: 'x'", Patience));
}

TEST(BotProgram, PlaysAndSumsUp)
{
    ChildProcess server({programPath("quelmoor-server"), "--port", "0", "--bind", "127.0.0.1", "--quiet"});
    ASSERT_TRUE(server.waitForOutput(" players)", Patience)) << server.getOutput();
    const std::uint16_t port = listeningPort(server);
    ASSERT_NE(port, 0) << server.getOutput();

    ChildProcess bots({programPath("quelmoor-bot"), "--count", "2", "--duration", "1", "--server",
                       "127.0.0.1:" + std::to_string(port)});
    EXPECT_EQ(bots.waitForExit(Patience), 0);
    EXPECT_TRUE(bots.waitForOutput("2 of 2 bots joined", Patience)) << bots.getOutput();
    EXPECT_NE(bots.getOutput().find("bot-1 joined"), std::string::npos) << bots.getOutput();
    EXPECT_NE(bots.getOutput().find("bot-2 joined"), std::string::npos) << bots.getOutput();
}
