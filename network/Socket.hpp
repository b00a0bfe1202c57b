#ifndef QEL_NETWORK_SOCKET_HPP
#define QEL_NETWORK_SOCKET_HPP

#include "network/Endpoint.hpp"

#include <SFML/Network/TcpSocket.hpp>

namespace QEL
{
namespace Network
{

/// The client's TCP connection, with a way to wake threads blocked on it and a connect that
/// never blocks.
class Socket : public sf::TcpSocket
{
public:
    /// Ends both directions of an open connection: a receive or send blocked on another thread
    /// returns at once. The socket stays open until disconnect(), so its handle is not reused meanwhile.
    void shutdown();

    /// Starts connecting without waiting: NotReady while the connection is being made, Done when
    /// it was made at once, Error with the reason in `error` otherwise. Leaves the socket non-blocking.
    sf::Socket::Status startConnect(const Endpoint& server, int& error);

    /// Where a connect begun by startConnect stands, after waiting up to `waitMilliseconds` for
    /// it to be made: NotReady, Done, or Error with the reason in `error`.
    sf::Socket::Status checkConnect(int& error, int waitMilliseconds = 0);
};

} // namespace Network
} // namespace QEL

#endif
