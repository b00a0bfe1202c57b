#ifndef QEL_SERVER_SERVEROPTIONS_HPP
#define QEL_SERVER_SERVEROPTIONS_HPP

#include <chrono>
#include <cstdint>
#include <string>

namespace QEL
{
namespace Hosting
{

/// Settings of one server run: the command line plus the limits tests shorten.
struct ServerOptions
{
    std::string bind = "0.0.0.0";
    std::uint16_t port = 42242;                           ///< 0 picks a free port
    std::size_t maxPlayers = 64;
    bool quiet = false;                                   ///< no per-player console lines
    std::chrono::milliseconds idleTimeout{30000};        ///< silence after which a client is dropped
    std::chrono::milliseconds heartbeatInterval{5000};   ///< ChannelNotice period
    std::chrono::milliseconds flushInterval{5};           ///< outgoing records gather this long at most
    std::size_t chatLines = 5;                            ///< chat lines allowed per chatWindow
    std::chrono::milliseconds chatWindow{5000};
    std::size_t maxWorldEvents = 65536;                   ///< world events remembered for late joiners
    std::size_t maxBacklog = 4 * 1024 * 1024;             ///< unsent bytes after which a reader counts as stuck

    /// Reads the command line; throws std::runtime_error with a message naming the bad argument.
    /// Sets `help` when --help was given.
    static ServerOptions parse(int argc, const char* const* argv, bool& help);

    /// The --help text.
    static std::string usage();
};

} // namespace Hosting
} // namespace QEL

#endif
