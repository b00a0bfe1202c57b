#include "network/channels/Chat.hpp"

#include "network/Client.hpp"
#include "network/ControlCharacters.hpp"
#include "plym/game/Engine.hpp"

#include <tuple>

namespace QEL
{
namespace Network
{
namespace Channels
{
namespace
{

const char* const ChatMessage = "QEL.Chat.Message";

} // namespace

void Chat::handle(Packet& packet, const Endpoint&)
{
    std::uint32_t sender;
    sf::String text;
    packet.readU32(sender).readStr16(text);
    replaceControlCharacters(text);
    sendGlobal(ChatMessage, std::tuple<unsigned int, sf::String>(sender, text));
}

bool Chat::sendLine(const sf::String& text)
{
    if (text.isEmpty())
        return false;
    Plym::Engine* engine = Plym::Engine::getSingleton();
    if (Client* client = engine ? engine->getService<Client>() : nullptr)
        client->send(makeLine(text));
    sendGlobal(ChatMessage, std::tuple<unsigned int, sf::String>(0, text));
    return true;
}

Packet Chat::makeLine(const sf::String& text)
{
    Packet packet;
    packet.setChannel(OutgoingChannel);
    packet.writeStr16(text);
    return packet;
}

} // namespace Channels
} // namespace Network
} // namespace QEL
