#include "ecs/RequestList.hpp"

#include <algorithm>

namespace Tessaly
{
namespace
{

bool hasLowerPriority(const Request& request, std::int32_t priority)
{
    return request.priority < priority;
}

} // namespace

void RequestList::insert(const Request& request)
{
    Sequence& requests = edit();
    auto position = std::lower_bound(requests.begin(), requests.end(), request.priority, hasLowerPriority);
    requests.insert(position, request);
}

void RequestList::reprioritize(const Component* component, std::int32_t priority)
{
    if (!mRequests)
        return;
    auto isOfComponent = [component](const Request& request) { return request.component == component; };
    auto found = std::find_if(mRequests->begin(), mRequests->end(), isOfComponent);
    if (found == mRequests->end())
        return;

    const auto index = found - mRequests->begin();
    Sequence& requests = edit();
    auto moved = requests.begin() + index;
    moved->priority = priority;

    // Both sides of the moved request are still sorted: it goes before the first
    // request not lower than its new priority, which lies on one side or the other.
    auto before = std::lower_bound(requests.begin(), moved, priority, hasLowerPriority);
    if (before != moved)
        std::rotate(before, moved, moved + 1);
    else
        std::rotate(moved, moved + 1, std::lower_bound(moved + 1, requests.end(), priority, hasLowerPriority));
}

void RequestList::remove(const Component* component)
{
    if (!mRequests)
        return;
    auto isOfComponent = [component](const Request& request) { return request.component == component; };
    if (std::none_of(mRequests->begin(), mRequests->end(), isOfComponent))
        return;
    Sequence& requests = edit();
    requests.erase(std::remove_if(requests.begin(), requests.end(), isOfComponent), requests.end());
}

RequestList::Sequence& RequestList::edit()
{
    if (!mRequests)
        mRequests = std::make_shared<Sequence>();
    else if (mRequests.use_count() > 1)
        mRequests = std::make_shared<Sequence>(*mRequests);
    return *mRequests;
}

} // namespace Tessaly
