#ifndef QEL_SERVER_TOKENBUCKET_HPP
#define QEL_SERVER_TOKENBUCKET_HPP

#include <chrono>

namespace QEL
{
namespace Hosting
{

/// Rate limit that allows bursts: tokens accrue at `rate` per second up to `burst`, and each
/// thing let through takes one. Starts full. Kept as the time at which the bucket would be
/// full again, in whole clock ticks, so that no rounding ever lets one more through.
class TokenBucket
{
public:
    using Clock = std::chrono::steady_clock;

    TokenBucket(double rate, double burst);

    /// Takes a token when one is there at `now`; false (and nothing taken) otherwise.
    bool take(Clock::time_point now);

    /// How long from `now` until a token is there (zero when one is).
    Clock::duration untilNext(Clock::time_point now) const;

private:
    Clock::duration mInterval;   ///< time one token takes to accrue
    Clock::duration mTolerance;  ///< how far ahead of `now` the full time may lie: burst - 1 tokens
    Clock::time_point mFull;     ///< when the bucket is full again, given what was taken
};

} // namespace Hosting
} // namespace QEL

#endif
