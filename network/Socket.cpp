#include "network/Socket.hpp"

#include <cerrno>

#include <poll.h>
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

sf::Socket::Status Socket::startConnect(const Endpoint& server, int& error)
{
    setBlocking(false);
    errno = 0;
    const sf::Socket::Status status = connect(server.address, server.port, sf::Time::Zero);
    error = errno;
    if (status == sf::Socket::NotReady || status == sf::Socket::Done)
        return status;
    return sf::Socket::Error;
}

sf::Socket::Status Socket::checkConnect(int& error, int waitMilliseconds)
{
    pollfd watched{getHandle(), POLLOUT, 0};
    const int ready = ::poll(&watched, 1, waitMilliseconds);
    if (ready == 0 || (ready < 0 && errno == EINTR))
        return sf::Socket::NotReady;
    if (ready < 0)
    {
        error = errno;
        return sf::Socket::Error;
    }
    int result = 0;
    socklen_t size = sizeof(result);
    if (::getsockopt(getHandle(), SOL_SOCKET, SO_ERROR, &result, &size) != 0)
        result = errno;
    if (result == 0)
        return sf::Socket::Done;
    error = result;
    return sf::Socket::Error;
}

} // namespace Network
} // namespace QEL
