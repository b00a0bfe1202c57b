#include "network/Socket.hpp"

#include <sys/socket.h>

namespace QEL
{
namespace Network
{

void Socket::shutdown()
{
    const sf::SocketHandle handle = getHandle();
    if (handle >= 0)
        ::shutdown(handle, SHUT_RDWR);
}

} // namespace Network
} // namespace QEL
