#include "tools/bot/BotSwarm.hpp"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>

#include <algorithm>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace QEL
{
namespace Bots
{
namespace
{

const auto StepLength = std::chrono::microseconds(30303);
/// Bots are stepped in this many groups spread over each step, as independent clients would be
/// rather than all in the same instant.
constexpr unsigned MaxPhases = 11;
const auto ReportEvery = std::chrono::seconds(10);
/// How long leaving bots may take to say goodbye before they are cut off.
const auto LeaveGrace = std::chrono::seconds(2);
const auto GoodbyePoll = std::chrono::milliseconds(20);
/// Bots connect in turn, this many at a time, as players arriving would: the server caps the
/// connections from one address that have not joined yet.
constexpr std::size_t MaxJoining = 6;

boost::asio::ip::tcp::endpoint resolve(boost::asio::io_context& context, const BotOptions& options)
{
    boost::asio::ip::tcp::resolver resolver(context);
    boost::system::error_code error;
    const auto results = resolver.resolve(options.host, std::to_string(options.port), error);
    if (error || results.empty())
        throw std::runtime_error("Cannot resolve server '" + options.host + "': " + error.message());
    return *results.begin();
}

std::unique_ptr<LandMap> readLand(const BotOptions& options)
{
    if (!options.spread)
        return nullptr;
    try
    {
        return std::make_unique<LandMap>(options.dataDir + "/Example Chunk.png");
    }
    catch (const std::runtime_error& error)
    {
        throw std::runtime_error(std::string(error.what()) +
                                 " for --spread; name the folder that holds it with --data-dir DIR");
    }
}

} // namespace

BotSwarm::BotSwarm(const BotOptions& options) :
mOptions(options),
mServer(resolve(mContext, options)),
mLand(readLand(options)),
mStepTimer(mContext),
mLeaveDeadline(mContext),
mPhases(std::max(1u, std::min(options.count, MaxPhases))),
mTicks(0),
mConnected(0),
mFinished(false)
{
    for (unsigned i = 1; i <= options.count; ++i)
    {
        const std::string name = options.prefix + "-" + std::to_string(i);
        mBots.push_back(
            std::make_unique<Bot>(mContext, name, options.seed * 7919u + i, options.chat, options.quiet, mLand.get()));
        if (options.chatEvery > 0.0)
            mBots.back()->setChatInterval(std::max(1u, static_cast<unsigned>(options.chatEvery / Bot::StepSeconds + 0.5)));
    }
}

void BotSwarm::setObserver(BotObserver* observer)
{
    for (const auto& bot : mBots)
        bot->setObserver(observer);
}

void BotSwarm::run()
{
    mStart = Clock::now();
    mNextTick = mStart;
    mNextReport = mStart + ReportEvery;
    tick();
    mContext.run();
}

void BotSwarm::stop()
{
    boost::asio::post(mContext, [this] { finish(); });
}

boost::asio::io_context& BotSwarm::getContext()
{
    return mContext;
}

const std::vector<std::unique_ptr<Bot>>& BotSwarm::getBots() const
{
    return mBots;
}

BotStats BotSwarm::getTotals() const
{
    BotStats totals;
    for (const auto& bot : mBots)
    {
        const BotStats& stats = bot->getStats();
        totals.joins += stats.joins;
        totals.movesSent += stats.movesSent;
        totals.linesSent += stats.linesSent;
        totals.movesReceived += stats.movesReceived;
        totals.linesReceived += stats.linesReceived;
        totals.playersSeen += stats.playersSeen;
        totals.quitsSeen += stats.quitsSeen;
        totals.worldEvents += stats.worldEvents;
        totals.heartbeats += stats.heartbeats;
    }
    return totals;
}

std::string BotSwarm::getSummary() const
{
    const BotStats totals = getTotals();
    const double seconds = std::chrono::duration<double>(Clock::now() - mStart).count();
    std::ostringstream text;
    text << totals.joins << " of " << mBots.size() << " bots joined and played for " << static_cast<int>(seconds + 0.5)
         << " s\n"
         << "sent: " << totals.movesSent << " movement records, " << totals.linesSent << " chat lines\n"
         << "received: " << totals.movesReceived << " movements, " << totals.linesReceived << " chat lines, "
         << totals.playersSeen << " player announcements, " << totals.quitsSeen << " quits, " << totals.worldEvents
         << " world events, " << totals.heartbeats << " heartbeats\n";
    return text.str();
}

void BotSwarm::tick()
{
    if (mFinished)
        return;
    const auto now = Clock::now();
    const bool timeUp = mOptions.duration > 0 && now - mStart >= std::chrono::duration<double>(mOptions.duration);
    const bool nobodyLeft = std::none_of(mBots.begin(), mBots.end(), [](const std::unique_ptr<Bot>& bot) {
        return bot->getState() != Bot::State::Closed && bot->getState() != Bot::State::Refused;
    });
    if (timeUp || nobodyLeft)
    {
        finish();
        return;
    }
    connectMore();
    // Catch up on ticks a late wake-up missed, so every bot keeps 33 steps a second; after a
    // stall of more than a whole step the missed ones are skipped instead.
    const auto tickLength = StepLength / mPhases;
    if (now - mNextTick > StepLength)
        mNextTick = now;
    while (mNextTick <= now)
    {
        const std::size_t phase = mTicks++ % mPhases;
        for (std::size_t i = phase; i < mBots.size(); i += mPhases)
            mBots[i]->step();
        mNextTick += tickLength;
    }
    report(now);
    mStepTimer.expires_at(mNextTick);
    mStepTimer.async_wait([this](const boost::system::error_code& error) {
        if (!error)
            tick();
    });
}

void BotSwarm::connectMore()
{
    if (mConnected == mBots.size())
        return;
    auto joining = static_cast<std::size_t>(
        std::count_if(mBots.begin(), mBots.begin() + static_cast<std::ptrdiff_t>(mConnected),
                      [](const std::unique_ptr<Bot>& bot) {
                          return bot->getState() == Bot::State::Connecting || bot->getState() == Bot::State::Joining;
                      }));
    for (; mConnected < mBots.size() && joining < MaxJoining; ++joining)
        mBots[mConnected++]->connect(mServer);
}

void BotSwarm::report(Clock::time_point now)
{
    if (mOptions.quiet || now < mNextReport)
        return;
    mNextReport += ReportEvery;
    const BotStats totals = getTotals();
    std::size_t playing = 0;
    for (const auto& bot : mBots)
        playing += bot->getState() == Bot::State::Joined ? 1 : 0;
    std::cout << std::chrono::duration_cast<std::chrono::seconds>(now - mStart).count() << " s: " << playing
              << " bots playing, " << totals.movesSent << " movement records sent, " << totals.movesReceived
              << " received" << std::endl;
}

void BotSwarm::finish()
{
    if (mFinished)
        return;
    mFinished = true;
    mStepTimer.cancel();
    for (const auto& bot : mBots)
        bot->leave();
    awaitGoodbyes(Clock::now() + LeaveGrace);
}

void BotSwarm::awaitGoodbyes(Clock::time_point deadline)
{
    const bool allGone =
        std::all_of(mBots.begin(), mBots.end(), [](const std::unique_ptr<Bot>& bot) { return !bot->isConnected(); });
    if (allGone || Clock::now() >= deadline)
    {
        for (const auto& bot : mBots)
            bot->close();
        // Ends run() even while others (a signal watch) still wait on the context.
        mContext.stop();
        return;
    }
    mLeaveDeadline.expires_after(GoodbyePoll);
    mLeaveDeadline.async_wait([this, deadline](const boost::system::error_code& error) {
        if (!error)
            awaitGoodbyes(deadline);
    });
}

} // namespace Bots
} // namespace QEL
