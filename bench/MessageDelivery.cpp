// Cost of delivering one global message to 1,000 handlers, next to the same calls made
// from a plain vector of std::function and from a deep copy of the request list.

#include "ecs/Component.hpp"
#include "ecs/EntitySystem.hpp"
#include "ecs/Request.hpp"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace
{

std::atomic<std::size_t> gAllocations{0};

} // namespace

// Every heap allocation of the program is counted. Kept out of line so that the compiler
// does not pair an inlined malloc() with a delete-expression and warn.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

[[gnu::noinline]] void operator delete(void* memory) noexcept
{
    std::free(memory);
}

[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace
{

constexpr int HandlerCount = 1000;
const char* const PingName = "Bench.Ping";

/// A handler that does the least a real one does: touch its own component.
class Listener : public Tessaly::Component
{
public:
    Listener() : Component("Bench.Listener") {}

    void addedToEntity() override { requestMessage(PingName, &Listener::ping); }

    void ping(Tessaly::Message&) { ++mCalls; }

private:
    long mCalls = 0;
};

/// An entity system with HandlerCount listeners, each on its own entity, and a sender.
struct World
{
    World()
    {
        system.registerComponent("Bench.Listener", [] { return new Listener; });
        system.registerComponent("Bench.Sender", [] { return new Tessaly::Component("Bench.Sender"); });
        for (int i = 0; i < HandlerCount; ++i)
        {
            auto listener = static_cast<Listener*>(system.createComponent("Bench.Listener"));
            system.addComponent(system.createEntity(), listener);
            listeners.push_back(listener);
        }
        sender = system.createComponent("Bench.Sender");
        system.addComponent(system.createEntity(), sender);
        ping = sender->getMessageRequestId(PingName);
    }

    /// The listeners' handlers bound the way the member-function request form binds them.
    std::vector<Tessaly::Request> makeRequests() const
    {
        std::vector<Tessaly::Request> requests;
        for (Listener* listener : listeners)
        {
            auto handler = &Listener::ping;
            requests.push_back({listener, [listener, handler](Tessaly::Message& message) { (listener->*handler)(message); }});
        }
        return requests;
    }

    Tessaly::EntitySystem system;
    std::vector<Listener*> listeners;
    Tessaly::Component* sender = nullptr;
    Tessaly::RequestId ping = 0;
};

/// Reports time per handler reached (in ns) and heap allocations per send.
template <class Send>
void measure(benchmark::State& state, Send send)
{
    const std::size_t before = gAllocations.load(std::memory_order_relaxed);
    for (auto _ : state)
        send();
    const std::size_t allocations = gAllocations.load(std::memory_order_relaxed) - before;
    // Inverted rate: seconds (shown as ns) of CPU time per handler reached.
    state.counters["per_handler"] =
        benchmark::Counter(HandlerCount, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["allocs_per_send"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}

/// Baseline: the same calls from a plain vector of std::function, no snapshot, no lookup.
void PlainFunctionVector(benchmark::State& state)
{
    World world;
    std::vector<Tessaly::MessageFunction> handlers;
    for (const Tessaly::Request& request : world.makeRequests())
        handlers.push_back(request.callback);
    Tessaly::Message message(Tessaly::Custom, world.sender, 1);
    measure(state, [&] {
        for (const Tessaly::MessageFunction& handler : handlers)
        {
            handler(message);
            if (message.handled)
                break;
        }
    });
}

/// Baseline: a snapshot made by copying the request vector (every std::function) per send.
void DeepCopySnapshot(benchmark::State& state)
{
    World world;
    const std::vector<Tessaly::Request> requests = world.makeRequests();
    const Tessaly::Message original(Tessaly::Custom, world.sender, 1);
    measure(state, [&] {
        Tessaly::Message message(original);
        const std::vector<Tessaly::Request> snapshot(requests);
        for (const Tessaly::Request& request : snapshot)
        {
            request.callback(message);
            if (message.handled)
                break;
        }
    });
}

/// The game's path: Component::sendGlobalMessage by id, which copies the message once.
void TessalySendById(benchmark::State& state)
{
    World world;
    const Tessaly::Message message(Tessaly::Custom, world.sender, 1);
    measure(state, [&] { world.sender->sendGlobalMessage(world.ping, message); });
}

/// The thin form: name resolved on every send, payload copied into a new message.
void TessalySendByName(benchmark::State& state)
{
    World world;
    const boost::any payload(1);
    const std::string name(PingName);
    measure(state, [&] { world.sender->sendGlobalMessage(name, payload); });
}

/// Delivery in place through the entity system: no message copy at all.
void TessalyDeliverInPlace(benchmark::State& state)
{
    World world;
    Tessaly::Message message(Tessaly::Custom, world.sender, 1);
    measure(state, [&] { world.system.sendGlobalMessage(world.ping, message); });
}

/// Console output plus a closing comparison against the plain vector walk (CPU time:
/// wall time swings with whatever else the machine runs).
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                mTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }

    void printRatios() const
    {
        const auto baseline = mTimes.find("PlainFunctionVector");
        if (baseline == mTimes.end())
            return;
        std::printf("\nCPU time per send relative to PlainFunctionVector (%d handlers):\n", HandlerCount);
        for (const auto& entry : mTimes)
            std::printf("  %-24s %6.2f x\n", entry.first.c_str(), entry.second / baseline->second);
    }

private:
    std::map<std::string, double> mTimes;
};

void printHelp()
{
    std::printf(
        "bench_messages: cost of one global message delivered to %d handlers.\n"
        "  TessalySendById        Component::sendGlobalMessage(RequestId, Message) (one message copy)\n"
        "  TessalySendByName      Component::sendGlobalMessage(name, payload), the thin form\n"
        "  TessalyDeliverInPlace  EntitySystem::sendGlobalMessage on the caller's message\n"
        "  PlainFunctionVector    baseline: the same std::function calls from a plain vector\n"
        "  DeepCopySnapshot       baseline: copying the whole request vector on every send\n"
        "Counters: per_handler (CPU time per handler reached), allocs_per_send (heap allocations).\n"
        "Google Benchmark options follow (e.g. --benchmark_filter=Tessaly).\n\n",
        HandlerCount);
}

} // namespace

BENCHMARK(PlainFunctionVector);
BENCHMARK(DeepCopySnapshot);
BENCHMARK(TessalySendById);
BENCHMARK(TessalySendByName);
BENCHMARK(TessalyDeliverInPlace);

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            printHelp();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
