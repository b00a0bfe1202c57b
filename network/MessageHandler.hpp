#ifndef QEL_NETWORK_MESSAGEHANDLER_HPP
#define QEL_NETWORK_MESSAGEHANDLER_HPP

#include "ecs/Types.hpp"
#include "network/Endpoint.hpp"
#include "network/Packet.hpp"

#include <SFML/System/String.hpp>

#include <boost/any.hpp>

#include <string>
#include <vector>

namespace Tessaly
{
class EntitySystem;
}

namespace QEL
{
namespace Network
{

/// Consumes the packets of one channel, on the main thread.
class MessageHandler
{
public:
    virtual ~MessageHandler();

    /// Reads and acts on one received packet; `from` is the server.
    virtual void handle(Packet& packet, const Endpoint& from) = 0;

    /// Tells the player a line about the connection or the players in the chat box
    /// ("QEL.Chat.Notice"); nothing happens while no entity system is registered.
    static void tell(const sf::String& notice);

    /// Hands over the entities this handler placed in the world and forgets them; they stay
    /// when the connection ends, until removeEntities. None by default.
    virtual std::vector<Tessaly::EntityId> releaseEntities();

    /// Destroys those of the entities that still exist; nothing while no entity system is registered.
    static void removeEntities(const std::vector<Tessaly::EntityId>& entities);

protected:
    /// The entity system registered with the running engine; throws when there is none.
    static Tessaly::EntitySystem& getEntitySystem();

    /// Delivers a Custom message without sender to the local requesters of `entity`.
    static void sendLocal(Tessaly::EntityId entity, const std::string& name, const boost::any& payload);

    /// Delivers a Custom message without sender to every global requester of `name`.
    static void sendGlobal(const std::string& name, const boost::any& payload);
};

} // namespace Network
} // namespace QEL

#endif
