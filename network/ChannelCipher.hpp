#ifndef QEL_NETWORK_CHANNELCIPHER_HPP
#define QEL_NETWORK_CHANNELCIPHER_HPP

#include <cstdint>

namespace QEL
{
namespace Network
{

/// Describes how a channel's payloads are enciphered; this client only ever uses number 0 (plain).
struct ChannelCipher
{
    std::uint32_t number = 0;
};

} // namespace Network
} // namespace QEL

#endif
