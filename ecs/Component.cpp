#include "ecs/Component.hpp"

#include "ecs/EntitySystem.hpp"

#include <stdexcept>
#include <utility>

namespace Tessaly
{

Component::Component(const std::string& name) : mName(name)
{
}

Component::~Component() = default;

void Component::addedToEntity()
{
}

bool Component::isValid() const
{
    return mOwner != 0 && mId != 0 && mSystem != nullptr && !mName.empty();
}

std::string Component::toString() const
{
    return "Component #" + std::to_string(mId) + " \"" + mName + "\" owned by entity #" + std::to_string(mOwner);
}

void Component::addLocalComponent(Component* component)
{
    getOwnSystem().addComponent(mOwner, component);
}

void Component::destroy()
{
    mDestroyed = true;
    getOwnSystem().destroyComponent(this);
}

RequestId Component::getMessageRequestId(const std::string& name)
{
    return getOwnSystem().getMessageRequestId(MessageRequest, name);
}

void Component::requestMessage(const std::string& name, MessageFunction callback, bool local)
{
    request(MessageRequest, name, std::move(callback), false, local);
}

void Component::requestComponent(const std::string& name, MessageFunction callback, bool local)
{
    request(ComponentRequest, name, std::move(callback), false, local);
}

void Component::requireComponent(const std::string& name, MessageFunction callback, bool local)
{
    request(ComponentRequest, name, std::move(callback), true, local);
}

void Component::unrequestMessage(const std::string& name, bool local)
{
    const RequestKey key{MessageRequest, name};
    const Request registration{this, {}, false, 0};
    if (local)
        getOwnSystem().removeLocalRequest(key, registration);
    else
        getOwnSystem().removeGlobalRequest(key, registration);
}

void Component::changeRequestPriority(RequestId id, int priority)
{
    getOwnSystem().reprioritizeRequest(this, id, priority);
}

void Component::sendGlobalMessage(RequestId id, const Message& message)
{
    sendGlobalQuestion(id, message);
}

Message Component::sendGlobalQuestion(RequestId id, const Message& message)
{
    Message delivered(message);
    getOwnSystem().sendGlobalMessage(id, delivered);
    return delivered;
}

void Component::sendMessage(RequestId id, const Message& message)
{
    sendQuestionToEntity(mOwner, id, message);
}

void Component::sendMessageToEntity(EntityId entity, RequestId id, const Message& message)
{
    sendQuestionToEntity(entity, id, message);
}

Message Component::sendQuestion(RequestId id, const Message& message)
{
    return sendQuestionToEntity(mOwner, id, message);
}

Message Component::sendQuestionToEntity(EntityId entity, RequestId id, const Message& message)
{
    Message delivered(message);
    getOwnSystem().sendLocalMessage(entity, id, delivered);
    return delivered;
}

void Component::sendGlobalMessage(const std::string& name, const boost::any& payload)
{
    sendGlobalQuestion(name, payload);
}

Message Component::sendGlobalQuestion(const std::string& name, const boost::any& payload)
{
    Message message(Custom, this, payload);
    getOwnSystem().sendGlobalMessage(getMessageRequestId(name), message);
    return message;
}

void Component::sendMessage(const std::string& name, const boost::any& payload)
{
    sendQuestionToEntity(mOwner, name, payload);
}

void Component::sendMessageToEntity(EntityId entity, const std::string& name, const boost::any& payload)
{
    sendQuestionToEntity(entity, name, payload);
}

Message Component::sendQuestion(const std::string& name, const boost::any& payload)
{
    return sendQuestionToEntity(mOwner, name, payload);
}

Message Component::sendQuestionToEntity(EntityId entity, const std::string& name, const boost::any& payload)
{
    Message message(Custom, this, payload);
    getOwnSystem().sendLocalMessage(entity, getMessageRequestId(name), message);
    return message;
}

void Component::request(RequestKind kind, const std::string& name, MessageFunction callback, bool required, bool local)
{
    const RequestKey key{kind, name};
    const Request registration{this, std::move(callback), required, 0};
    if (local)
        getOwnSystem().registerLocalRequest(key, registration);
    else
        getOwnSystem().registerGlobalRequest(key, registration);
}

EntitySystem& Component::getOwnSystem() const
{
    if (!mSystem)
        throw std::runtime_error("Assertion \"mSystem\" failed!");
    return *mSystem;
}

std::ostream& operator<<(std::ostream& stream, const Component& component)
{
    return stream << component.toString();
}

} // namespace Tessaly
