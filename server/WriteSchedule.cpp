#include "server/WriteSchedule.hpp"

#include "server/Session.hpp"

#include <boost/asio/post.hpp>

#include <time.h>

#include <utility>

namespace QEL
{
namespace Hosting
{
namespace
{

/// Writes due this close together leave on one timer expiry: the timer then wakes the loop at
/// most a thousand times a second, however many connections write.
constexpr std::chrono::milliseconds Slack(1);

/// How often the load is measured.
constexpr std::chrono::milliseconds LoadPeriod(200);

/// CPU time the calling thread has used.
std::chrono::nanoseconds threadTime()
{
    timespec time{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec);
}

} // namespace

WriteSchedule::WriteSchedule(boost::asio::io_context& context, Clock::duration interval) :
mContext(context),
mTimer(context),
mPace(interval),
mSampleCpu(0),
mReadyPosted(false),
mArmed(false),
mStopped(false)
{
}

void WriteSchedule::request(std::shared_ptr<Session> session, Clock::time_point lastWrite)
{
    if (mStopped)
        return;
    const Clock::time_point now = Clock::now();
    sampleLoad(now);
    const Clock::time_point due = lastWrite + mPace.getInterval();
    if (due <= now)
    {
        mReady.push_back(std::move(session));
        if (!mReadyPosted)
        {
            mReadyPosted = true;
            boost::asio::post(mContext, [this] { flushReady(); });
        }
        return;
    }
    mWaiting.push(Entry{due, std::move(session)});
    if (!mArmed || due + Slack < mArmedFor)
        arm(due);
}

void WriteSchedule::stop()
{
    mStopped = true;
    mTimer.cancel();
    mWaiting = {};
    mReady.clear();
}

void WriteSchedule::sampleLoad(Clock::time_point now)
{
    if (now - mSampleStart < LoadPeriod)
        return;
    const std::chrono::nanoseconds cpu = threadTime();
    // The first call only opens a period: the schedule is built on another thread than the loop's.
    if (mSampleStart != Clock::time_point())
        mPace.adjust(std::chrono::duration<double>(cpu - mSampleCpu) / (now - mSampleStart));
    mSampleStart = now;
    mSampleCpu = cpu;
}

void WriteSchedule::flushReady()
{
    mReadyPosted = false;
    std::vector<std::shared_ptr<Session>> ready;
    ready.swap(mReady);
    for (const auto& session : ready)
        session->flush();
}

void WriteSchedule::arm(Clock::time_point time)
{
    mArmed = true;
    mArmedFor = time;
    mTimer.expires_at(time);
    mTimer.async_wait([this](const boost::system::error_code& error) { onTimer(error); });
}

void WriteSchedule::onTimer(const boost::system::error_code& error)
{
    // A wait that a later arm() cancelled leaves the newer wait in charge.
    if (error || mStopped)
        return;
    mArmed = false;
    const Clock::time_point horizon = Clock::now() + Slack;
    while (!mWaiting.empty() && mWaiting.top().due <= horizon)
    {
        // The entry leaves the queue before its flush, which may request again.
        const std::shared_ptr<Session> session = mWaiting.top().session;
        mWaiting.pop();
        session->flush();
    }
    if (!mWaiting.empty())
        arm(mWaiting.top().due);
}

} // namespace Hosting
} // namespace QEL
