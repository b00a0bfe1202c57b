#include "ecs/EntitySystem.hpp"

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <utility>

namespace Tessaly
{
namespace
{

bool isValidRequester(const Component* component)
{
    return component && component->isValid();
}

} // namespace

EntitySystem::BusyScope::BusyScope(EntitySystem& system) : mSystem(system)
{
    ++mSystem.mBusyDepth;
}

EntitySystem::BusyScope::~BusyScope()
{
    if (--mSystem.mBusyDepth > 0 || mSystem.mDoomed.empty())
        return;
    const std::vector<Component*> doomed = std::exchange(mSystem.mDoomed, {});
    for (Component* component : doomed)
        delete component;
}

EntitySystem::EntitySystem(bool threaded) : mThreaded(threaded)
{
}

EntitySystem::~EntitySystem()
{
    // Nothing may be queued any more: everything goes now.
    mFrozenCount = 0;
    for (EntityId entity : getEntityIds())
        if (hasEntity(entity))
            destroyEntity(entity);
}

void EntitySystem::registerComponent(const std::string& name, ComponentFactory factory)
{
    if (mFactories.count(name))
        throw std::runtime_error("Registered components must have unique names");
    mFactories.emplace(name, std::move(factory));
}

void EntitySystem::registerTemplate(const std::string& name, const std::vector<std::string>& componentNames)
{
    mTemplates[name] = componentNames;
}

EntityId EntitySystem::createEntity()
{
    const EntityId entity = mNextEntityId++;
    mEntities.emplace(entity, std::make_unique<EntityRecord>(entity));
    ++mEntityCount;
    return entity;
}

Component* EntitySystem::createComponent(const std::string& name)
{
    const auto factory = mFactories.find(name);
    if (factory == mFactories.end())
        throw std::runtime_error("Can't create a non-existant component");

    Component* component = factory->second();
    if (component->getName() != name)
    {
        const std::string actual = component->getName();
        delete component;
        throw std::runtime_error("The factory function for " + name + " creates components of type " + actual);
    }

    ++mComponentCount;
    component->mSystem = this;
    component->mId = mNextComponentId++;
    return component;
}

void EntitySystem::addComponent(EntityId entity, Component* component)
{
    if (component->mOwner != 0)
        throw std::runtime_error("Can't add a component to several entities");
    EntityRecord* record = findRecord(entity);
    if (!record)
        throw std::runtime_error("Can't add a component to a non-existant entity");

    component->mOwner = entity;
    // A component made by hand belongs to the system of the entity it joins.
    if (!component->mSystem)
        component->mSystem = this;
    record->addComponent(component);
    component->addedToEntity();
    announce(*component, entity, ComponentAdded);
}

void EntitySystem::removeComponent(EntityId entity, Component* component)
{
    EntityRecord* record = findRecord(entity);
    if (!record)
        throw std::runtime_error("Can't remove a component from a non-existant entity");
    if (!record->hasComponent(component))
        throw std::runtime_error("Can't remove a component from an entity that doesn't contain it");

    detach(*component, record);
    component->mOwner = 0;
    announce(*component, entity, ComponentDestroyed);
}

void EntitySystem::destroyComponent(Component* component)
{
    if (!component || isDoomed(component))
        return;
    EntityRecord* record = findRecord(component->mOwner);
    if (!component->isValid())
    {
        // Never attached, removed, or made by hand: nobody is told, but nothing may keep pointing at it.
        detach(*component, record);
        if (component->mId != 0)
            --mComponentCount;
        release(component);
        return;
    }
    // Destroyed again by one of the handlers told of its destruction.
    if (record && !record->hasComponent(component))
        return;

    component->mDestroyed = true;
    if (mFrozenCount > 0)
    {
        mDeferredComponents.push_back(component);
        mPendingWork = true;
        return;
    }

    detach(*component, record);
    announce(*component, component->mOwner, ComponentDestroyed);
    --mComponentCount;
    release(component);
}

void EntitySystem::destroyEntity(EntityId entity)
{
    const EntityRecord* record = findRecord(entity);
    if (!record)
        throw std::runtime_error("Can't destroy a non-existant entity");
    if (mFrozenCount > 0)
    {
        mDeferredEntities.push_back(entity);
        mPendingWork = true;
        return;
    }

    // Handlers told of one destruction may destroy siblings, or the whole entity.
    for (Component* component : record->getAllComponents())
    {
        const EntityRecord* current = findRecord(entity);
        if (current && current->hasComponent(component))
            destroyComponent(component);
    }
    if (mEntities.erase(entity))
    {
        mRequiredComponents.erase(entity);
        --mEntityCount;
    }
}

bool EntitySystem::finalize(EntityId entity)
{
    EntityRecord* record = findRecord(entity);
    if (!record)
        throw std::runtime_error("Can't finalize a non-existant entity");

    record->setFinalized();
    if (hasRequiredComponents(*record))
        return true;
    destroyEntity(entity);
    return false;
}

EntityId EntitySystem::instantiate(const std::string& templateName)
{
    const auto found = mTemplates.find(templateName);
    if (found == mTemplates.end())
        throw std::runtime_error("Can't instantiate a template that doesn't exist");

    // A copy: the components' addedToEntity may register templates.
    const std::vector<std::string> componentNames = found->second;
    const EntityId entity = createEntity();
    for (const std::string& name : componentNames)
        addComponent(entity, createComponent(name));
    return finalize(entity) ? entity : 0;
}

std::vector<Component*> EntitySystem::getAllComponentsOnEntity(EntityId entity, const std::string& name) const
{
    const EntityRecord* record = findRecord(entity);
    if (!record)
        throw std::runtime_error("Can't check for components on a non-existant entity");
    return name.empty() ? record->getAllComponents() : record->getComponents(name);
}

RequestId EntitySystem::getMessageRequestId(RequestKind kind, const std::string& name)
{
    const auto entry = mRequestIds.at(kind).try_emplace(name, mNextRequestId);
    if (entry.second)
        ++mNextRequestId;
    return entry.first->second;
}

RequestId EntitySystem::findRequestId(RequestKind kind, const std::string& name) const
{
    const auto& ids = mRequestIds.at(kind);
    const auto found = ids.find(name);
    return found == ids.end() ? 0 : found->second;
}

void EntitySystem::registerGlobalRequest(const RequestKey& key, const Request& request)
{
    if (!isValidRequester(request.component))
        throw std::runtime_error("Can't register a request from an invalid component");

    const RequestId id = getMessageRequestId(key.kind, key.name);
    if (deferChange(id, &FreezeRecord::globalRegistrations, key, request))
        return;

    mGlobalRequests[id].insert(request);
    noteRequired(key, request, findRecord(request.component->mOwner));
    std::vector<RequestId>& keys = mRequestKeys[request.component->mId];
    if (std::find(keys.begin(), keys.end(), id) == keys.end())
        keys.push_back(id);
    if (key.kind == ComponentRequest)
        callForExisting(request, key.name, getEntityIds());
}

void EntitySystem::registerLocalRequest(const RequestKey& key, const Request& request)
{
    // Local requests live on the requester's entity: without one there is nowhere to keep them.
    EntityRecord* record = request.component ? findRecord(request.component->mOwner) : nullptr;
    if (!record)
        throw std::runtime_error("Can't register a request from an invalid component");

    const RequestId id = getMessageRequestId(key.kind, key.name);
    if (deferChange(id, &FreezeRecord::localRegistrations, key, request))
        return;

    record->getLocalRequests()[id].insert(request);
    noteRequired(key, request, record);
    if (key.kind == ComponentRequest)
        callForExisting(request, key.name, {record->getId()});
}

void EntitySystem::removeGlobalRequest(const RequestKey& key, const Request& request)
{
    if (!isValidRequester(request.component))
        throw std::runtime_error("Can't remove a request from an invalid component");

    const RequestId id = getMessageRequestId(key.kind, key.name);
    if (deferChange(id, &FreezeRecord::globalRemovals, key, request))
        return;

    const auto found = mGlobalRequests.find(id);
    if (found != mGlobalRequests.end())
        found->second.remove(request.component);
}

void EntitySystem::removeLocalRequest(const RequestKey& key, const Request& request)
{
    if (!isValidRequester(request.component))
        throw std::runtime_error("Can't remove a request from an invalid component");

    const RequestId id = getMessageRequestId(key.kind, key.name);
    if (deferChange(id, &FreezeRecord::localRemovals, key, request))
        return;

    EntityRecord* record = findRecord(request.component->mOwner);
    if (!record)
        return;
    auto& localRequests = record->getLocalRequests();
    const auto found = localRequests.find(id);
    if (found != localRequests.end())
        found->second.remove(request.component);
}

void EntitySystem::reprioritizeRequest(Component* component, RequestId id, int priority)
{
    if (FreezeRecord* frozen = findFrozen(id))
    {
        frozen->priorityChanges.push_back({component, id, priority});
        mPendingWork = true;
        return;
    }

    if (EntityRecord* record = findRecord(component ? component->mOwner : 0))
    {
        auto& localRequests = record->getLocalRequests();
        const auto found = localRequests.find(id);
        if (found != localRequests.end())
            found->second.reprioritize(component, priority);
    }
    const auto found = mGlobalRequests.find(id);
    if (found != mGlobalRequests.end())
        found->second.reprioritize(component, priority);
}

RequestList::Snapshot EntitySystem::getGlobalRequests(RequestId id) const
{
    const auto found = mGlobalRequests.find(id);
    return found == mGlobalRequests.end() ? nullptr : found->second.getSnapshot();
}

void EntitySystem::sendGlobalMessage(RequestId id, Message& message)
{
    if (message.sender && !message.sender->isValid())
        throw std::runtime_error("Invalid sender for global message");

    const auto found = mGlobalRequests.find(id);
    if (found != mGlobalRequests.end())
        deliver(found->second.getSnapshot(), message);
}

void EntitySystem::sendLocalMessage(EntityId entity, RequestId id, Message& message)
{
    EntityRecord* record = findRecord(entity);
    if (!record)
        throw std::runtime_error("Can't send a message to a non-existant entity");

    auto& localRequests = record->getLocalRequests();
    const auto found = localRequests.find(id);
    if (found != localRequests.end())
        deliver(found->second.getSnapshot(), message);
}

void EntitySystem::freezeRequest(RequestId id)
{
    FreezeRecord& record = mFreezeTable[id];
    if (mThreaded)
        record.mutex.lock();
    else if (record.frozen)
        return;
    ++mFrozenCount;
    record.frozen = true;
}

void EntitySystem::unfreezeRequest(RequestId id)
{
    FreezeRecord* record = findFrozen(id);
    if (!record)
        throw std::runtime_error("Tried to unfreeze a request that wasn't frozen!");

    // Held since freezeRequest; released when everything queued has been applied.
    std::unique_lock<std::mutex> lock;
    if (mThreaded)
        lock = std::unique_lock<std::mutex>(record->mutex, std::adopt_lock);

    mFrozenCount = std::max(mFrozenCount - 1, 0);
    record->frozen = false;
    applyChanges(*record);
    if (mFrozenCount == 0 && mPendingWork)
    {
        mPendingWork = false;
        replayDestructions();
    }
}

EntityRecord* EntitySystem::findRecord(EntityId entity) const
{
    const auto found = mEntities.find(entity);
    return found == mEntities.end() ? nullptr : found->second.get();
}

std::vector<EntityId> EntitySystem::getEntityIds() const
{
    std::vector<EntityId> entities;
    entities.reserve(mEntities.size());
    for (const auto& entry : mEntities)
        entities.push_back(entry.first);
    std::sort(entities.begin(), entities.end());
    return entities;
}

FreezeRecord* EntitySystem::findFrozen(RequestId id)
{
    const auto found = mFreezeTable.find(id);
    return found != mFreezeTable.end() && found->second.frozen ? &found->second : nullptr;
}

bool EntitySystem::deferChange(RequestId id, ChangeList FreezeRecord::*list, const RequestKey& key,
                               const Request& request)
{
    FreezeRecord* frozen = findFrozen(id);
    if (!frozen)
        return false;
    (frozen->*list).push_back({key, request});
    mPendingWork = true;
    return true;
}

void EntitySystem::applyChanges(FreezeRecord& record)
{
    // Taken out first: applying them may queue new changes.
    const ChangeList localRegistrations = std::exchange(record.localRegistrations, {});
    const ChangeList globalRegistrations = std::exchange(record.globalRegistrations, {});
    const auto priorityChanges = std::exchange(record.priorityChanges, {});
    const ChangeList localRemovals = std::exchange(record.localRemovals, {});
    const ChangeList globalRemovals = std::exchange(record.globalRemovals, {});

    for (const auto& change : localRegistrations)
        registerLocalRequest(change.key, change.request);
    for (const auto& change : globalRegistrations)
        registerGlobalRequest(change.key, change.request);
    for (const auto& change : priorityChanges)
        reprioritizeRequest(change.component, change.id, change.priority);
    for (const auto& change : localRemovals)
        removeLocalRequest(change.key, change.request);
    for (const auto& change : globalRemovals)
        removeGlobalRequest(change.key, change.request);
}

void EntitySystem::replayDestructions()
{
    const std::vector<Component*> components = std::exchange(mDeferredComponents, {});
    const std::vector<EntityId> entities = std::exchange(mDeferredEntities, {});

    // Keeps every queued component alive until the end, so one queued twice is seen as doomed.
    BusyScope busy(*this);
    for (Component* component : components)
        destroyComponent(component);
    for (EntityId entity : entities)
        if (hasEntity(entity))
            destroyEntity(entity);
}

void EntitySystem::noteRequired(const RequestKey& key, const Request& request, EntityRecord* record)
{
    if (request.required && record && !record->isFinalized())
        mRequiredComponents[record->getId()].push_back(key.name);
}

void EntitySystem::callForExisting(const Request& request, const std::string& name,
                                   const std::vector<EntityId>& entities)
{
    std::vector<std::pair<EntityId, Component*>> existing;
    for (EntityId entity : entities)
        for (Component* component : findRecord(entity)->getComponents(name))
            if (component->isValid() && component->mId != request.component->mId)
                existing.emplace_back(entity, component);

    Message message(ComponentAdded, nullptr, nullptr);
    BusyScope busy(*this);
    for (const auto& entry : existing)
    {
        if (isDoomed(request.component))
            return;
        // An earlier call may have destroyed or removed it.
        const EntityRecord* record = findRecord(entry.first);
        if (!record || !record->hasComponent(entry.second))
            continue;
        message.sender = entry.second;
        request.callback(message);
        message.handled = false;
    }
}

bool EntitySystem::hasRequiredComponents(const EntityRecord& record) const
{
    const auto required = mRequiredComponents.find(record.getId());
    if (required == mRequiredComponents.end())
        return true;
    return std::all_of(required->second.begin(), required->second.end(),
                       [&record](const std::string& name) { return record.hasComponentNamed(name); });
}

void EntitySystem::detach(Component& component, EntityRecord* record)
{
    const auto keys = mRequestKeys.find(component.mId);
    if (keys != mRequestKeys.end())
    {
        for (RequestId id : keys->second)
        {
            const auto found = mGlobalRequests.find(id);
            if (found != mGlobalRequests.end())
                found->second.remove(&component);
        }
        mRequestKeys.erase(keys);
    }
    if (!record || !record->removeComponent(&component))
        return;
    for (auto& entry : record->getLocalRequests())
        entry.second.remove(&component);
}

void EntitySystem::announce(Component& component, EntityId entity, MessageType type)
{
    const RequestId id = findRequestId(ComponentRequest, component.mName);
    if (id == 0)
        return;

    Message message(type, &component, nullptr);
    const auto global = mGlobalRequests.find(id);
    if (global != mGlobalRequests.end())
        notify(global->second.getSnapshot(), message, &component);

    // Looked up again: the global handlers may have destroyed the entity.
    EntityRecord* record = findRecord(entity);
    if (!record)
        return;
    auto& localRequests = record->getLocalRequests();
    const auto local = localRequests.find(id);
    if (local != localRequests.end())
        notify(local->second.getSnapshot(), message, nullptr);
}

void EntitySystem::release(Component* component)
{
    if (mBusyDepth > 0)
        mDoomed.push_back(component);
    else
        delete component;
}

bool EntitySystem::isDoomed(const Component* component) const
{
    return std::find(mDoomed.begin(), mDoomed.end(), component) != mDoomed.end();
}

void EntitySystem::deliver(RequestList::Snapshot requests, Message& message)
{
    if (!requests)
        return;
    BusyScope busy(*this);
    for (const Request& request : *requests)
    {
        // Its component was destroyed by an earlier handler of this walk (the list is
        // nearly always empty: the test stays out of the search).
        if (!mDoomed.empty() && isDoomed(request.component))
            continue;
        request.callback(message);
        if (message.handled)
        {
            message.sender = request.component;
            return;
        }
    }
}

void EntitySystem::notify(RequestList::Snapshot requests, Message& message, const Component* skipped)
{
    if (!requests)
        return;
    BusyScope busy(*this);
    for (const Request& request : *requests)
        if (request.component != skipped && (mDoomed.empty() || !isDoomed(request.component)))
            request.callback(message);
}

} // namespace Tessaly
