#include "plym/core/ClockImpl.hpp"

#include <chrono>

namespace Plym
{
namespace Time
{

std::int64_t ClockImpl::now()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace Time
} // namespace Plym
