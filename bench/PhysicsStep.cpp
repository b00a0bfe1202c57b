// One physics step of a forest world: 100 moving bodies update (integrate, re-place in the
// quadtree, resolve collisions) and the quadtree ticks, among 3,000 static trees; plus circle
// queries. Baselines: the same work done by scanning every body, without the tree.

#include "ecs/EntitySystem.hpp"
#include "physics/Collision.hpp"
#include "physics/Physical.hpp"
#include "physics/QuadTree.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

using Plym::Math::Vector2;
using Plym::Math::Vector3;

namespace
{

constexpr float WorldSize = 23040.f;
constexpr int StaticCount = 3000;
constexpr int MoverCount = 100;
constexpr int ClusterCount = 40;
constexpr float StepSeconds = 1.f / 33;
constexpr float WalkSpeed = 270.f;
constexpr int QueryPoints = 1024;

/// The world's part in physics: answers "AddToQuadTree" with a local "SetTree".
class TreeOwner : public Tessaly::Component
{
public:
    explicit TreeOwner(QEL::QuadTree& tree) : Component("Bench.World"), mTree(tree) {}

    void addedToEntity() override { requestMessage("AddToQuadTree", &TreeOwner::answer); }

private:
    void answer(Tessaly::Message& message)
    {
        sendMessageToEntity(message.sender->getOwner(), "SetTree", &mTree);
    }

    QEL::QuadTree& mTree;
};

/// 3,000 trees in clusters and 100 wanderers among them, built from a fixed seed.
class Forest
{
public:
    Forest() : mTree(sf::FloatRect(0, 0, WorldSize, WorldSize), 8), mRandom(20240601)
    {
        mSystem.registerComponent("Bench.World", [this] { return new TreeOwner(mTree); });
        mSystem.registerComponent("QEL.Physical", [] { return new QEL::Physical; });
        mSystem.addComponent(mSystem.createEntity(), mSystem.createComponent("Bench.World"));
        mUpdateId = mSystem.getMessageRequestId(Tessaly::MessageRequest, "QEL.Game.Update");

        std::uniform_real_distribution<float> anywhere(1500, WorldSize - 1500);
        for (int i = 0; i < ClusterCount; ++i)
            mClusters.emplace_back(anywhere(mRandom), anywhere(mRandom));
        for (int i = 0; i < StaticCount; ++i)
            mStatics.push_back(&spawn(nearCluster(700), true));
        for (int i = 0; i < MoverCount; ++i)
        {
            mMovers.push_back(&spawn(nearCluster(900), false));
            turn(*mMovers.back());
        }
        for (int i = 0; i < QueryPoints; ++i)
            mQueryPoints.push_back(nearCluster(800));
        // Let the tree split to its working shape before anything is measured.
        for (int i = 0; i < 300; ++i)
            step();
    }

    /// One world step: every mover hears "QEL.Game.Update", then the tree ticks.
    void step()
    {
        wander();
        Tessaly::Message message(Tessaly::Custom, nullptr, StepSeconds);
        mSystem.sendGlobalMessage(mUpdateId, message);
        mTree.tick();
    }

    /// Baseline for the collision part of a step: every mover tested against every body.
    int bruteForceCollisions() const
    {
        int collisions = 0;
        float depth;
        Vector2 axis;
        for (const QEL::Physical* mover : mMovers)
        {
            const Vector2 position = mover->getPosition().xy();
            const float radius = std::sqrt(mover->getRadiusSquared());
            for (const std::vector<QEL::Physical*>* bodies : {&mStatics, &mMovers})
                for (const QEL::Physical* other : *bodies)
                {
                    if (other == mover)
                        continue;
                    const Vector2 otherPosition = other->getPosition().xy();
                    const float reach = radius + std::sqrt(other->getRadiusSquared());
                    if ((otherPosition - position).getLengthSquared() >= reach * reach)
                        continue;
                    collisions += QEL::testCollision(*mover->getShape(), *other->getShape(), position,
                                                     otherPosition, depth, axis);
                }
        }
        return collisions;
    }

    std::size_t query(int index, float radius) const
    {
        return mTree.queryCircle(mQueryPoints[index % QueryPoints], radius).size();
    }

    /// Baseline for a query: the same circle test over every body.
    std::size_t bruteForceQuery(int index, float radius) const
    {
        const Vector2 center = mQueryPoints[index % QueryPoints];
        std::size_t found = 0;
        for (const std::vector<QEL::Physical*>* bodies : {&mStatics, &mMovers})
            for (const QEL::Physical* body : *bodies)
                found += radius + std::sqrt(body->getRadiusSquared()) > (center - body->getPosition().xy()).getLength();
        return found;
    }

private:
    Vector2 nearCluster(float spread)
    {
        std::normal_distribution<float> offset(0, spread);
        std::uniform_int_distribution<int> cluster(0, ClusterCount - 1);
        const Vector2 centre = mClusters[cluster(mRandom)];
        auto clampToWorld = [](float value) { return std::min(std::max(value, 200.f), WorldSize - 200.f); };
        return Vector2(clampToWorld(centre.x + offset(mRandom)), clampToWorld(centre.y + offset(mRandom)));
    }

    QEL::Physical& spawn(const Vector2& position, bool isStatic)
    {
        auto* body = static_cast<QEL::Physical*>(mSystem.createComponent("QEL.Physical"));
        mSystem.addComponent(mSystem.createEntity(), body);
        body->setShape(QEL::makeOctagon(Vector2(140, 70), 25));
        body->setStatic(isStatic);
        body->setPosition(Vector3(position, 0));
        return *body;
    }

    void turn(QEL::Physical& mover)
    {
        std::uniform_real_distribution<float> angle(-3.14159f, 3.14159f);
        const float heading = angle(mRandom);
        mover.setSpeed(Vector3(std::cos(heading) * WalkSpeed, std::sin(heading) * WalkSpeed, 0));
    }

    // Movers change heading now and then and turn back towards the middle near the edge.
    void wander()
    {
        std::uniform_int_distribution<int> dice(0, 59);
        for (QEL::Physical* mover : mMovers)
        {
            const Vector3 position = mover->getPosition();
            if (position.x < 600 || position.y < 600 || position.x > WorldSize - 600 || position.y > WorldSize - 600)
            {
                const Vector2 home = (Vector2(WorldSize / 2, WorldSize / 2) - position.xy()).getNormalized() * WalkSpeed;
                mover->setSpeed(Vector3(home, 0));
            }
            else if (dice(mRandom) == 0)
            {
                turn(*mover);
            }
        }
    }

    QEL::QuadTree mTree; // outlives the bodies, which the entity system destroys first
    Tessaly::EntitySystem mSystem;
    Tessaly::RequestId mUpdateId = 0;
    std::mt19937 mRandom;
    std::vector<Vector2> mClusters;
    std::vector<QEL::Physical*> mStatics;
    std::vector<QEL::Physical*> mMovers;
    std::vector<Vector2> mQueryPoints;
};

Forest& forest()
{
    static Forest instance;
    return instance;
}

/// The game's step: 100 Physical updates through "QEL.Game.Update" plus the quadtree's tick.
void WorldStep(benchmark::State& state)
{
    Forest& world = forest();
    for (auto _ : state)
        world.step();
}

/// Baseline: only the collision tests of a step, done by scanning all 3,100 bodies per mover.
void BruteForceCollisions(benchmark::State& state)
{
    Forest& world = forest();
    int collisions = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(collisions = world.bruteForceCollisions());
    state.counters["collisions"] = collisions;
}

/// A circle query of the player's radius around points in the forest.
void CircleQuery(benchmark::State& state)
{
    Forest& world = forest();
    int index = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(world.query(index++, 78.f));
    state.SetItemsProcessed(state.iterations());
}

/// Baseline: the same query by scanning every body.
void BruteForceQuery(benchmark::State& state)
{
    Forest& world = forest();
    int index = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(world.bruteForceQuery(index++, 78.f));
    state.SetItemsProcessed(state.iterations());
}

/// Console output plus the comparisons with the baselines and the 1 ms bar. Figures are CPU
/// time per iteration (steadier than wall time on a shared machine); wall time is shown too.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                mTimes[run.benchmark_name()] = {run.cpu_accumulated_time * 1e6 / run.iterations,
                                                run.real_accumulated_time * 1e6 / run.iterations};
    }

    void printSummary() const
    {
        std::printf("\nCPU time per iteration (wall time in brackets):\n");
        printRatio("WorldStep", "BruteForceCollisions");
        printRatio("CircleQuery", "BruteForceQuery");
        const auto step = mTimes.find("WorldStep");
        if (step != mTimes.end())
            std::printf("World step %.1f us: %s the 1000 us bar (%.2f %% of a 30303 us step)\n", step->second.cpu,
                        step->second.cpu < 1000 ? "meets" : "MISSES", step->second.cpu / 303.03);
        const auto query = mTimes.find("CircleQuery");
        if (query != mTimes.end())
            std::printf("Circle queries: %.0f per second\n", 1e6 / query->second.cpu);
    }

private:
    struct Times
    {
        double cpu;
        double wall;
    };

    void printRatio(const std::string& name, const std::string& baseline) const
    {
        const auto measured = mTimes.find(name);
        const auto base = mTimes.find(baseline);
        if (measured == mTimes.end() || base == mTimes.end())
            return;
        std::printf("  %-12s %9.3f us (%9.3f) = %.4f x %s %.3f us (%.3f)\n", name.c_str(), measured->second.cpu,
                    measured->second.wall, measured->second.cpu / base->second.cpu, baseline.c_str(),
                    base->second.cpu, base->second.wall);
    }

    std::map<std::string, Times> mTimes;
};

void printHelp()
{
    std::printf(
        "bench_physics: physics of a 23040 x 23040 world (quadtree of depth 8) with %d static\n"
        "octagons (140 x 70, corners cut by 25) in %d clusters and %d wandering movers.\n"
        "  WorldStep             one step: every mover's Physical update via \"QEL.Game.Update\" + tree tick\n"
        "  BruteForceCollisions  baseline: every mover tested against every body, no tree\n"
        "  CircleQuery           one quadtree circle query (radius 78) at a point in the forest\n"
        "  BruteForceQuery       baseline: the same query scanning every body\n"
        "The summary gives each figure as a ratio to its baseline and checks the 1 ms step bar.\n"
        "Google Benchmark options follow (e.g. --benchmark_filter=WorldStep).\n\n",
        StaticCount, ClusterCount, MoverCount);
}

} // namespace

BENCHMARK(WorldStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BruteForceCollisions)->Unit(benchmark::kMicrosecond);
BENCHMARK(CircleQuery);
BENCHMARK(BruteForceQuery);

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0)
            printHelp();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::printf("Building the forest...\n");
    forest();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
