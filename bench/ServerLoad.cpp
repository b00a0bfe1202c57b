// The server under load: N bots join one in-process server and stream their movement 11 times a
// second, as game clients do; every record is relayed to the N - 1 others. Measured over a
// window after all have joined: records relayed per second, the server thread's CPU time, and
// the relay latency from a bot's send to another bot's receipt (the send time travels in the
// height field of the position).

#include "server/Server.hpp"
#include "tools/bot/BotObserver.hpp"
#include "tools/bot/BotSwarm.hpp"

#include <benchmark/benchmark.h>

#include <pthread.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace
{

using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds Warmup(2);
constexpr std::chrono::seconds Window(8);

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

/// Stamps outgoing movement and times incoming movement inside the measured window; samples
/// the server thread's CPU clock at the window's edges.
class Probe : public QEL::Bots::BotObserver
{
public:
    Probe(clockid_t serverClock, pid_t serverThread, Clock::time_point start) :
    mServerClock(serverClock),
    mServerThread(serverThread),
    mBotThread(static_cast<pid_t>(syscall(SYS_gettid))),
    mOpens(start + Warmup),
    mCloses(start + Warmup + Window)
    {
    }

    void beforeMove(QEL::Bots::Bot&, Plym::Math::Vector3& position, Plym::Math::Vector3&) override
    {
        const auto now = Clock::now();
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
        if (mOpen)
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
        if (!mOpen && !mDone && now >= mOpens)
        {
            mOpen = true;
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
        }
    }

    clockid_t mServerClock;
    pid_t mServerThread;
    pid_t mBotThread;
    Clock::time_point mOpens;
    Clock::time_point mCloses;
    bool mOpen = false;
    bool mDone = false;
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
        clockid_t serverClock;
        pthread_getcpuclockid(serverThread.native_handle(), &serverClock);

        QEL::Bots::BotOptions swarmOptions;
        swarmOptions.count = bots;
        swarmOptions.port = server.getPort();
        swarmOptions.quiet = true;
        swarmOptions.duration = std::chrono::duration<double>(Warmup + Window + std::chrono::milliseconds(500)).count();
        QEL::Bots::BotSwarm swarm(swarmOptions);
        Probe probe(serverClock, serverTid, Clock::now());
        swarm.setObserver(&probe);
        swarm.run();

        server.stop();
        serverThread.join();

        const double seconds = std::chrono::duration<double>(Window).count();
        state.SetIterationTime(seconds);
        state.counters["joined"] = static_cast<double>(swarm.getTotals().joins);
        state.counters["records_in/s"] = static_cast<double>(probe.sent) / seconds;
        state.counters["relayed/s"] = static_cast<double>(probe.latency.getCount()) / seconds;
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

// Arguments: bots, flush interval in ms. 32 bots are the baseline for the 256-bot figures; the
// server's default interval is 5 ms, the others show the trade between writes and latency
// (0 writes each connection's records as soon as the loop is free).
BENCHMARK(ServerLoad)
    ->Args({32, 5})
    ->Args({256, 5})
    ->Args({256, 0})
    ->Args({256, 2})
    ->Args({256, 10})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
