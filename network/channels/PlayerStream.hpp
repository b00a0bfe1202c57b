#ifndef QEL_NETWORK_CHANNELS_PLAYERSTREAM_HPP
#define QEL_NETWORK_CHANNELS_PLAYERSTREAM_HPP

#include "ecs/Types.hpp"
#include "network/ConsoleLog.hpp"
#include "network/MessageHandler.hpp"
#include "network/Protocol.hpp"
#include "plym/core/Vector3.hpp"

#include <SFML/System/String.hpp>

#include <cstdint>
#include <map>
#include <vector>

namespace QEL
{
namespace Network
{
namespace Channels
{

/// Mirrors the other players: one "QEL.Man" entity per remote player, moved by the server's
/// records. A server can announce players without end, so their number is capped and the
/// console lines they cause go through the client's throttled console.
class PlayerStream : public MessageHandler
{
public:
    /// Most remote players mirrored at once; announcements of more are ignored.
    static constexpr std::size_t MaxPlayers = 2048;

    /// First byte of every record.
    enum Kind : std::uint8_t
    {
        PlayerInfo = Protocol::PlayerInfoKind,
        PlayerQuit = Protocol::PlayerQuitKind,
        PlayerMove = Protocol::PlayerMoveKind
    };

    /// The channel on which the local player streams its own position and speed.
    static constexpr std::uint8_t OutgoingChannel = Protocol::StreamChannel;

    explicit PlayerStream(ConsoleLog& console);

    void handle(Packet& packet, const Endpoint& from) override;

    /// The entities of the remote players; the players are forgotten.
    std::vector<Tessaly::EntityId> releaseEntities() override;

    /// The entity standing for a remote player, or 0 when the id is not known.
    Tessaly::EntityId getPlayerEntity(std::uint32_t playerId) const;

    /// The local player's stream record, ready to send.
    static Packet makeStreamRecord(const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed);

private:
    void playerInfo(std::uint32_t playerId, const sf::String& name, const Plym::Math::Vector3& position, bool existing);
    void playerQuit(std::uint32_t playerId);
    void playerMove(std::uint32_t playerId, const Plym::Math::Vector3& position, const Plym::Math::Vector3& speed);

    /// Destroys the entity of a tracked player (if it still exists) and forgets the id.
    void forgetPlayer(std::uint32_t playerId);

    ConsoleLog& mConsole;
    std::map<std::uint32_t, Tessaly::EntityId> mPlayers;
    std::map<std::uint32_t, sf::String> mNames; ///< as the chat box tells them coming and going
};

} // namespace Channels
} // namespace Network
} // namespace QEL

#endif
