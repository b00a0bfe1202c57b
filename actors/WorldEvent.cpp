#include "actors/WorldEvent.hpp"

#include "network/Client.hpp"
#include "plym/game/Engine.hpp"

namespace QEL
{

void shareWorldEvent(Tessaly::EntityId entity, const std::string& name)
{
    Plym::Engine* engine = Plym::Engine::getSingleton();
    Network::Client* client = engine ? engine->getService<Network::Client>() : nullptr;
    if (client)
        client->sendWorldEvent(entity, name);
}

} // namespace QEL
