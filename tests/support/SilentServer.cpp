#include "tests/support/SilentServer.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace QEL
{
namespace Testing
{
namespace
{

sockaddr_in loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

} // namespace

SilentServer::SilentServer(std::uint16_t port) :
mListener(::socket(AF_INET, SOCK_STREAM, 0)),
mFiller(-1),
mPort(0)
{
    const int on = 1;
    ::setsockopt(mListener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
    sockaddr_in address = loopback(port);
    socklen_t size = sizeof(address);
    if (::bind(mListener, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        ::getsockname(mListener, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        mPort = ntohs(address.sin_port);
}

SilentServer::~SilentServer()
{
    if (mFiller >= 0)
        ::close(mFiller);
    ::close(mListener);
}

bool SilentServer::stopAnswering()
{
    if (mPort == 0 || ::listen(mListener, 0) != 0)
        return false;
    // The one connection the queue holds; it is never accepted.
    mFiller = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(mPort);
    return ::connect(mFiller, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
}

} // namespace Testing
} // namespace QEL
