#ifndef QEL_NETWORK_LOGTHROTTLE_HPP
#define QEL_NETWORK_LOGTHROTTLE_HPP

#include <chrono>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace QEL
{
namespace Network
{

/// Keeps a hostile peer from flooding a console: at most `lines` lines of each kind per
/// `interval`; the lines held back are counted and summed up in one line when the interval ends.
class LogThrottle
{
public:
    using Clock = std::chrono::steady_clock;

    LogThrottle(std::size_t lines, Clock::duration interval);

    /// The lines to print for `line` of `kind` said at `now`: the summary of the kind's last
    /// interval if it held lines back, then `line` unless the kind is over its limit.
    std::vector<std::string> filter(const std::string& kind, const std::string& line, Clock::time_point now);

    /// The summaries of every kind whose interval has ended by `now` with lines held back.
    std::vector<std::string> sweep(Clock::time_point now);

private:
    struct Interval
    {
        Clock::time_point start;
        std::size_t printed = 0;
        std::size_t suppressed = 0;
    };

    /// Ends the interval when it is over, adding its summary to `out` if it held lines back.
    void roll(const std::string& kind, Interval& interval, Clock::time_point now, std::vector<std::string>& out) const;

    std::size_t mLines;
    Clock::duration mInterval;
    std::map<std::string, Interval> mKinds;
};

} // namespace Network
} // namespace QEL

#endif
