#include "tests/server/ServerFixture.hpp"

#include "server/World.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>

using QEL::Hosting::ServerOptions;
using QEL::Hosting::World;
using QEL::Testing::Received;
using QEL::Testing::ServerHarness;
using QEL::Testing::TestClient;
using Plym::Math::Vector3;

namespace
{

class InterestTest : public QEL::Testing::ServerFixture
{
protected:
    void SetUp() override
    {
        ServerOptions options = ServerHarness::testOptions();
        options.interestRadius = 1000.f;
        start(options);
    }

    /// Checks the next movement `observer` hears of `player`.
    static void expectMove(TestClient& observer, std::uint32_t player, const Vector3& position, const Vector3& speed)
    {
        const auto move = observer.waitFor([player](const Received& r) { return r.isPlayerMove() && r.id == player; });
        ASSERT_TRUE(move) << "no movement of player " << player;
        EXPECT_EQ(move->position, position) << player;
        EXPECT_EQ(move->speed, speed) << player;
    }

    const Vector3 mCentre = World::SpawnPosition;
    const Vector3 mStill;
};

} // namespace

TEST_F(InterestTest, MovementReachesOnlyPlayersNearbyWhileEverythingElseStaysGlobal)
{
    auto ann = joined("ann");
    auto bram = joined("bram");
    const std::uint32_t bramId = idOf(*ann, "bram");
    const std::uint32_t annId = idOf(*bram, "ann");
    const Vector3 annSpeed(3.f, 4.f, 0.f);
    ann->sendMove(mCentre, annSpeed);
    EXPECT_TRUE(bram->waitFor([&](const Received& r) { return r.isPlayerMove() && r.speed == annSpeed; }));

    // Bram walks away: each side sees the other stop where it was last known to be.
    const Vector3 far = mCentre + Vector3(5000.f, 0.f, 0.f);
    bram->sendMove(far, Vector3(270.f, 0.f, 0.f));
    expectMove(*ann, bramId, far, mStill);
    expectMove(*bram, annId, mCentre, mStill);

    // Far away his moves are not relayed; his chat, world events and the newcomers are.
    bram->sendMove(far + Vector3(100.f, 0.f, 0.f), Vector3(270.f, 0.f, 0.f));
    bram->sendMove(far + Vector3(200.f, 0.f, 0.f), Vector3(270.f, 0.f, 0.f));
    bram->sendEntityMessage(7, "#REKT");
    bram->sendChat("far away");
    std::size_t events = 0;
    for (const Received& record : readUntilChat(*ann, "far away"))
    {
        EXPECT_FALSE(record.isPlayerMove()) << record.id;
        events += record.isEntityMessage() ? 1 : 0;
    }
    EXPECT_EQ(events, 1u);
    auto cora = joined("cora");
    EXPECT_EQ(idOf(*bram, "cora"), idOf(*ann, "cora"));

    // Bram comes back: he learns at once where Ann is and how she moves, though she sent nothing.
    const Vector3 near = mCentre + Vector3(900.f, 0.f, 0.f);
    const Vector3 bramSpeed(-270.f, 0.f, 0.f);
    bram->sendMove(near, bramSpeed);
    expectMove(*bram, annId, mCentre, annSpeed);
    expectMove(*ann, bramId, near, bramSpeed);

    bram->sendLeave();
    const auto quit = ann->waitFor([](const Received& r) { return r.isPlayerQuit(); });
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->id, bramId);
}

TEST_F(InterestTest, ANewcomerLearnsWhoIsNearTheCentreAndWhereEveryoneIs)
{
    auto ann = joined("ann");
    auto bram = joined("bram");
    idOf(*ann, "bram");
    const Vector3 annSpeed(0.f, -270.f, 0.f);
    const Vector3 nearby = mCentre + Vector3(0.f, 600.f, 0.f);
    const Vector3 far = mCentre + Vector3(-4000.f, 3000.f, 0.f);
    ann->sendMove(nearby, annSpeed);
    bram->sendMove(far, Vector3(1.f, 1.f, 0.f));
    ann->sendChat("placed");
    bram->sendChat("placed too");
    ASSERT_FALSE(readUntilChat(*bram, "placed").empty());
    ASSERT_FALSE(readUntilChat(*ann, "placed too").empty());

    // Until its first move a newcomer stands at the centre, where everybody is told it is.
    auto cora = joined("cora");
    std::map<std::string, Vector3> told;
    std::map<std::uint32_t, std::string> names;
    for (int i = 0; i < 2; ++i)
    {
        const auto info = cora->next();
        ASSERT_TRUE(info && info->isPlayerInfo());
        told[info->text] = info->position;
        names[info->id] = info->text;
    }
    EXPECT_EQ(told["ann"], nearby);
    EXPECT_EQ(told["bram"], far);
    const auto move = cora->next();
    ASSERT_TRUE(move && move->isPlayerMove());
    EXPECT_EQ(names[move->id], "ann");
    EXPECT_EQ(move->position, nearby);
    EXPECT_EQ(move->speed, annSpeed);
    const auto joinedInfo = ann->waitFor([](const Received& r) { return r.isPlayerInfo() && r.text == "cora"; });
    ASSERT_TRUE(joinedInfo);
    EXPECT_EQ(joinedInfo->position, mCentre);

    // Nothing of Bram's far walk reaches her.
    bram->sendChat("marker");
    for (const Received& record : readUntilChat(*cora, "marker"))
        EXPECT_FALSE(record.isPlayerMove()) << names[record.id];
}
