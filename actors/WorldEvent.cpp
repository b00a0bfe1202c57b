#include "actors/WorldEvent.hpp"

#include "network/Client.hpp"
#include "network/channels/Core.hpp"
#include "plym/game/Engine.hpp"

namespace QEL
{

void shareWorldEvent(Tessaly::EntityId entity, const std::string& name)
{
    Plym::Engine* engine = Plym::Engine::getSingleton();
    Network::Client* client = engine ? engine->getService<Network::Client>() : nullptr;
    if (client)
        client->send(Network::Channels::Core::makeEntityMessage(entity, name));
}

} // namespace QEL
