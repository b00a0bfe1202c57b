// The server under load: N bots join one in-process server and stream their movement 11 times a
// second, as game clients do. Near the centre every record is relayed to the N - 1 others (they
// are all within each other's interest radius); spread over the island, only to the bots near
// the sender. Measured over a window after all have joined: records relayed per second (with
// the records of bots coming into and leaving each other's area), the server thread's CPU time, and
// the relay latency from a bot's send to another bot's receipt (the send time travels in the
// height field of the position). With a flooder, one more client joins and streams movement
// as fast as its socket takes it, joining again each time the server drops it.

#include "network/Packet.hpp"
#include "network/Protocol.hpp"
#include "server/Server.hpp"
#include "tools/bot/BotObserver.hpp"
#include "tools/bot/BotSwarm.hpp"

#include <benchmark/benchmark.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>

#include <pthread.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <memory>
#include <future>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds Warmup(2);
constexpr std::chrono::seconds Window(8);
/// The window opens this long after the last bot has joined, once the welcomes are written.
constexpr std::chrono::seconds Settle(1);
/// A run whose bots cannot all join ends after this long, its window never opened.
constexpr std::chrono::seconds LongestRun(120);

/// Microseconds modulo 2^24: exactly representable in a float.
constexpr std::uint32_t StampMask = 0xFFFFFF;

std::uint32_t stamp(Clock::time_point time)
{
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(time.time_since_epoch());
    return static_cast<std::uint32_t>(micros.count()) & StampMask;
}

double threadSeconds(clockid_t clock)
{
    timespec time{};
    clock_gettime(clock, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

/// Seconds a thread spent ready to run but waiting for a core: on a shared machine this, not
/// the server, is what stretches the latencies.
double waitingSeconds(pid_t thread)
{
    std::ifstream stats("/proc/self/task/" + std::to_string(thread) + "/schedstat");
    double running = 0.0;
    double waiting = 0.0;
    stats >> running >> waiting;
    return waiting * 1e-9;
}

/// Latencies in 10 µs buckets up to one second.
class Histogram
{
public:
    Histogram() : mBuckets(100001, 0) {}

    void add(std::uint32_t micros)
    {
        ++mBuckets[std::min<std::size_t>(micros / 10, mBuckets.size() - 1)];
        ++mCount;
    }

    std::uint64_t getCount() const { return mCount; }

    /// Milliseconds below which the fraction q of the samples lie.
    double quantile(double q) const
    {
        const auto wanted = static_cast<std::uint64_t>(q * static_cast<double>(mCount));
        std::uint64_t seen = 0;
        for (std::size_t i = 0; i < mBuckets.size(); ++i)
        {
            seen += mBuckets[i];
            if (seen > wanted)
                return static_cast<double>(i + 1) * 0.01;
        }
        return static_cast<double>(mBuckets.size()) * 0.01;
    }

private:
    std::vector<std::uint64_t> mBuckets;
    std::uint64_t mCount = 0;
};

/// Stamps outgoing movement and times incoming movement inside the measured window, which opens
/// once every bot streams; samples the server thread's CPU clock at the window's edges and ends
/// the swarm's run when the window closes.
class Probe : public QEL::Bots::BotObserver
{
public:
    Probe(clockid_t serverClock, pid_t serverThread, QEL::Bots::BotSwarm& swarm) :
    mServerClock(serverClock),
    mServerThread(serverThread),
    mBotThread(static_cast<pid_t>(syscall(SYS_gettid))),
    mSwarm(swarm),
    mOpens(Clock::now() + Warmup)
    {
    }

    void beforeMove(QEL::Bots::Bot& bot, Plym::Math::Vector3& position, Plym::Math::Vector3&) override
    {
        const auto now = Clock::now();
        if (mStreaming.size() < mSwarm.getBots().size() && mStreaming.insert(&bot).second &&
            mStreaming.size() == mSwarm.getBots().size())
            mOpens = std::max(mOpens, now + Settle);
        watch(now);
        position.z = static_cast<float>(stamp(now));
        if (mOpen)
            ++sent;
    }

    void onPlayerMove(QEL::Bots::Bot&, std::uint32_t, const Plym::Math::Vector3& position,
                      const Plym::Math::Vector3&) override
    {
        const auto now = Clock::now();
        watch(now);
        // The flooder's moves carry a negative height: they are not stamped.
        if (mOpen && position.z >= 0.f)
            latency.add((stamp(now) - static_cast<std::uint32_t>(position.z)) & StampMask);
    }

    Histogram latency;
    std::uint64_t sent = 0;
    double serverSeconds = 0.0;
    double botSeconds = 0.0;
    double serverWaiting = 0.0;
    double botWaiting = 0.0;

private:
    void watch(Clock::time_point now)
    {
        if (!mOpen && !mDone && now >= mOpens && mStreaming.size() == mSwarm.getBots().size())
        {
            mOpen = true;
            mCloses = now + Window;
            serverSeconds = -threadSeconds(mServerClock);
            botSeconds = -threadSeconds(CLOCK_THREAD_CPUTIME_ID);
            serverWaiting = -waitingSeconds(mServerThread);
            botWaiting = -waitingSeconds(mBotThread);
        }
        else if (mOpen && now >= mCloses)
        {
            mOpen = false;
            mDone = true;
            serverSeconds += threadSeconds(mServerClock);
            botSeconds += threadSeconds(CLOCK_THREAD_CPUTIME_ID);
            serverWaiting += waitingSeconds(mServerThread);
            botWaiting += waitingSeconds(mBotThread);
            mSwarm.stop();
        }
    }

    clockid_t mServerClock;
    pid_t mServerThread;
    pid_t mBotThread;
    QEL::Bots::BotSwarm& mSwarm;
    std::unordered_set<const QEL::Bots::Bot*> mStreaming;  ///< bots seen sending
    Clock::time_point mOpens;
    Clock::time_point mCloses;
    bool mOpen = false;
    bool mDone = false;
};

/// Floods the server with movement records from its own thread, rejoining whenever dropped.
class Flooder
{
public:
    explicit Flooder(std::uint16_t port) : mPort(port), mThread([this] { run(); }) {}

    ~Flooder()
    {
        mStop = true;
        mThread.join();
    }

    std::atomic<std::uint64_t> records{0};
    std::atomic<std::uint64_t> joins{0};

private:
    static std::string wire(QEL::Network::Packet packet)
    {
        packet.computeChecksum();
        return packet.serialize();
    }

    static std::string joinRequest()
    {
        namespace Protocol = QEL::Network::Protocol;
        QEL::Network::Packet packet;
        packet.setChannel(Protocol::CoreChannel);
        packet.writeU8(Protocol::RequestKind).writeU16(Protocol::JoinRequestCode).writeStr8(std::string("flooder"));
        return wire(packet);
    }

    /// A thousand movement records in one piece.
    static std::string volley()
    {
        namespace Protocol = QEL::Network::Protocol;
        std::string bytes;
        for (int i = 0; i < 1000; ++i)
        {
            QEL::Network::Packet packet;
            packet.setChannel(Protocol::StreamChannel);
            packet.writeU8(Protocol::PlayerMoveKind);
            for (float value : {11520.f + static_cast<float>(i), 11520.f, -1.f, 1.f, 0.f, 0.f})
                packet.writeF32(value);
            bytes += wire(packet);
        }
        return bytes;
    }

    void run()
    {
        const std::string join = joinRequest();
        const std::string flood = volley();
        boost::asio::io_context context;
        const boost::asio::ip::tcp::endpoint server(boost::asio::ip::make_address("127.0.0.1"), mPort);
        while (!mStop)
        {
            boost::asio::ip::tcp::socket socket(context);
            boost::system::error_code error;
            socket.connect(server, error);
            boost::asio::write(socket, boost::asio::buffer(join), error);
            if (!error)
                ++joins;
            // The server never writes much to it that matters; what it sends is left unread.
            while (!mStop && !error)
            {
                boost::asio::write(socket, boost::asio::buffer(flood), error);
                if (!error)
                    records += 1000;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    std::uint16_t mPort;
    std::atomic<bool> mStop{false};
    std::thread mThread;
};

void ServerLoad(benchmark::State& state)
{
    const auto bots = static_cast<unsigned>(state.range(0));
    QEL::Hosting::ServerOptions options;
    options.bind = "127.0.0.1";
    options.port = 0;
    options.quiet = true;
    options.maxPlayers = bots + 8;
    options.flushInterval = std::chrono::milliseconds(state.range(1));

    for (auto _ : state)
    {
        QEL::Hosting::Server server(options);
        server.start();
        std::promise<pid_t> serverId;
        std::thread serverThread([&server, &serverId] {
            serverId.set_value(static_cast<pid_t>(syscall(SYS_gettid)));
            server.run();
        });
        const pid_t serverTid = serverId.get_future().get();
        std::unique_ptr<Flooder> flooder;
        if (state.range(2) != 0)
            flooder = std::make_unique<Flooder>(server.getPort());
        clockid_t serverClock;
        pthread_getcpuclockid(serverThread.native_handle(), &serverClock);

        QEL::Bots::BotOptions swarmOptions;
        swarmOptions.count = bots;
        swarmOptions.port = server.getPort();
        swarmOptions.quiet = true;
        swarmOptions.spread = state.range(3) != 0;
        swarmOptions.duration = std::chrono::duration<double>(LongestRun).count();
        QEL::Bots::BotSwarm swarm(swarmOptions);
        Probe probe(serverClock, serverTid, swarm);
        swarm.setObserver(&probe);
        const auto swarmStart = Clock::now();
        swarm.run();
        if (flooder)
        {
            const double elapsed = std::chrono::duration<double>(Clock::now() - swarmStart).count();
            state.counters["flood_records/s"] = static_cast<double>(flooder->records) / elapsed;
            state.counters["flood_joins"] = static_cast<double>(flooder->joins);
        }
        flooder.reset();

        server.stop();
        serverThread.join();

        const double seconds = std::chrono::duration<double>(Window).count();
        state.SetIterationTime(seconds);
        state.counters["joined"] = static_cast<double>(swarm.getTotals().joins);
        state.counters["records_in/s"] = static_cast<double>(probe.sent) / seconds;
        state.counters["relayed/s"] = static_cast<double>(probe.latency.getCount()) / seconds;
        state.counters["relays/record"] =
            static_cast<double>(probe.latency.getCount()) / static_cast<double>(probe.sent);
        state.counters["server_cpu_%"] = 100.0 * probe.serverSeconds / seconds;
        state.counters["bots_cpu_%"] = 100.0 * probe.botSeconds / seconds;
        state.counters["server_waiting_%"] = 100.0 * probe.serverWaiting / seconds;
        state.counters["bots_waiting_%"] = 100.0 * probe.botWaiting / seconds;
        state.counters["p50_ms"] = probe.latency.quantile(0.50);
        state.counters["p99_ms"] = probe.latency.quantile(0.99);
        state.counters["p999_ms"] = probe.latency.quantile(0.999);
    }
}

} // namespace

// Arguments: bots, flush interval in ms, flooder (1) or not (0), spread over the island (1) or
// near the centre (0). 32 bots are the baseline for the 256-bot figures; the server's default
// interval is 5 ms, the others show the trade between writes and latency (0 writes each
// connection's records as soon as the loop is free). 64 bots alone are the baseline for 64 bots
// beside a flooder; 256 bots relayed to everyone for 1,000 spread bots.
BENCHMARK(ServerLoad)
    ->Args({32, 5, 0, 0})
    ->Args({256, 5, 0, 0})
    ->Args({1000, 5, 0, 1})
    ->Args({256, 0, 0, 0})
    ->Args({256, 2, 0, 0})
    ->Args({256, 10, 0, 0})
    ->Args({64, 5, 0, 0})
    ->Args({64, 5, 1, 0})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
