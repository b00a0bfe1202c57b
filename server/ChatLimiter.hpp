#ifndef QEL_SERVER_CHATLIMITER_HPP
#define QEL_SERVER_CHATLIMITER_HPP

#include <chrono>
#include <cstddef>
#include <deque>

namespace QEL
{
namespace Hosting
{

/// Sliding-window rate limit: at most `lines` chat lines in any `window` of time.
class ChatLimiter
{
public:
    using Clock = std::chrono::steady_clock;

    ChatLimiter(std::size_t lines, Clock::duration window);

    /// True when a line said at `now` may pass; passing lines count against the limit.
    bool allow(Clock::time_point now);

private:
    std::size_t mLines;
    Clock::duration mWindow;
    std::deque<Clock::time_point> mRecent;
};

} // namespace Hosting
} // namespace QEL

#endif
