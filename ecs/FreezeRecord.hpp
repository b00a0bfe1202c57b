#ifndef TESSALY_FREEZERECORD_HPP
#define TESSALY_FREEZERECORD_HPP

#include "ecs/Request.hpp"
#include "ecs/Types.hpp"

#include <cstdint>
#include <mutex>
#include <vector>

namespace Tessaly
{

/// The changes to one request id held back while it is frozen.
struct FreezeRecord
{
    struct Change
    {
        RequestKey key;
        Request request;
    };

    struct PriorityChange
    {
        Component* component;
        RequestId id;
        std::int32_t priority;
    };

    bool frozen = false;
    std::mutex mutex;  ///< held from freeze to unfreeze when the system is threaded
    std::vector<PriorityChange> priorityChanges;
    std::vector<Change> localRegistrations;
    std::vector<Change> globalRegistrations;
    std::vector<Change> localRemovals;
    std::vector<Change> globalRemovals;
};

} // namespace Tessaly

#endif
