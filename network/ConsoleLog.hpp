#ifndef QEL_NETWORK_CONSOLELOG_HPP
#define QEL_NETWORK_CONSOLELOG_HPP

#include "network/LogThrottle.hpp"

#include <mutex>
#include <string>
#include <vector>

namespace QEL
{
namespace Network
{

/// The console lines a server can cause once per packet (packets dropped), held to a rate so
/// that a hostile server cannot flood the player's console: at most `LinesPerKind` lines of a
/// kind per `Interval`, the rest counted in one line. Safe to use from any thread.
class ConsoleLog
{
public:
    static constexpr std::size_t LinesPerKind = 32;
    static constexpr auto Interval = std::chrono::seconds(10);

    ConsoleLog();

    /// Prints `line`, unless lines of `kind` are over their limit.
    void say(const std::string& kind, const std::string& line);

    /// Prints the count of the lines held back of every kind whose interval has ended.
    void flush();

private:
    void print(const std::vector<std::string>& lines) const;

    std::mutex mMutex;
    LogThrottle mThrottle;
};

} // namespace Network
} // namespace QEL

#endif
