#ifndef TESSALY_REQUEST_HPP
#define TESSALY_REQUEST_HPP

#include "ecs/Message.hpp"

#include <cstdint>
#include <functional>
#include <string>

namespace Tessaly
{

class Component;

using MessageFunction = std::function<void(Message&)>;

enum RequestKind : std::uint32_t
{
    MessageRequest = 0,   ///< a named message
    ComponentRequest = 1  ///< components of a name being added or destroyed
};

/// What a request listens to: a kind and a name, resolved to one RequestId.
struct RequestKey
{
    RequestKind kind;
    std::string name;
};

/// One registration of a component for a request id.
struct Request
{
    Component* component = nullptr;
    MessageFunction callback;
    bool required = false;  ///< the entity must have the component when finalized
    std::int32_t priority = 0;  ///< lower priorities are called first
};

} // namespace Tessaly

#endif
