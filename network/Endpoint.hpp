#ifndef QEL_NETWORK_ENDPOINT_HPP
#define QEL_NETWORK_ENDPOINT_HPP

#include <SFML/Network/IpAddress.hpp>

#include <cstdint>

namespace QEL
{
namespace Network
{

/// Where packets come from or go to: an IPv4 address and a TCP port.
struct Endpoint
{
    Endpoint() = default;
    Endpoint(const sf::IpAddress& address, std::uint16_t port) : address(address), port(port) {}

    sf::IpAddress address;
    std::uint16_t port = 0;
};

} // namespace Network
} // namespace QEL

#endif
