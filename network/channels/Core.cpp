#include "network/channels/Core.hpp"

#include "ecs/EntitySystem.hpp"
#include "network/ChannelType.hpp"
#include "network/Client.hpp"
#include "network/channels/Chat.hpp"
#include "network/channels/PlayerStream.hpp"

#include <cstdio>
#include <string>

namespace QEL
{
namespace Network
{
namespace Channels
{
namespace
{

Packet makeRequest(Core::Code code)
{
    Packet packet;
    packet.writeU8(Core::Request).writeU16(code);
    return packet;
}

} // namespace

Core::Core(Client& client) :
mClient(&client)
{
}

void Core::handle(Packet& packet, const Endpoint&)
{
    std::uint8_t kind;
    std::uint16_t code;
    packet.readU8(kind).readU16(code);

    if (kind == Reply && code == JoinReply)
    {
        joinReply(packet);
    }
    else if (kind == Notice && code == OpenChannel)
    {
        std::uint8_t id, type, flag;
        packet.readU8(id).readU8(type).readU8(flag);
        if (flag == 0)
            openChannel(id, type, ChannelCipher());
    }
    else if (kind == Notice && code == ChannelNotice)
    {
        std::uint8_t ignored;
        packet.readU8(ignored);
    }
    else if (kind == Notice && code == EntityMessage)
    {
        deliverEntityMessage(packet);
    }
}

void Core::openChannel(std::uint8_t id, std::uint8_t type, const ChannelCipher& cipher)
{
    mClient->getConsole().say("channel", "Registering new channel " + std::to_string(id) + " (" + std::to_string(type) +
                                             ") with cipher " + std::to_string(static_cast<int>(cipher.number)));

    std::unique_ptr<MessageHandler> handler;
    if (type == static_cast<std::uint8_t>(ChannelType::Chat))
        handler = std::make_unique<Chat>();
    else if (type == static_cast<std::uint8_t>(ChannelType::PlayerStream))
        handler = std::make_unique<PlayerStream>(mClient->getConsole());
    else
        return;
    mClient->setChannelHandler(id, std::move(handler));
}

Packet Core::makeJoinRequest(const sf::String& userName)
{
    Packet packet = makeRequest(JoinRequest);
    packet.writeStr8(userName);
    return packet;
}

Packet Core::makeKeepAlive()
{
    return makeRequest(KeepAlive);
}

Packet Core::makeLeave()
{
    return makeRequest(Leave);
}

Packet Core::makeEntityMessage(Tessaly::EntityId entity, const std::string& name)
{
    Packet packet = makeRequest(EntityMessage);
    packet.writeU32(entity).writeStr8(name);
    return packet;
}

std::string Core::getRefusal(std::uint8_t result)
{
    switch (result)
    {
        case InvalidName:
            return "Join refused: the name is not valid";
        case NameTaken:
            return "Join refused: the name is already taken";
        case ServerFull:
            return "Join refused: the server is full";
        default:
            return "Join refused for an unknown reason (code " + std::to_string(result) + ")";
    }
}

void Core::joinReply(Packet& packet)
{
    std::uint8_t result;
    packet.readU8(result);
    if (result == Accepted)
    {
        mClient->setState(Joined);
        return;
    }
    // A server repeating its refusal is told about once.
    const bool told = mClient->getState() == Failed;
    mClient->refuseJoin(result);
    if (told)
        return;
    const std::string refusal = getRefusal(result);
    std::printf("%s\n", refusal.c_str());
    sendGlobal("QEL.Chat.Notice", sf::String(refusal));
}

void Core::deliverEntityMessage(Packet& packet)
{
    std::uint32_t entity;
    std::string name;
    packet.readU32(entity).readStr8(name);
    // A name nobody requested reaches no one, so it is only looked up: names made up by the
    // network never pile up in the entity system. An entity this client does not have makes
    // the send throw; the dispatcher drops the record.
    Tessaly::EntitySystem& system = getEntitySystem();
    Tessaly::Message message(Tessaly::Custom, nullptr, boost::any(0));
    system.sendLocalMessage(entity, system.findRequestId(Tessaly::MessageRequest, name), message);
}

} // namespace Channels
} // namespace Network
} // namespace QEL
