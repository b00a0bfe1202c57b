#include "network/MessageHandler.hpp"

#include "ecs/EntitySystem.hpp"
#include "plym/game/Engine.hpp"

#include <stdexcept>

namespace QEL
{
namespace Network
{

MessageHandler::~MessageHandler() = default;

Tessaly::EntitySystem& MessageHandler::getEntitySystem()
{
    Plym::Engine* engine = Plym::Engine::getSingleton();
    Tessaly::EntitySystem* system = engine ? engine->getService<Tessaly::EntitySystem>() : nullptr;
    if (!system)
        throw std::runtime_error("No entity system is registered with the engine");
    return *system;
}

void MessageHandler::tell(const sf::String& notice)
{
    Plym::Engine* engine = Plym::Engine::getSingleton();
    if (engine && engine->getService<Tessaly::EntitySystem>())
        sendGlobal("QEL.Chat.Notice", notice);
}

std::vector<Tessaly::EntityId> MessageHandler::releaseEntities()
{
    return {};
}

void MessageHandler::removeEntities(const std::vector<Tessaly::EntityId>& entities)
{
    Plym::Engine* engine = Plym::Engine::getSingleton();
    Tessaly::EntitySystem* system = engine ? engine->getService<Tessaly::EntitySystem>() : nullptr;
    if (!system)
        return;
    for (Tessaly::EntityId entity : entities)
    {
        if (system->hasEntity(entity))
            system->destroyEntity(entity);
    }
}

void MessageHandler::sendLocal(Tessaly::EntityId entity, const std::string& name, const boost::any& payload)
{
    Tessaly::EntitySystem& system = getEntitySystem();
    Tessaly::Message message(Tessaly::Custom, nullptr, payload);
    system.sendLocalMessage(entity, system.getMessageRequestId(Tessaly::MessageRequest, name), message);
}

void MessageHandler::sendGlobal(const std::string& name, const boost::any& payload)
{
    Tessaly::EntitySystem& system = getEntitySystem();
    Tessaly::Message message(Tessaly::Custom, nullptr, payload);
    system.sendGlobalMessage(system.getMessageRequestId(Tessaly::MessageRequest, name), message);
}

} // namespace Network
} // namespace QEL
