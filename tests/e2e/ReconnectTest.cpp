#include "tests/e2e/GameClient.hpp"
#include "tests/e2e/ObserverClient.hpp"
#include "tests/e2e/ServerProcess.hpp"
#include "tests/e2e/WorldScene.hpp"
#include "tests/support/ChildProcess.hpp"
#include "tests/support/SilentServer.hpp"

#include <gtest/gtest.h>

#include <cmath>
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

/// Kills the server and its bots and waits until the port is free.
void stop(ServerProcess& server, ChildProcess& bots)
{
    server.getProcess().kill();
    bots.kill();
    EXPECT_TRUE(server.getProcess().waitForExit(30s).has_value());
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

// Observers stand where the server puts new players.
const sf::Vector2f Spawn(11520.f, 11520.f);

/// The middle of the crown of the tree nearest to the player whose crown he sees unhidden.
std::optional<WorldObject> findTreeInView(const WorldObjects& world, sf::Vector2f feet)
{
    std::optional<WorldObject> found;
    float nearest = 0.f;
    for (const WorldObject& tree : world.trees)
    {
        const sf::FloatRect crown(tree.position.x - 80.f, tree.position.y - 480.f, 160.f, 160.f);
        const float distance = std::hypot(tree.position.x - feet.x, tree.position.y - feet.y);
        const bool seen = inOpenView(toPixels(feet, crown)) && !coversMan(crown, feet, false) &&
                          !coversMan(crown, Spawn, true) && !hiddenByTrees(world, crown, tree.entity);
        if (seen && (!found || distance < nearest))
        {
            found = tree;
            nearest = distance;
        }
    }
    return found;
}

/// Takes screenshots until two in a row, half a second apart, show the area alike; the last one.
sf::Image waitForStillPicture(const GameClient& client, const sf::FloatRect& area)
{
    sf::Image last = client.screenshot();
    for (int i = 0; i < 60; ++i)
    {
        std::this_thread::sleep_for(500ms);
        sf::Image next = client.screenshot();
        const bool still = changedShare(last, next, area) < 0.01;
        last = next;
        if (still)
            break;
    }
    return last;
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
    stop(*server, *bots);
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
    stop(*server, *bots);
    SilentServer silent(port);
    ASSERT_TRUE(silent.stopAnswering());
    ASSERT_TRUE(waitForCount(console, firstTry, 2, 60s)) << console.getOutput();
    const auto status = client.close(30s);
    ASSERT_TRUE(status.has_value()) << console.getOutput();
    EXPECT_EQ(*status, 0) << console.getOutput();
}

// The server tells a joiner every tree felled so far; a tree this client saw fall before the
// loss neither stands up again nor drops a second trunk when the news comes once more.
TEST(Reconnect, ATreeFelledBeforeTheLossStaysFelledWhenTheServerTellsItAgain)
{
    auto server = std::make_unique<ServerProcess>();
    ASSERT_TRUE(server->waitUntilListening(30s)) << server->getProcess().getOutput();
    const std::uint16_t port = server->getPort();
    auto watcher = std::make_unique<ObserverClient>(port, "watcher");
    ASSERT_TRUE(watcher->waitJoined(30s));

    GameClient client(server->getAddress());
    std::string failure;
    const auto world = probeWorld(client, failure);
    ASSERT_TRUE(world && !world->trees.empty()) << failure;
    ASSERT_TRUE(client.join("wanderer", 90s)) << client.getProcess().getOutput();
    ChildProcess& console = client.getProcess();
    const auto player = watcher->waitForPlayer("wanderer", 30s);
    ASSERT_TRUE(player.has_value());
    const auto arrival = watcher->waitForStill(*player, 30s);
    ASSERT_TRUE(arrival.has_value());
    // Away from the spawn, where the watcher of the next server will stand, so nobody pushes him.
    const sf::Vector2f start = ground(arrival->position);
    const auto way = findWay(start, start + sf::Vector2f(0.f, 300.f), world->getObstacles(), {Spawn});
    ASSERT_TRUE(way.has_value()) << "no way from " << start.x << ", " << start.y;
    ASSERT_TRUE(client.focus());
    const auto still = walkWay(client, *watcher, *player, start, *way);
    ASSERT_TRUE(still.has_value());
    const sf::Vector2f feet = ground(still->position);
    const auto tree = findTreeInView(*world, feet);
    ASSERT_TRUE(tree.has_value()) << "no tree in view of " << feet.x << ", " << feet.y;
    const sf::FloatRect crown = toPixels(feet, {tree->position.x - 80.f, tree->position.y - 480.f, 160.f, 160.f});

    const sf::Image standing = client.screenshot();
    ASSERT_EQ(standing.getSize(), sf::Vector2u(800, 600));
    watcher->sendWorldEvent(tree->entity, "#REKT");
    ASSERT_GE(waitForChange(client, standing, crown, 0.4, 30s, "reconnect-felled"), 0.4);
    const sf::Image felled = waitForStillPicture(client, crown);

    // The new server has heard of the same fall and tells the client again when it rejoins.
    watcher.reset();
    server->getProcess().kill();
    ASSERT_TRUE(server->getProcess().waitForExit(30s).has_value());
    server = std::make_unique<ServerProcess>(port);
    ASSERT_TRUE(server->waitUntilListening(30s)) << server->getProcess().getOutput();
    watcher = std::make_unique<ObserverClient>(port, "watcher");
    ASSERT_TRUE(watcher->waitJoined(30s));
    watcher->sendWorldEvent(tree->entity, "#REKT");
    ASSERT_TRUE(server->getProcess().waitForMatch("Player 'wanderer' \\(id \\d+\\) joined", 90s)) << console.getOutput();
    ASSERT_TRUE(waitForCount(console, "existing player 'watcher'", 2, 30s)) << console.getOutput();

    // A second trunk would stand up in the crown's place and fall for a second and a half.
    for (int i = 0; i < 15; ++i)
    {
        const sf::Image now = client.screenshot();
        const double change = changedShare(felled, now, crown);
        EXPECT_LT(change, 0.05) << "picture " << i;
        if (change >= 0.05)
        {
            keepPicture(felled, "reconnect-before");
            keepPicture(now, "reconnect-after");
            break;
        }
        std::this_thread::sleep_for(200ms);
    }
    const auto status = client.close(30s);
    ASSERT_TRUE(status.has_value()) << console.getOutput();
    EXPECT_EQ(*status, 0) << console.getOutput();
}

} // namespace
