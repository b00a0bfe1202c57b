#ifndef PLYM_CORE_CLOCK_HPP
#define PLYM_CORE_CLOCK_HPP

#include <cstdint>

namespace Plym
{
namespace Time
{

/// Stopwatch in microseconds, started on construction.
class Clock
{
public:
    Clock();

    /// Time since the last restart; starts counting again from now.
    std::int64_t restart();

    std::int64_t getElapsed() const;

private:
    std::int64_t mStart;
};

} // namespace Time
} // namespace Plym

#endif
