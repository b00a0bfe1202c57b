#include "network/LogThrottle.hpp"

namespace QEL
{
namespace Network
{

LogThrottle::LogThrottle(std::size_t lines, Clock::duration interval) : mLines(lines), mInterval(interval)
{
}

std::vector<std::string> LogThrottle::filter(const std::string& kind, const std::string& line, Clock::time_point now)
{
    std::vector<std::string> out;
    const auto found = mKinds.find(kind);
    Interval& interval = found != mKinds.end() ? found->second : mKinds.emplace(kind, Interval{now}).first->second;
    roll(kind, interval, now, out);
    if (interval.printed < mLines)
    {
        ++interval.printed;
        out.push_back(line);
    }
    else
    {
        ++interval.suppressed;
    }
    return out;
}

std::vector<std::string> LogThrottle::sweep(Clock::time_point now)
{
    std::vector<std::string> out;
    for (auto& entry : mKinds)
        roll(entry.first, entry.second, now, out);
    return out;
}

void LogThrottle::roll(const std::string& kind, Interval& interval, Clock::time_point now,
                       std::vector<std::string>& out) const
{
    if (now - interval.start < mInterval)
        return;
    if (interval.suppressed > 0)
        out.push_back("... " + std::to_string(interval.suppressed) + " more '" + kind + "' lines suppressed");
    interval = Interval{now};
}

} // namespace Network
} // namespace QEL
