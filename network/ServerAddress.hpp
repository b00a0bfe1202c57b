#ifndef QEL_NETWORK_SERVERADDRESS_HPP
#define QEL_NETWORK_SERVERADDRESS_HPP

#include "network/Endpoint.hpp"

#include <cstdint>
#include <string>

namespace QEL
{
namespace Network
{

/// Where the game server is: the address built in, or QUELMOOR_SERVER=host[:port] at run time.
class ServerAddress
{
public:
    static constexpr std::uint16_t DefaultPort = 42242;

    /// The built-in address on the default port, unless QUELMOOR_SERVER names a valid server;
    /// using the variable (or ignoring an unusable one) is announced on the console.
    static Endpoint resolve();

    /// Reads "host" or "host:port" (port 1-65535); false when the host cannot be resolved or
    /// the port is not a number in range.
    static bool parse(const std::string& text, Endpoint& endpoint);

    /// The address the build was configured with, on the default port.
    static Endpoint getBuiltIn();
};

} // namespace Network
} // namespace QEL

#endif
