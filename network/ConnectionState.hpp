#ifndef QEL_NETWORK_CONNECTIONSTATE_HPP
#define QEL_NETWORK_CONNECTIONSTATE_HPP

#include <cstdint>

namespace QEL
{
namespace Network
{

/// Where the client stands with the server; the numbers order the states for Client::setState.
enum ConnectionState : std::int32_t
{
    Failed = -1,
    Idle = 0,
    Connecting = 1,
    Joined = 2
};

} // namespace Network
} // namespace QEL

#endif
