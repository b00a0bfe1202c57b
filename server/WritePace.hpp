#ifndef QEL_SERVER_WRITEPACE_HPP
#define QEL_SERVER_WRITEPACE_HPP

#include <chrono>

namespace QEL
{
namespace Hosting
{

/// How long a connection's records gather between writes. A write costs the server far more
/// than the records in it, so while the server's thread is busy more than three quarters of
/// the time the gathering lengthens, up to three times the configured interval, and it shortens
/// again as the load falls. An interval of zero stays zero: records leave as soon as the loop is
/// free.
class WritePace
{
public:
    using Clock = std::chrono::steady_clock;

    explicit WritePace(Clock::duration base);

    /// Takes the share of the last period the thread was busy (0 to 1); returns the interval
    /// from now on.
    Clock::duration adjust(double busy);

    Clock::duration getInterval() const;

private:
    Clock::duration mBase;
    Clock::duration mInterval;
};

} // namespace Hosting
} // namespace QEL

#endif
