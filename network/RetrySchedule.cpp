#include "network/RetrySchedule.hpp"

#include "network/Protocol.hpp"

#include <algorithm>

namespace QEL
{
namespace Network
{

void RetrySchedule::reset()
{
    mFailures = 0;
    mNameTaken = 0;
}

std::int64_t RetrySchedule::nextDelay()
{
    // Past 2^4 the doubling has long reached the cap; the shift stays small.
    const unsigned doublings = std::min(mFailures, 4u);
    ++mFailures;
    return std::min(FirstDelay << doublings, LongestDelay);
}

bool RetrySchedule::allowsRetry(std::uint8_t joinResult)
{
    if (joinResult == Protocol::JoinAccepted)
        return true;
    if (joinResult != Protocol::JoinNameTaken)
        return false;
    return ++mNameTaken <= NameTakenTries;
}

} // namespace Network
} // namespace QEL
