#ifndef QEL_NETWORK_RETRYSCHEDULE_HPP
#define QEL_NETWORK_RETRYSCHEDULE_HPP

#include <cstdint>

namespace QEL
{
namespace Network
{

/// When the client tries again after a failed or lost connection: 2 s after the first failure,
/// then twice as long after each failure in a row, at most 30 s. A join refused because the
/// name is still taken (the server has not yet dropped our lost connection) is tried again a
/// few times; any other refusal ends the tries.
class RetrySchedule
{
public:
    static constexpr std::int64_t FirstDelay = 2000000;    ///< microseconds
    static constexpr std::int64_t LongestDelay = 30000000; ///< microseconds
    /// Refusals for a taken name in a row before the client gives up: about a minute and a
    /// half, three times the server's default idle time-out.
    static constexpr unsigned NameTakenTries = 6;

    /// Forgets every failure: the next delay is the first one again (after a join).
    void reset();

    /// Counts one more failure and returns how long to wait before the next try (microseconds).
    std::int64_t nextDelay();

    /// Whether the client tries again after a connection that ended with this join result
    /// (0 when the server never refused); counts refusals for a taken name.
    bool allowsRetry(std::uint8_t joinResult);

    /// Tries scheduled since the last reset: the number of the coming try.
    unsigned getTries() const { return mFailures; }

private:
    unsigned mFailures = 0;
    unsigned mNameTaken = 0;
};

} // namespace Network
} // namespace QEL

#endif
