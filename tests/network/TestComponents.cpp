#include "tests/network/TestComponents.hpp"

#include <boost/any.hpp>

#include <tuple>

ManProbe::ManProbe() :
Component("Test.ManProbe")
{
}

void ManProbe::addedToEntity()
{
    requestMessage("Man.SetName", &ManProbe::onName, true);
    requestMessage("SetPosition", &ManProbe::onPosition, true);
    requestMessage("SetSpeed", &ManProbe::onSpeed, true);
    requestMessage("#REKT", &ManProbe::onRekt, true);
}

void ManProbe::onName(const Tessaly::Message& message)
{
    received.push_back("Man.SetName");
    std::tie(playerId, name) = boost::any_cast<std::tuple<unsigned int, sf::String>>(message.payload);
}

void ManProbe::onPosition(const Tessaly::Message& message)
{
    received.push_back("SetPosition");
    positions.push_back(boost::any_cast<Plym::Math::Vector3>(message.payload));
}

void ManProbe::onSpeed(const Tessaly::Message& message)
{
    received.push_back("SetSpeed");
    speeds.push_back(boost::any_cast<Plym::Math::Vector3>(message.payload));
}

void ManProbe::onRekt(const Tessaly::Message& message)
{
    received.push_back("#REKT");
    rektPayloads.push_back(boost::any_cast<int>(message.payload));
}

PickyPart::PickyPart() :
Component("Test.Picky")
{
}

void PickyPart::addedToEntity()
{
    requireComponent("Test.Missing", [](Tessaly::Message&) {}, true);
}

ChatLog::ChatLog() :
Component("Test.ChatLog")
{
}

void ChatLog::addedToEntity()
{
    requestMessage("QEL.Chat.Message", &ChatLog::onLine);
    requestMessage("QEL.Chat.Notice", &ChatLog::onNotice);
}

void ChatLog::onLine(const Tessaly::Message& message)
{
    const auto& line = boost::any_cast<const std::tuple<unsigned int, sf::String>&>(message.payload);
    lines.emplace_back(std::get<0>(line), std::get<1>(line));
}

void ChatLog::onNotice(const Tessaly::Message& message)
{
    notices.push_back(boost::any_cast<const sf::String&>(message.payload));
}

void registerTestComponents(Tessaly::EntitySystem& system)
{
    system.registerComponent("Test.ManProbe", [] { return new ManProbe; });
    system.registerComponent("Test.Picky", [] { return new PickyPart; });
    system.registerComponent("Test.ChatLog", [] { return new ChatLog; });
    system.registerTemplate("QEL.Man", {"Test.ManProbe"});
}

ManProbe* findProbe(Tessaly::EntitySystem& system, Tessaly::EntityId entity)
{
    if (!system.hasEntity(entity))
        return nullptr;
    const std::vector<Tessaly::Component*> parts = system.getAllComponentsOnEntity(entity, "Test.ManProbe");
    return parts.empty() ? nullptr : dynamic_cast<ManProbe*>(parts.front());
}

std::vector<ManProbe*> findAllProbes(Tessaly::EntitySystem& system)
{
    std::vector<ManProbe*> probes;
    for (Tessaly::EntityId entity = 1; entity < system.getNextEntityId(); ++entity)
    {
        if (ManProbe* probe = findProbe(system, entity))
            probes.push_back(probe);
    }
    return probes;
}
