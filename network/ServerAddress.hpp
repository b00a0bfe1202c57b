#ifndef QEL_NETWORK_SERVERADDRESS_HPP
#define QEL_NETWORK_SERVERADDRESS_HPP

#include "network/Endpoint.hpp"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace QEL
{
namespace Network
{

/// Where the game server is: the one chosen at start (--server), else QUELMOOR_SERVER=host[:port],
/// else the address built in.
class ServerAddress
{
public:
    static constexpr std::uint16_t DefaultPort = 42242;

    /// A server address the player gave that does not parse or resolve; the text names it
    /// as given (`given` is "QUELMOOR_SERVER=..." or "--server ...").
    class Unusable : public std::runtime_error
    {
    public:
        explicit Unusable(const std::string& given);
    };

    /// The chosen server, else QUELMOOR_SERVER, else the built-in address on the default port;
    /// a server not built in is announced on the console. Throws Unusable when the variable
    /// names no server.
    static Endpoint resolve();

    /// Makes `text` (host[:port]) the server to join, ahead of QUELMOOR_SERVER; `origin` says
    /// where it came from, for the console. Throws Unusable (naming `given`) when it names no server.
    static void choose(const std::string& text, const std::string& origin, const std::string& given);

    /// Throws Unusable when no server was chosen and QUELMOOR_SERVER is set but names no server;
    /// quiet otherwise.
    static void check();

    /// Reads "host" or "host:port" (port 1-65535); false when the host cannot be resolved or
    /// the port is not a number in range.
    static bool parse(const std::string& text, Endpoint& endpoint);

    /// The address the build was configured with, on the default port.
    static Endpoint getBuiltIn();

private:
    /// QUELMOOR_SERVER, or null when it is unset or empty.
    static const char* getVariable();

    /// The server QUELMOOR_SERVER names; throws Unusable when it names none.
    static Endpoint parseVariable(const char* value);
};

} // namespace Network
} // namespace QEL

#endif
