#ifndef TESSALY_MESSAGE_HPP
#define TESSALY_MESSAGE_HPP

#include <boost/any.hpp>

#include <cstdint>
#include <utility>

namespace Tessaly
{

class Component;

enum MessageType : std::uint32_t
{
    ComponentAdded = 0,
    ComponentDestroyed = 1,
    Custom = 2
};

/// What travels to every handler of a request. A handler that sets handled
/// stops the delivery and becomes the sender; copying clones the payload.
struct Message
{
    Message(MessageType type = Custom, Component* sender = nullptr, boost::any payload = {})
        : type(type), sender(sender), payload(std::move(payload))
    {
    }

    MessageType type;
    Component* sender;
    boost::any payload;
    bool handled = false;
};

} // namespace Tessaly

#endif
