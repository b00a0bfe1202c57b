#include "network/ServerAddress.hpp"

#include <cstdlib>
#include <iostream>
#include <optional>

#ifndef QUELMOOR_SERVER_ADDRESS
#define QUELMOOR_SERVER_ADDRESS "127.0.0.1"
#endif

namespace QEL
{
namespace Network
{
namespace
{

bool parsePort(const std::string& text, std::uint16_t& port)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long value = std::stoul(text);
    if (value == 0 || value > 65535)
        return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

struct Chosen
{
    Endpoint endpoint;
    std::string origin;
};

// The server chosen at start; it outranks the variable.
std::optional<Chosen> gChosen;

Endpoint announce(const Endpoint& endpoint, const std::string& origin)
{
    std::cout << "Using server " << endpoint.address.toString() << ":" << endpoint.port << " from " << origin << std::endl;
    return endpoint;
}

} // namespace

ServerAddress::Unusable::Unusable(const std::string& given) :
std::runtime_error(given + " names no server: expected host[:port], a host that resolves and a port from 1 to 65535")
{
}

Endpoint ServerAddress::resolve()
{
    if (gChosen)
        return announce(gChosen->endpoint, gChosen->origin);
    const char* variable = getVariable();
    if (!variable)
        return getBuiltIn();
    return announce(parseVariable(variable), "QUELMOOR_SERVER");
}

void ServerAddress::choose(const std::string& text, const std::string& origin, const std::string& given)
{
    Endpoint endpoint;
    if (!parse(text, endpoint))
        throw Unusable(given);
    gChosen = Chosen{endpoint, origin};
}

bool ServerAddress::parse(const std::string& text, Endpoint& endpoint)
{
    const std::size_t colon = text.find(':');
    const std::string host = text.substr(0, colon);
    std::uint16_t port = DefaultPort;
    if (colon != std::string::npos && !parsePort(text.substr(colon + 1), port))
        return false;
    if (host.empty())
        return false;
    const sf::IpAddress address(host);
    if (address == sf::IpAddress::None)
        return false;
    endpoint = Endpoint(address, port);
    return true;
}

void ServerAddress::check()
{
    if (gChosen)
        return;
    if (const char* variable = getVariable())
        parseVariable(variable);
}

const char* ServerAddress::getVariable()
{
    const char* variable = std::getenv("QUELMOOR_SERVER");
    return variable && *variable ? variable : nullptr;
}

Endpoint ServerAddress::parseVariable(const char* value)
{
    Endpoint endpoint;
    if (!parse(value, endpoint))
        throw Unusable(std::string("QUELMOOR_SERVER=") + value);
    return endpoint;
}

Endpoint ServerAddress::getBuiltIn()
{
    return Endpoint(sf::IpAddress(QUELMOOR_SERVER_ADDRESS), DefaultPort);
}

} // namespace Network
} // namespace QEL
