#ifndef QEL_BOT_BOTOPTIONS_HPP
#define QEL_BOT_BOTOPTIONS_HPP

#include <cstdint>
#include <string>

namespace QEL
{
namespace Bots
{

/// Settings of one bot run, from the command line.
struct BotOptions
{
    unsigned count = 4;
    double duration = 60.0;       ///< seconds; 0 runs until interrupted
    std::string host = "127.0.0.1";
    std::uint16_t port = 42242;
    bool chat = false;
    double chatEvery = 0.0;       ///< seconds between a bot's lines; 0 = now and then, about every 20 s
    bool quiet = false;           ///< no line per bot, only the summary
    std::uint32_t seed = 1;
    std::string prefix = "bot";   ///< bots are named prefix-1, prefix-2, ...
    bool spread = false;          ///< walk all over the island instead of near the centre
    std::string dataDir = ".";    ///< where the world map is, for spread bots

    /// Reads the command line; throws std::runtime_error naming the bad argument. Sets `help` on --help.
    static BotOptions parse(int argc, const char* const* argv, bool& help);

    static std::string usage();
};

} // namespace Bots
} // namespace QEL

#endif
