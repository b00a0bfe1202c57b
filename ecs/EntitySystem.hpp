#ifndef TESSALY_ENTITYSYSTEM_HPP
#define TESSALY_ENTITYSYSTEM_HPP

#include "ecs/Component.hpp"
#include "ecs/EntityRecord.hpp"
#include "ecs/FreezeRecord.hpp"
#include "ecs/Message.hpp"
#include "ecs/Request.hpp"
#include "ecs/RequestList.hpp"
#include "ecs/Types.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Tessaly
{

/// Registry of entities and their components, component factories and templates,
/// and the requests through which components hear named messages and each other.
/// Owns every entity and every component attached to one. Game thread only.
class EntitySystem
{
public:
    using ComponentFactory = std::function<Component*()>;

    explicit EntitySystem(bool threaded = false);
    ~EntitySystem();

    EntitySystem(const EntitySystem&) = delete;
    EntitySystem& operator=(const EntitySystem&) = delete;

    void registerComponent(const std::string& name, ComponentFactory factory);

    /// Stores, or replaces, the ordered component names of a template.
    void registerTemplate(const std::string& name, const std::vector<std::string>& componentNames);

    EntityId createEntity();

    /// A new, unattached component from the factory of that name.
    Component* createComponent(const std::string& name);

    /// Attaches the component, runs its addedToEntity and tells the component requesters.
    void addComponent(EntityId entity, Component* component);

    /// Detaches the component (dropping its requests) without deleting it.
    void removeComponent(EntityId entity, Component* component);

    /// Drops the component's requests, tells the component requesters, and deletes it.
    void destroyComponent(Component* component);

    void destroyEntity(EntityId entity);

    /// Marks the entity finalized; destroys it and returns false when a required component is missing.
    bool finalize(EntityId entity);

    /// Builds an entity from a template; 0 when finalizing it failed.
    EntityId instantiate(const std::string& templateName);

    /// The components of a name in insertion order, or every component for an empty name.
    std::vector<Component*> getAllComponentsOnEntity(EntityId entity, const std::string& name) const;

    /// The id of a request name, created on first use.
    RequestId getMessageRequestId(RequestKind kind, const std::string& name);

    /// The id of a request name, or 0 when it was never used.
    RequestId findRequestId(RequestKind kind, const std::string& name) const;

    void registerGlobalRequest(const RequestKey& key, const Request& request);
    void registerLocalRequest(const RequestKey& key, const Request& request);

    /// Drop every request of the given request's component for the key.
    void removeGlobalRequest(const RequestKey& key, const Request& request);
    void removeLocalRequest(const RequestKey& key, const Request& request);

    /// Moves the component's request for the id, locally then globally, to its new priority.
    void reprioritizeRequest(Component* component, RequestId id, int priority);

    /// The global requests of an id in delivery order; null when there never were any.
    RequestList::Snapshot getGlobalRequests(RequestId id) const;

    /// Deliver in place, in priority order, until a handler sets handled.
    void sendGlobalMessage(RequestId id, Message& message);
    void sendLocalMessage(EntityId entity, RequestId id, Message& message);

    /// While an id is frozen its request changes are queued, and while any id is,
    /// destructions are queued; unfreezing applies what was queued.
    void freezeRequest(RequestId id);
    void unfreezeRequest(RequestId id);

    EntityId getNextEntityId() const { return mNextEntityId; }
    std::uint32_t getEntityCount() const { return mEntityCount; }
    std::uint32_t getComponentCount() const { return mComponentCount; }
    bool hasEntity(EntityId entity) const { return findRecord(entity) != nullptr; }

private:
    /// Postpones the deletion of destroyed components while handlers may still
    /// reach them; the outermost scope deletes them when it closes.
    class BusyScope
    {
    public:
        explicit BusyScope(EntitySystem& system);
        ~BusyScope();

    private:
        EntitySystem& mSystem;
    };

    using ChangeList = std::vector<FreezeRecord::Change>;

    EntityRecord* findRecord(EntityId entity) const;
    std::vector<EntityId> getEntityIds() const;
    FreezeRecord* findFrozen(RequestId id);
    bool deferChange(RequestId id, ChangeList FreezeRecord::*list, const RequestKey& key, const Request& request);
    void applyChanges(FreezeRecord& record);
    void replayDestructions();

    void noteRequired(const RequestKey& key, const Request& request, EntityRecord* record);
    void callForExisting(const Request& request, const std::string& name, const std::vector<EntityId>& entities);
    bool hasRequiredComponents(const EntityRecord& record) const;

    void detach(Component& component, EntityRecord* record);
    void announce(Component& component, EntityId entity, MessageType type);
    void release(Component* component);
    bool isDoomed(const Component* component) const;

    void deliver(RequestList::Snapshot requests, Message& message);
    void notify(RequestList::Snapshot requests, Message& message, const Component* skipped);

    std::unordered_map<RequestId, FreezeRecord> mFreezeTable;
    std::vector<Component*> mDeferredComponents;
    std::vector<EntityId> mDeferredEntities;
    bool mPendingWork = false;
    ComponentId mNextComponentId = 1;
    RequestId mNextRequestId = 1;
    EntityId mNextEntityId = 1;
    std::array<std::unordered_map<std::string, RequestId>, 2> mRequestIds;  // by RequestKind
    std::unordered_map<std::string, ComponentFactory> mFactories;
    std::unordered_map<std::string, std::vector<std::string>> mTemplates;
    std::unordered_map<EntityId, std::vector<std::string>> mRequiredComponents;
    std::unordered_map<RequestId, RequestList> mGlobalRequests;
    std::unordered_map<ComponentId, std::vector<RequestId>> mRequestKeys;  // global requests per component
    std::unordered_map<EntityId, std::unique_ptr<EntityRecord>> mEntities;
    bool mThreaded;
    std::int32_t mFrozenCount = 0;
    std::uint32_t mEntityCount = 0;
    std::uint32_t mComponentCount = 0;
    unsigned mBusyDepth = 0;
    std::vector<Component*> mDoomed;  // destroyed, awaiting deletion until no delivery is running
};

} // namespace Tessaly

#endif
