#ifndef QEL_BOT_BOTSWARM_HPP
#define QEL_BOT_BOTSWARM_HPP

#include "tools/bot/Bot.hpp"
#include "tools/bot/BotOptions.hpp"
#include "tools/bot/LandMap.hpp"

#include <boost/asio/io_context.hpp>
#include <boost/asio/steady_timer.hpp>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace QEL
{
namespace Bots
{

class BotObserver;

/// A group of bots driven by one thread: connects them, steps them every 1/33 s for the run's
/// duration, then has them leave.
class BotSwarm
{
public:
    using Clock = std::chrono::steady_clock;

    /// Resolves the server address and, for spread bots, reads the world map; throws
    /// std::runtime_error when either cannot be done.
    explicit BotSwarm(const BotOptions& options);

    void setObserver(BotObserver* observer);

    /// Plays the whole run; returns once every bot has left.
    void run();

    /// Ends the run early; safe from any thread.
    void stop();

    boost::asio::io_context& getContext();
    const std::vector<std::unique_ptr<Bot>>& getBots() const;

    /// The sum of every bot's figures.
    BotStats getTotals() const;

    /// A few lines telling what the run did.
    std::string getSummary() const;

private:
    void tick();
    /// Connects the next bots while few are still joining.
    void connectMore();
    void report(Clock::time_point now);
    void finish();
    /// Waits until every bot has closed, cutting off the rest at the deadline.
    void awaitGoodbyes(Clock::time_point deadline);

    BotOptions mOptions;
    boost::asio::io_context mContext;
    boost::asio::ip::tcp::endpoint mServer;
    std::unique_ptr<LandMap> mLand;  ///< only for spread bots
    boost::asio::steady_timer mStepTimer;
    boost::asio::steady_timer mLeaveDeadline;
    std::vector<std::unique_ptr<Bot>> mBots;
    Clock::time_point mStart;
    Clock::time_point mNextTick;
    Clock::time_point mNextReport;
    std::size_t mPhases;  ///< groups of bots stepped in turn, one group per tick
    std::uint64_t mTicks;
    std::size_t mConnected;  ///< bots told to connect, from the first on
    bool mFinished;
};

} // namespace Bots
} // namespace QEL

#endif
