#ifndef TESSALY_ENTITYRECORD_HPP
#define TESSALY_ENTITYRECORD_HPP

#include "ecs/RequestList.hpp"
#include "ecs/Types.hpp"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Tessaly
{

class Component;

/// What the entity system keeps for one entity: its components by name and its local requests.
class EntityRecord
{
public:
    explicit EntityRecord(EntityId id) : mId(id) {}

    EntityId getId() const { return mId; }

    bool isFinalized() const { return mFinalized; }
    void setFinalized() { mFinalized = true; }

    /// Appends the component after the others of its name.
    void addComponent(Component* component);

    /// Takes the component out; false when the entity does not hold it.
    bool removeComponent(const Component* component);

    /// Whether the entity holds this very component (looked up by address only).
    bool hasComponent(const Component* component) const;
    bool hasComponentNamed(const std::string& name) const;

    /// The components of one name in the order they were added (empty when none).
    const std::vector<Component*>& getComponents(const std::string& name) const;

    /// Every component, name by name in the order the names first appeared.
    std::vector<Component*> getAllComponents() const;

    /// Local request lists by request id.
    std::unordered_map<RequestId, RequestList>& getLocalRequests() { return mLocalRequests; }

private:
    using ComponentGroup = std::pair<std::string, std::vector<Component*>>;

    const ComponentGroup* findGroup(const std::string& name) const;

    EntityId mId;
    bool mFinalized = false;
    std::vector<ComponentGroup> mComponents;  // an entity has a handful of names: a short list beats a hash map
    std::unordered_map<RequestId, RequestList> mLocalRequests;
};

} // namespace Tessaly

#endif
