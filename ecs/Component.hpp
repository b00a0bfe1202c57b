#ifndef TESSALY_COMPONENT_HPP
#define TESSALY_COMPONENT_HPP

#include "ecs/Message.hpp"
#include "ecs/Request.hpp"
#include "ecs/Types.hpp"

#include <boost/any.hpp>

#include <ostream>
#include <string>

namespace Tessaly
{

class EntitySystem;

/// Base of every game component. Created through EntitySystem::createComponent,
/// attached to one entity by addComponent, owned and deleted by the entity system.
/// The request and send members act on the component's own entity system with the
/// component itself as requester.
class Component
{
public:
    explicit Component(const std::string& name);
    virtual ~Component();

    Component(const Component&) = delete;
    Component& operator=(const Component&) = delete;

    /// Called once right after the component was attached; the place to make requests.
    virtual void addedToEntity();

    EntityId getOwner() const { return mOwner; }
    EntitySystem* getSystem() const { return mSystem; }
    ComponentId getId() const { return mId; }
    const std::string& getName() const { return mName; }
    bool isDestroyed() const { return mDestroyed; }

    /// Owner, id and system set and a name given.
    bool isValid() const;

    /// Component #<id> "<name>" owned by entity #<owner>
    std::string toString() const;

    /// Attaches another component to this component's entity.
    void addLocalComponent(Component* component);

    /// Has the entity system destroy (and delete) this component.
    void destroy();

    RequestId getMessageRequestId(const std::string& name);

    void requestMessage(const std::string& name, MessageFunction callback, bool local = false);
    void requestComponent(const std::string& name, MessageFunction callback, bool local = false);
    void requireComponent(const std::string& name, MessageFunction callback, bool local = false);

    /// Member-function forms, bound to this component.
    template <class C>
    void requestMessage(const std::string& name, void (C::*handler)(Message&), bool local = false);
    template <class C>
    void requestMessage(const std::string& name, void (C::*handler)(const Message&), bool local = false);
    template <class C>
    void requestComponent(const std::string& name, void (C::*handler)(Message&), bool local = false);
    template <class C>
    void requestComponent(const std::string& name, void (C::*handler)(const Message&), bool local = false);
    template <class C>
    void requireComponent(const std::string& name, void (C::*handler)(Message&), bool local = false);
    template <class C>
    void requireComponent(const std::string& name, void (C::*handler)(const Message&), bool local = false);

    void unrequestMessage(const std::string& name, bool local = false);
    void changeRequestPriority(RequestId id, int priority);

    /// These deliver a copy of the message; the question forms return the delivered copy.
    void sendGlobalMessage(RequestId id, const Message& message);
    Message sendGlobalQuestion(RequestId id, const Message& message);
    void sendMessage(RequestId id, const Message& message);
    void sendMessageToEntity(EntityId entity, RequestId id, const Message& message);
    Message sendQuestion(RequestId id, const Message& message);
    Message sendQuestionToEntity(EntityId entity, RequestId id, const Message& message);

    /// Thin forms: a Custom message from this component carrying the payload, sent under the name.
    void sendGlobalMessage(const std::string& name, const boost::any& payload);
    Message sendGlobalQuestion(const std::string& name, const boost::any& payload);
    void sendMessage(const std::string& name, const boost::any& payload);
    void sendMessageToEntity(EntityId entity, const std::string& name, const boost::any& payload);
    Message sendQuestion(const std::string& name, const boost::any& payload);
    Message sendQuestionToEntity(EntityId entity, const std::string& name, const boost::any& payload);

private:
    friend class EntitySystem;

    template <class C, class Argument>
    MessageFunction bind(void (C::*handler)(Argument));

    void request(RequestKind kind, const std::string& name, MessageFunction callback, bool required, bool local);

    /// The system this component belongs to; throws when it belongs to none.
    EntitySystem& getOwnSystem() const;

    EntityId mOwner = 0;
    EntitySystem* mSystem = nullptr;
    ComponentId mId = 0;
    std::string mName;
    bool mDestroyed = false;
};

std::ostream& operator<<(std::ostream& stream, const Component& component);

template <class C, class Argument>
MessageFunction Component::bind(void (C::*handler)(Argument))
{
    C* object = static_cast<C*>(this);
    return [object, handler](Message& message) { (object->*handler)(message); };
}

template <class C>
void Component::requestMessage(const std::string& name, void (C::*handler)(Message&), bool local)
{
    request(MessageRequest, name, bind(handler), false, local);
}

template <class C>
void Component::requestMessage(const std::string& name, void (C::*handler)(const Message&), bool local)
{
    request(MessageRequest, name, bind(handler), false, local);
}

template <class C>
void Component::requestComponent(const std::string& name, void (C::*handler)(Message&), bool local)
{
    request(ComponentRequest, name, bind(handler), false, local);
}

template <class C>
void Component::requestComponent(const std::string& name, void (C::*handler)(const Message&), bool local)
{
    request(ComponentRequest, name, bind(handler), false, local);
}

template <class C>
void Component::requireComponent(const std::string& name, void (C::*handler)(Message&), bool local)
{
    request(ComponentRequest, name, bind(handler), true, local);
}

template <class C>
void Component::requireComponent(const std::string& name, void (C::*handler)(const Message&), bool local)
{
    request(ComponentRequest, name, bind(handler), true, local);
}

} // namespace Tessaly

#endif
