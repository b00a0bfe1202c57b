#ifndef QEL_TESTS_NETWORK_TESTCOMPONENTS_HPP
#define QEL_TESTS_NETWORK_TESTCOMPONENTS_HPP

#include "ecs/Component.hpp"
#include "ecs/EntitySystem.hpp"
#include "plym/core/Vector3.hpp"

#include <SFML/System/String.hpp>

#include <string>
#include <utility>
#include <vector>

/// Stands in for a remote player's figure: records the local messages the network sends it.
class ManProbe : public Tessaly::Component
{
public:
    ManProbe();
    void addedToEntity() override;

    std::vector<std::string> received; ///< message names in arrival order
    unsigned int playerId = 0;
    sf::String name;
    std::vector<Plym::Math::Vector3> positions;
    std::vector<Plym::Math::Vector3> speeds;
    std::vector<int> rektPayloads; ///< payloads of "#REKT" entity messages

private:
    void onName(const Tessaly::Message& message);
    void onPosition(const Tessaly::Message& message);
    void onSpeed(const Tessaly::Message& message);
    void onRekt(const Tessaly::Message& message);
};

/// Needs a component no template provides, so an entity holding it fails to finalize.
class PickyPart : public Tessaly::Component
{
public:
    PickyPart();
    void addedToEntity() override;
};

/// Collects every "QEL.Chat.Message" and "QEL.Chat.Notice" posted globally.
class ChatLog : public Tessaly::Component
{
public:
    ChatLog();
    void addedToEntity() override;

    std::vector<std::pair<unsigned int, sf::String>> lines;
    std::vector<sf::String> notices;

private:
    void onLine(const Tessaly::Message& message);
    void onNotice(const Tessaly::Message& message);
};

/// Registers the components above and the template "QEL.Man" made of a ManProbe.
void registerTestComponents(Tessaly::EntitySystem& system);

/// The probe on a remote player's entity, or null.
ManProbe* findProbe(Tessaly::EntitySystem& system, Tessaly::EntityId entity);

/// Every remote player's figure in the world.
std::vector<ManProbe*> findAllProbes(Tessaly::EntitySystem& system);

#endif
