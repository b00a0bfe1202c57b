#ifndef QEL_APP_STEPTIMER_HPP
#define QEL_APP_STEPTIMER_HPP

#include <cstdint>

namespace QEL
{

/// Turns measured frame times into fixed update steps of 1/33 second.
/// A frame counts at most 50 ms, so a stall never produces a burst of catch-up steps.
class StepTimer
{
public:
    static constexpr std::int64_t StepMicroseconds = 1000000 / 33;  // 30303
    static constexpr float StepSeconds = 1.f / 33.f;
    static constexpr std::int64_t MaxFrameMicroseconds = 50000;

    /// Adds a measured frame time; returns the time actually counted.
    std::int64_t addFrame(std::int64_t microseconds);

    /// Takes one step out of the accumulated time when enough has gathered.
    bool consumeStep();

    std::int64_t getAccumulator() const { return mAccumulator; }

private:
    std::int64_t mAccumulator = 0;
};

} // namespace QEL

#endif
