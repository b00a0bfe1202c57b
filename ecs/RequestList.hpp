#ifndef TESSALY_REQUESTLIST_HPP
#define TESSALY_REQUESTLIST_HPP

#include "ecs/Request.hpp"

#include <cstddef>
#include <memory>
#include <vector>

namespace Tessaly
{

/// The requests of one id, sorted by ascending priority (among equal priorities
/// the most recently inserted first). Copy-on-write: a snapshot shares the
/// sequence, and a change made while a snapshot is alive builds a new one, so a
/// delivery walking a snapshot never sees changes made by its handlers.
class RequestList
{
public:
    using Sequence = std::vector<Request>;
    using Snapshot = std::shared_ptr<const Sequence>;

    /// Inserts before the first request whose priority is not less than the new one's.
    void insert(const Request& request);

    /// Moves the first request of the component to the place its new priority gives it.
    void reprioritize(const Component* component, std::int32_t priority);

    /// Drops every request of the component.
    void remove(const Component* component);

    /// The current sequence; null while nothing was ever inserted.
    Snapshot getSnapshot() const { return mRequests; }

    std::size_t getSize() const { return mRequests ? mRequests->size() : 0; }

private:
    /// The sequence to change, copied first when a snapshot still shares it.
    Sequence& edit();

    std::shared_ptr<Sequence> mRequests;
};

} // namespace Tessaly

#endif
