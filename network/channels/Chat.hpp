#ifndef QEL_NETWORK_CHANNELS_CHAT_HPP
#define QEL_NETWORK_CHANNELS_CHAT_HPP

#include "network/MessageHandler.hpp"
#include "network/Protocol.hpp"

#include <SFML/System/String.hpp>

#include <cstdint>

namespace QEL
{
namespace Network
{
namespace Channels
{

/// The shared chat room: every received line becomes the global message "QEL.Chat.Message".
class Chat : public MessageHandler
{
public:
    /// The channel on which the client sends its typed lines.
    static constexpr std::uint8_t OutgoingChannel = Protocol::ChatChannel;

    void handle(Packet& packet, const Endpoint& from) override;

    /// Sends a typed line to the server and shows it locally at once with sender id 0.
    /// Empty lines are not sent; returns whether the line went out.
    static bool sendLine(const sf::String& text);

    /// A typed line as it travels to the server.
    static Packet makeLine(const sf::String& text);
};

} // namespace Channels
} // namespace Network
} // namespace QEL

#endif
