#ifndef QEL_NETWORK_PROTOCOL_HPP
#define QEL_NETWORK_PROTOCOL_HPP

#include <cstdint>

namespace QEL
{
namespace Network
{

/// The numbers of the wire protocol, shared by the client, the server and the bots.
/// Header-only and free of SFML so that every program can include it.
namespace Protocol
{

/// Channels: Core is always 0; the server opens the stream and chat channels under these ids,
/// and clients always send on them.
constexpr std::uint8_t CoreChannel = 0;
constexpr std::uint8_t StreamChannel = 1;
constexpr std::uint8_t ChatChannel = 2;

/// Channel types an OpenChannel announces.
constexpr std::uint8_t ChatType = 3;
constexpr std::uint8_t PlayerStreamType = 255;

/// First byte of a Core payload.
constexpr std::uint8_t RequestKind = 0;  ///< client to server
constexpr std::uint8_t ReplyKind = 1;
constexpr std::uint8_t NoticeKind = 2;

/// Second field of a Core payload, meaningful together with the kind.
constexpr std::uint16_t JoinRequestCode = 1;
constexpr std::uint16_t JoinReplyCode = 1;
constexpr std::uint16_t OpenChannelCode = 16;
constexpr std::uint16_t ChannelNoticeCode = 17;
constexpr std::uint16_t KeepAliveCode = 0xBEA7;
constexpr std::uint16_t LeaveCode = 0xDEAD;
constexpr std::uint16_t EntityMessageCode = 0xBEEF;

/// The result byte of a JoinReply.
constexpr std::uint8_t JoinAccepted = 0;
constexpr std::uint8_t JoinInvalidName = 1;
constexpr std::uint8_t JoinNameTaken = 2;
constexpr std::uint8_t JoinServerFull = 3;

/// First byte of a PlayerStream record.
constexpr std::uint8_t PlayerInfoKind = 0;
constexpr std::uint8_t PlayerQuitKind = 1;
constexpr std::uint8_t PlayerMoveKind = 2;

/// The entity messages the game shares: a tree felled, a tree stripped of its branches, a
/// cactus picked. The server relays no other name.
constexpr const char* FelledTree = "#REKT";
constexpr const char* BranchedTree = "#branch";
constexpr const char* PickedCactus = "Rosebud";
constexpr const char* WorldEventNames[] = {FelledTree, BranchedTree, PickedCactus};

} // namespace Protocol
} // namespace Network
} // namespace QEL

#endif
