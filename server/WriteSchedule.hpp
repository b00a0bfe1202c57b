#ifndef QEL_SERVER_WRITESCHEDULE_HPP
#define QEL_SERVER_WRITESCHEDULE_HPP

#include "server/WritePace.hpp"

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>

#include <chrono>
#include <memory>
#include <queue>
#include <vector>

namespace QEL
{
namespace Hosting
{

class Session;

/// When each connection writes next. A connection writes at most once per interval, on a
/// phase of its own: a thousand connections then write spread over the interval instead of in
/// one burst, in which the last would wait for all the others' writes. The interval follows the
/// load of the thread that runs the loop (see WritePace).
class WriteSchedule
{
public:
    using Clock = std::chrono::steady_clock;

    WriteSchedule(boost::asio::io_context& context, Clock::duration interval);

    /// Has `session` flush one interval after its last write began, or as soon as the loop is
    /// free when that time has passed.
    void request(std::shared_ptr<Session> session, Clock::time_point lastWrite);

    /// Forgets every request; later ones are ignored.
    void stop();

private:
    struct Entry
    {
        Clock::time_point due;
        std::shared_ptr<Session> session;
    };

    struct Later
    {
        bool operator()(const Entry& a, const Entry& b) const { return a.due > b.due; }
    };

    /// Measures the loop thread's busy share once a period and sets the interval by it.
    void sampleLoad(Clock::time_point now);
    void flushReady();
    void arm(Clock::time_point time);
    void onTimer(const boost::system::error_code& error);

    boost::asio::io_context& mContext;
    boost::asio::steady_timer mTimer;
    WritePace mPace;
    Clock::time_point mSampleStart;      ///< start of the load period under way; zero before the first
    std::chrono::nanoseconds mSampleCpu; ///< the thread's CPU time then
    std::priority_queue<Entry, std::vector<Entry>, Later> mWaiting;
    std::vector<std::shared_ptr<Session>> mReady;  ///< due already; flushed by one posted handler
    bool mReadyPosted;
    bool mArmed;
    Clock::time_point mArmedFor;
    bool mStopped;
};

} // namespace Hosting
} // namespace QEL

#endif
