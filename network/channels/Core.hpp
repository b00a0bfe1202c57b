#ifndef QEL_NETWORK_CHANNELS_CORE_HPP
#define QEL_NETWORK_CHANNELS_CORE_HPP

#include "ecs/Types.hpp"
#include "network/ChannelCipher.hpp"
#include "network/MessageHandler.hpp"
#include "network/Protocol.hpp"

#include <SFML/System/String.hpp>

#include <cstdint>
#include <string>

namespace QEL
{
namespace Network
{

class Client;

namespace Channels
{

/// Channel 0: the join handshake, keep-alives, the goodbye, the opening of further channels
/// and named messages addressed to entities.
class Core : public MessageHandler
{
public:
    /// First byte of every Core payload.
    enum Kind : std::uint8_t
    {
        Request = Protocol::RequestKind, ///< client to server
        Reply = Protocol::ReplyKind,
        Notice = Protocol::NoticeKind
    };

    /// Second field of every Core payload, meaningful together with the kind.
    enum Code : std::uint16_t
    {
        JoinRequest = Protocol::JoinRequestCode,
        JoinReply = Protocol::JoinReplyCode,
        OpenChannel = Protocol::OpenChannelCode,
        ChannelNotice = Protocol::ChannelNoticeCode,
        KeepAlive = Protocol::KeepAliveCode,
        Leave = Protocol::LeaveCode,
        EntityMessage = Protocol::EntityMessageCode
    };

    /// The result byte of a join reply; any other non-zero value is a refusal for a reason
    /// this client does not know.
    enum JoinResult : std::uint8_t
    {
        Accepted = Protocol::JoinAccepted,
        InvalidName = Protocol::JoinInvalidName,
        NameTaken = Protocol::JoinNameTaken,
        ServerFull = Protocol::JoinServerFull
    };

    explicit Core(Client& client);

    void handle(Packet& packet, const Endpoint& from) override;

    /// Announces a channel opened by the server and installs its handler (Chat or PlayerStream).
    void openChannel(std::uint8_t id, std::uint8_t type, const ChannelCipher& cipher);

    static Packet makeJoinRequest(const sf::String& userName);
    static Packet makeKeepAlive();
    static Packet makeLeave();
    /// A named message for the entity of the same id on the other clients (felled trees, picked cacti).
    static Packet makeEntityMessage(Tessaly::EntityId entity, const std::string& name);

    /// What the player is told when the server refuses the join with this result.
    static std::string getRefusal(std::uint8_t result);

private:
    /// Joined on an accepting reply; on a refusal Failed, and the reason is told once on the
    /// console and in the chat box ("QEL.Chat.Notice").
    void joinReply(Packet& packet);

    /// Delivers a relayed entity message as a local message with the int 0 as payload.
    void deliverEntityMessage(Packet& packet);

    Client* mClient;
};

} // namespace Channels
} // namespace Network
} // namespace QEL

#endif
