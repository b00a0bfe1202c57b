#ifndef QEL_NETWORK_SOCKET_HPP
#define QEL_NETWORK_SOCKET_HPP

#include <SFML/Network/TcpSocket.hpp>

namespace QEL
{
namespace Network
{

/// The client's TCP connection, with a way to wake threads blocked on it.
class Socket : public sf::TcpSocket
{
public:
    /// Ends both directions of an open connection: a receive or send blocked on another thread
    /// returns at once. The socket stays open until disconnect(), so its handle is not reused meanwhile.
    void shutdown();
};

} // namespace Network
} // namespace QEL

#endif
