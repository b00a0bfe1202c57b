#include "tests/e2e/GameClient.hpp"
#include "tests/e2e/ServerProcess.hpp"
#include "tests/support/ChildProcess.hpp"
#include "tests/support/SilentServer.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

using namespace std::chrono_literals;
using namespace QEL::Testing;

namespace
{

/// Two bots that stay until they are killed, once the server has let both in.
std::unique_ptr<ChildProcess> startBots(ServerProcess& server)
{
    auto bots = std::make_unique<ChildProcess>(std::vector<std::string>{
        programPath("quelmoor-bot"), "--count", "2", "--duration", "0", "--server", server.getAddress()});
    for (const char* name : {"bot-1", "bot-2"})
    {
        if (!server.getProcess().waitForMatch(std::string("Player '") + name + "' \\(id \\d+\\) joined", 30s))
            ADD_FAILURE() << name << " did not join\n" << bots->getOutput();
    }
    return bots;
}

std::size_t count(const std::string& text, const std::string& part)
{
    std::size_t found = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++found;
    return found;
}

/// Waits until the output holds the text `times` times; false at the deadline.
bool waitForCount(const ChildProcess& process, const std::string& text, std::size_t times, std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (count(process.getOutput(), text) < times)
    {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

TEST(Reconnect, ARestartedServerIsFoundAgainWithEachBotOnceAndAWindowClosedDuringATryEndsAtOnce)
{
    auto server = std::make_unique<ServerProcess>();
    ASSERT_TRUE(server->waitUntilListening(30s)) << server->getProcess().getOutput();
    const std::uint16_t port = server->getPort();
    auto bots = startBots(*server);

    GameClient client(server->getAddress());
    ASSERT_TRUE(client.join("wanderer", 90s)) << client.getProcess().getOutput();
    ChildProcess& console = client.getProcess();
    ASSERT_TRUE(console.waitForOutput("Recieved info for existing player 'bot-2'.", 30s)) << console.getOutput();

    // The server goes away with its bots; the client plays on and tries again.
    server->getProcess().kill();
    bots->kill();
    const std::string firstTry = "Reconnecting to " + server->getAddress() + " (try 1)...";
    ASSERT_TRUE(console.waitForOutput(firstTry, 60s)) << console.getOutput();

    server = std::make_unique<ServerProcess>(port);
    ASSERT_TRUE(server->waitUntilListening(30s)) << server->getProcess().getOutput();
    bots = startBots(*server);
    // Tries come at most 30 s apart.
    ASSERT_TRUE(server->getProcess().waitForMatch("Player 'wanderer' \\(id \\d+\\) joined", 90s)) << console.getOutput();
    ASSERT_TRUE(console.waitForOutput("Removed 2 players of the lost connection\n", 30s)) << console.getOutput();
    // Each bot is announced once per connection, and on the second only after the figures of the first are gone.
    for (const std::string bot : {"'bot-1'", "'bot-2'"})
    {
        ASSERT_TRUE(waitForCount(console, "existing player " + bot, 2, 30s)) << console.getOutput();
        const std::string output = console.getOutput();
        EXPECT_EQ(count(output, "existing player " + bot), 2u) << output;
        EXPECT_GT(output.rfind("existing player " + bot), output.find("Removed 2 players")) << output;
    }

    // Gone again, and this time the port takes no connection: the window closes during the try.
    server->getProcess().kill();
    bots->kill();
    SilentServer silent(port);
    ASSERT_TRUE(silent.stopAnswering());
    ASSERT_TRUE(waitForCount(console, firstTry, 2, 60s)) << console.getOutput();
    const auto status = client.close(30s);
    ASSERT_TRUE(status.has_value()) << console.getOutput();
    EXPECT_EQ(*status, 0) << console.getOutput();
}

} // namespace
