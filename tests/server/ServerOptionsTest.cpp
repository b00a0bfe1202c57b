#include "server/ServerOptions.hpp"
#include "tools/bot/BotOptions.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using QEL::Bots::BotOptions;
using QEL::Hosting::ServerOptions;

namespace
{

ServerOptions parseServer(std::vector<const char*> arguments, bool& help)
{
    arguments.insert(arguments.begin(), "quelmoor-server");
    return ServerOptions::parse(static_cast<int>(arguments.size()), arguments.data(), help);
}

BotOptions parseBots(std::vector<const char*> arguments)
{
    bool help = false;
    arguments.insert(arguments.begin(), "quelmoor-bot");
    return BotOptions::parse(static_cast<int>(arguments.size()), arguments.data(), help);
}

} // namespace

TEST(ServerOptions, ReadsTheCommandLine)
{
    bool help = true;
    ServerOptions options = parseServer({}, help);
    EXPECT_FALSE(help);
    EXPECT_EQ(options.port, 42242);
    EXPECT_EQ(options.bind, "0.0.0.0");

    options = parseServer({"--port", "4000", "--bind", "127.0.0.1", "--max-players", "3", "--quiet", "--idle-timeout",
                           "7", "--heartbeat", "2", "--flush-ms", "0", "--interest-radius", "2500"},
                          help);
    EXPECT_EQ(options.port, 4000);
    EXPECT_EQ(options.bind, "127.0.0.1");
    EXPECT_EQ(options.maxPlayers, 3u);
    EXPECT_TRUE(options.quiet);
    EXPECT_EQ(options.idleTimeout, std::chrono::seconds(7));
    EXPECT_EQ(options.heartbeatInterval, std::chrono::seconds(2));
    EXPECT_EQ(options.flushInterval, std::chrono::milliseconds(0));
    EXPECT_EQ(options.interestRadius, 2500.f);

    parseServer({"--help"}, help);
    EXPECT_TRUE(help);
}

TEST(ServerOptions, RefusesBadArguments)
{
    bool help = false;
    EXPECT_THROW(parseServer({"--port", "65536"}, help), std::runtime_error);
    EXPECT_THROW(parseServer({"--port", "-1"}, help), std::runtime_error);
    EXPECT_THROW(parseServer({"--port", "12ab"}, help), std::runtime_error);
    EXPECT_THROW(parseServer({"--max-players", "0"}, help), std::runtime_error);
    EXPECT_THROW(parseServer({"--interest-radius", "99"}, help), std::runtime_error);
    EXPECT_THROW(parseServer({"--port"}, help), std::runtime_error);
    EXPECT_THROW(parseServer({"--colour", "red"}, help), std::runtime_error);
}

TEST(BotOptions, ReadsTheCommandLine)
{
    BotOptions options = parseBots({"--count", "12", "--duration", "2.5", "--server", "localhost:4000", "--chat"});
    EXPECT_EQ(options.count, 12u);
    EXPECT_DOUBLE_EQ(options.duration, 2.5);
    EXPECT_EQ(options.host, "localhost");
    EXPECT_EQ(options.port, 4000);
    EXPECT_TRUE(options.chat);
    EXPECT_FALSE(options.spread);

    options = parseBots({"--spread", "--data-dir", "maps"});
    EXPECT_TRUE(options.spread);
    EXPECT_EQ(options.dataDir, "maps");
    options = parseBots({"--server", ":5000"});
    EXPECT_EQ(options.host, "127.0.0.1");
    EXPECT_EQ(options.port, 5000);
    options = parseBots({"--server", "example.invalid"});
    EXPECT_EQ(options.host, "example.invalid");
    EXPECT_EQ(options.port, 42242);

    EXPECT_THROW(parseBots({"--count", "0"}), std::runtime_error);
    EXPECT_THROW(parseBots({"--duration", "-3"}), std::runtime_error);
    EXPECT_THROW(parseBots({"--duration", "nan"}), std::runtime_error);
    EXPECT_THROW(parseBots({"--server", "host:"}), std::runtime_error);
    EXPECT_THROW(parseBots({"--prefix", ""}), std::runtime_error);
    EXPECT_THROW(parseBots({"--fly"}), std::runtime_error);
}
