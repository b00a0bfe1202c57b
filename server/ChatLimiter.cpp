#include "server/ChatLimiter.hpp"

namespace QEL
{
namespace Hosting
{

ChatLimiter::ChatLimiter(std::size_t lines, Clock::duration window) : mLines(lines), mWindow(window)
{
}

bool ChatLimiter::allow(Clock::time_point now)
{
    while (!mRecent.empty() && now - mRecent.front() >= mWindow)
        mRecent.pop_front();
    if (mRecent.size() >= mLines)
        return false;
    mRecent.push_back(now);
    return true;
}

} // namespace Hosting
} // namespace QEL
