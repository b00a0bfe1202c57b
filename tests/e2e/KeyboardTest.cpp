#include "tests/e2e/GameClient.hpp"
#include "tests/e2e/ObserverClient.hpp"
#include "tests/e2e/ServerProcess.hpp"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using QEL::Testing::GameClient;
using QEL::Testing::ObserverClient;
using QEL::Testing::ServerProcess;

namespace
{

using Move = ObserverClient::Move;

TEST(Keyboard, HoldingDWalksRightAndReturnSendsEachTypedLineOnce)
{
    ServerProcess server;
    ASSERT_TRUE(server.waitUntilListening(30s)) << server.getProcess().getOutput();
    ObserverClient observer(server.getPort(), "watcher");
    ASSERT_TRUE(observer.waitJoined(30s));

    GameClient client(server.getAddress());
    ASSERT_TRUE(client.join("walker", 90s)) << client.getProcess().getOutput();
    const auto player = observer.waitForPlayer("walker", 30s);
    ASSERT_TRUE(player.has_value());
    // The man appears on top of the observer and stands still once their bodies have pushed apart.
    const auto start = observer.waitForStill(*player, 30s);
    ASSERT_TRUE(start.has_value()) << client.getProcess().getOutput();
    ASSERT_TRUE(client.focus());

    // Walking: the streamed position moves right while D is held, and the man stops once it is let go.
    const std::size_t pressed = observer.getMoveCount(*player);
    ASSERT_TRUE(client.holdKey("d"));
    const auto walking = observer.waitForMove(*player, [&](const Move& move) {
        return move.position.x > start->position.x + 90.f && move.speed.x > 100.f;
    }, 30s, pressed);
    ASSERT_TRUE(client.releaseKey("d"));
    ASSERT_TRUE(walking.has_value()) << "no rightward walk reported from x = " << start->position.x;
    EXPECT_NEAR(walking->position.y, start->position.y, 1.f);
    EXPECT_NEAR(walking->speed.y, 0.f, 1.f);
    const auto resting = observer.waitForStill(*player, 30s, observer.getMoveCount(*player));
    ASSERT_TRUE(resting.has_value()) << "the man did not stop after D was released";
    EXPECT_GT(resting->position.x, walking->position.x);

    // Chat: two lines, with an empty one between that must send nothing. D held down while
    // typing starts the first line's text and must not move the man.
    ASSERT_TRUE(client.pressKey("Return"));
    ASSERT_TRUE(client.holdKey("d"));
    ASSERT_TRUE(client.type("ream on"));
    ASSERT_TRUE(client.releaseKey("d"));
    ASSERT_TRUE(client.pressKey("Return"));
    ASSERT_TRUE(client.pressKey("Return"));
    ASSERT_TRUE(client.pressKey("Return"));
    ASSERT_TRUE(client.pressKey("Return"));
    ASSERT_TRUE(client.type("hello there"));
    ASSERT_TRUE(client.pressKey("Return"));

    ASSERT_TRUE(observer.waitForChat(2, 30s)) << client.getProcess().getOutput();
    const auto chat = observer.getChat();
    ASSERT_EQ(chat.size(), 2u);
    EXPECT_EQ(chat[0].speaker, *player);
    EXPECT_EQ(chat[0].text, "dream on");
    EXPECT_EQ(chat[1].speaker, *player);
    EXPECT_EQ(chat[1].text, "hello there");

    ASSERT_TRUE(client.getProcess().waitForOutput("walker: dream on\n", 30s)) << client.getProcess().getOutput();
    ASSERT_TRUE(client.getProcess().waitForOutput("walker: hello there\n", 30s)) << client.getProcess().getOutput();
    const auto latest = observer.waitForLatestMove(*player, 30s);
    ASSERT_TRUE(latest.has_value());
    EXPECT_NEAR(latest->position.x, resting->position.x, 1.f);

    const auto status = client.close(30s);
    ASSERT_TRUE(status.has_value()) << client.getProcess().getOutput();
    EXPECT_EQ(*status, 0) << client.getProcess().getOutput();
    EXPECT_TRUE(observer.waitForQuit(*player, 30s));
}

} // namespace
