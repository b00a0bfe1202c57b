#ifndef QEL_NETWORK_CHANNELTYPE_HPP
#define QEL_NETWORK_CHANNELTYPE_HPP

#include "network/Protocol.hpp"

#include <cstdint>

namespace QEL
{
namespace Network
{

/// The kind of traffic the server announces when it opens a channel; other numbers open nothing.
enum class ChannelType : std::uint8_t
{
    Chat = Protocol::ChatType,
    PlayerStream = Protocol::PlayerStreamType
};

} // namespace Network
} // namespace QEL

#endif
