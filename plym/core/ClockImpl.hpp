#ifndef PLYM_CORE_CLOCKIMPL_HPP
#define PLYM_CORE_CLOCKIMPL_HPP

#include <cstdint>

namespace Plym
{
namespace Time
{

/// The engine's time source.
struct ClockImpl
{
    /// Microseconds on a steady clock (never jumps with the wall clock; arbitrary epoch).
    static std::int64_t now();
};

} // namespace Time
} // namespace Plym

#endif
