#include "network/ConsoleLog.hpp"

#include <iostream>

namespace QEL
{
namespace Network
{

ConsoleLog::ConsoleLog() : mThrottle(LinesPerKind, Interval)
{
}

void ConsoleLog::say(const std::string& kind, const std::string& line)
{
    const std::lock_guard<std::mutex> lock(mMutex);
    print(mThrottle.filter(kind, line, LogThrottle::Clock::now()));
}

void ConsoleLog::flush()
{
    const std::lock_guard<std::mutex> lock(mMutex);
    print(mThrottle.sweep(LogThrottle::Clock::now()));
}

void ConsoleLog::print(const std::vector<std::string>& lines) const
{
    for (const std::string& line : lines)
        std::cout << line << std::endl;
}

} // namespace Network
} // namespace QEL
