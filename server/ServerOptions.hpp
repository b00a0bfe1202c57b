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
    std::size_t maxBacklog = 4 * 1024 * 1024;             ///< unsent bytes after which a reader counts as stuck

    // Connections that have not joined yet.
    std::chrono::milliseconds joinTimeout{5000};         ///< a connection must have joined by then
    std::size_t maxPending = 64;                          ///< connections not joined yet, in all
    std::size_t maxPendingPerAddress = 8;                 ///< the same, from one remote address

    // Chat.
    std::size_t chatLines = 5;                            ///< chat lines allowed per chatWindow
    std::chrono::milliseconds chatWindow{5000};
    std::size_t maxChatBytes = 1024;                      ///< longer lines are cut

    // World events.
    std::size_t maxWorldEvents = 65536;                   ///< world events remembered for late joiners
    std::uint32_t maxEntityId = 70000;                    ///< a 256 x 256 map holds at most a tree or cactus per tile
    double eventRate = 4.0;                               ///< world events per second one player may cause
    double eventBurst = 16.0;

    // Player stream.
    double streamRate = 12.0;                             ///< records per second relayed for one player
    double streamBurst = 6.0;
    double floodRate = 60.0;                              ///< records per second after which a player is dropped...
    double floodSeconds = 3.0;                            ///< ...when kept up for this long
    float interestRadius = 2500.f;                        ///< movement goes to players this near (map units)

    // Console.
    std::size_t logLines = 5;                             ///< lines of one kind per logInterval
    std::chrono::milliseconds logInterval{10000};

    /// Reads the command line; throws std::runtime_error with a message naming the bad argument.
    /// Sets `help` when --help was given.
    static ServerOptions parse(int argc, const char* const* argv, bool& help);

    /// The --help text.
    static std::string usage();
};

} // namespace Hosting
} // namespace QEL

#endif
