#include "tests/server/ServerHarness.hpp"
#include "tests/server/TestClient.hpp"

#include "tools/bot/BotObserver.hpp"
#include "tools/bot/BotSwarm.hpp"
#include "tools/bot/LandMap.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <set>

using QEL::Bots::Bot;
using QEL::Bots::BotOptions;
using QEL::Bots::BotSwarm;
using QEL::Bots::LandMap;
using QEL::Testing::Received;
using QEL::Testing::ServerHarness;
using QEL::Testing::TestClient;
using Plym::Math::Vector3;

namespace
{

/// Notes everything the bots send and whose movements each of them hears.
class Recorder : public QEL::Bots::BotObserver
{
public:
    void beforeMove(Bot&, Vector3& position, Vector3& speed) override
    {
        sentPositions.push_back(position);
        sentSpeeds.push_back(speed);
    }

    void onPlayerMove(Bot& bot, std::uint32_t player, const Vector3&, const Vector3&) override
    {
        heard[bot.getName()].insert(player);
    }

    std::vector<Vector3> sentPositions;
    std::vector<Vector3> sentSpeeds;
    std::map<std::string, std::set<std::uint32_t>> heard;
};

BotOptions botOptions(std::uint16_t port)
{
    BotOptions options;
    options.count = 3;
    options.duration = 1.5;
    options.port = port;
    options.quiet = true;
    options.chat = true;
    return options;
}

} // namespace

TEST(Bots, JoinWalkNearTheCentreAndHearEachOther)
{
    ServerHarness server;
    TestClient watcher(server.getPort());
    ASSERT_TRUE(watcher.join("watcher"));

    BotSwarm swarm(botOptions(server.getPort()));
    Recorder recorder;
    swarm.setObserver(&recorder);
    swarm.run();

    EXPECT_EQ(swarm.getTotals().joins, 3u);
    ASSERT_FALSE(recorder.sentPositions.empty());
    const Vector3 centre(11520.f, 11520.f, 0.f);
    for (const Vector3& position : recorder.sentPositions)
        EXPECT_LE((position - centre).getLength(), Bot::RoamRadius + 1.f);
    for (const Vector3& speed : recorder.sentSpeeds)
        EXPECT_LE(speed.getLength(), Bot::WalkSpeed + 0.01f);
    for (const auto& bot : swarm.getBots())
        EXPECT_EQ(recorder.heard[bot->getName()].size(), 2u) << bot->getName();

    std::set<std::string> names;
    std::set<std::uint32_t> quits;
    while (quits.size() < 3)
    {
        const auto record = watcher.waitFor([](const Received& r) { return r.isPlayerInfo() || r.isPlayerQuit(); });
        ASSERT_TRUE(record);
        if (record->isPlayerInfo())
            names.insert(record->text);
        else
            quits.insert(record->id);
    }
    EXPECT_EQ(names, (std::set<std::string>{"bot-1", "bot-2", "bot-3"}));
}

TEST(Bots, SpreadAllOverTheIslandAndNeverIntoTheWater)
{
    // The bots' land is the game's: water round the island's rim, land at the centre.
    const LandMap land("Example Chunk.png");
    EXPECT_FALSE(land.isLand(Vector3(10.f, 10.f, 0.f)));
    EXPECT_FALSE(land.isLand(Vector3(23000.f, 23000.f, 0.f)));
    EXPECT_TRUE(land.isLand(Vector3(11520.f, 11520.f, 0.f)));
    EXPECT_FALSE(land.isLand(Vector3(-1.f, 11520.f, 0.f)));

    ServerHarness server;
    BotOptions options = botOptions(server.getPort());
    options.count = 12;
    options.spread = true;
    BotSwarm swarm(options);
    Recorder recorder;
    swarm.setObserver(&recorder);
    swarm.run();

    EXPECT_EQ(swarm.getTotals().joins, 12u);
    ASSERT_FALSE(recorder.sentPositions.empty());
    float west = 23040.f, east = 0.f, north = 23040.f, south = 0.f;
    for (const Vector3& position : recorder.sentPositions)
    {
        EXPECT_TRUE(land.isLand(position)) << position.x << ", " << position.y;
        west = std::min(west, position.x);
        east = std::max(east, position.x);
        north = std::min(north, position.y);
        south = std::max(south, position.y);
    }
    // Twelve bots anywhere on the island lie far apart, not within the centre's few tiles.
    EXPECT_GT(east - west, 4000.f);
    EXPECT_GT(south - north, 4000.f);
}

TEST(Bots, SpreadNeedsTheWorldMap)
{
    BotOptions options = botOptions(1);
    options.spread = true;
    options.dataDir = "no such folder";
    try
    {
        BotSwarm swarm(options);
        ADD_FAILURE() << "a swarm without its map";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Cannot read the world map 'no such folder/Example Chunk.png' for --spread; "
                                   "name the folder that holds it with --data-dir DIR");
    }
}

TEST(Bots, EndEarlyWhenNoneCanJoin)
{
    ServerHarness server;
    TestClient squatter(server.getPort());
    ASSERT_TRUE(squatter.join("bot-1"));

    BotOptions options = botOptions(server.getPort());
    options.count = 1;
    options.duration = 0;  // would run forever if the refusal were not noticed
    BotSwarm swarm(options);
    swarm.run();
    EXPECT_EQ(swarm.getTotals().joins, 0u);
    EXPECT_EQ(swarm.getBots().front()->getState(), Bot::State::Refused);
}
