// Building the world from the real 256 x 256 map with every tree and cactus spawned, one
// update step of that world with its player and 24 snakes, and drawing one frame of the
// densest forest at 800 x 600 (1600 x 1200 world units, the game's half scale). Each figure
// is also given as a ratio to a baseline measured in the same run.
// Run it in the data directory (it reads "Example Chunk.png" and the sheets) with a display.

#include "actors/Man.hpp"
#include "app/Catalogue.hpp"
#include "app/GameEvents.hpp"
#include "app/ResourceManager.hpp"
#include "app/StepTimer.hpp"
#include "app/ViewRules.hpp"
#include "app/WorldPainter.hpp"
#include "app/SharedPictures.hpp"
#include "app/SharedSounds.hpp"
#include "ecs/EntitySystem.hpp"
#include "physics/Physical.hpp"
#include "physics/QuadTree.hpp"
#include "plym/game/Engine.hpp"
#include "world/Chunk.hpp"

#include <benchmark/benchmark.h>

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <boost/any.hpp>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{

using Plym::Math::Vector3;

const char* const MapFile = "Example Chunk.png";

/// Stands in for a tree or cactus without a body: the terrain-only baseline.
class Marker : public Tessaly::Component
{
public:
    explicit Marker(const std::string& name) : Component(name) {}
};


/// An entity system with the game's real component catalogue, registered through an engine
/// as start-up does. The engine is not initialized: no services beyond the entity system.
class GameWorld
{
public:
    GameWorld() : mSystem(std::make_unique<Tessaly::EntitySystem>(false))
    {
        QEL::loadSharedPictures();
        QEL::loadSharedSounds();
        mEngine = std::make_unique<Plym::Engine>(*mSystem, 0);
        mEngine->addService(*mSystem);
        QEL::registerComponents(*mEngine);
    }

    ~GameWorld()
    {
        mEngine.reset();
        mSystem.reset();
    }

    Tessaly::EntitySystem& getSystem() { return *mSystem; }

private:
    std::unique_ptr<Tessaly::EntitySystem> mSystem;
    std::unique_ptr<Plym::Engine> mEngine;
};

/// The chunk alone, with bodiless markers for trees and cacti.
std::unique_ptr<Tessaly::EntitySystem> makeTerrainSystem()
{
    auto system = std::make_unique<Tessaly::EntitySystem>(false);
    system->registerComponent("QEL.Game.Chunk", [] { return new QEL::Chunk(); });
    for (const char* name : {"QEL.Game.Tree", "QEL.Game.Cactus"})
        system->registerComponent(name, [name] { return new Marker(name); });
    system->registerTemplate("QEL.Tree", {"QEL.Game.Tree"});
    system->registerTemplate("QEL.Cactus", {"QEL.Game.Cactus"});
    return system;
}

QEL::Chunk& addChunk(Tessaly::EntitySystem& system)
{
    auto* chunk = static_cast<QEL::Chunk*>(system.createComponent("QEL.Game.Chunk"));
    system.addComponent(system.createEntity(), chunk);
    return *chunk;
}

void BM_DecodeMap(benchmark::State& state)
{
    for (auto _ : state)
    {
        sf::Image image;
        benchmark::DoNotOptimize(image.loadFromFile(MapFile));
    }
}

void BM_BuildTerrainOnly(benchmark::State& state)
{
    std::size_t entities = 0;
    for (auto _ : state)
    {
        auto system = makeTerrainSystem();
        std::srand(1);
        addChunk(*system).load(MapFile);
        entities = system->getEntityCount();
        state.PauseTiming();
        system.reset();
        state.ResumeTiming();
    }
    state.counters["entities"] = static_cast<double>(entities);
}

void BM_BuildWorld(benchmark::State& state)
{
    std::size_t entities = 0;
    std::size_t bodies = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto world = std::make_unique<GameWorld>();
        state.ResumeTiming();
        std::srand(1);
        QEL::Chunk& chunk = addChunk(world->getSystem());
        chunk.load(MapFile);
        entities = world->getSystem().getEntityCount();
        bodies = chunk.getQuadTree()->getAll().size();
        state.PauseTiming();
        world.reset();
        state.ResumeTiming();
    }
    state.counters["entities"] = static_cast<double>(entities);
    state.counters["bodies"] = static_cast<double>(bodies);
}

/// The running game in small: the world with bodies, the local player, 24 snakes and an
/// 800 x 600 window.
class Scene
{
public:
    Scene() : mTerrain(makeTerrainSystem())
    {
        // The terrain-only world first: the game's chunk, loaded last, owns the shared quadtree.
        std::srand(1);
        addChunk(*mTerrain).load(MapFile);

        std::srand(1);
        QEL::Chunk& chunk = addChunk(mWorld.getSystem());
        chunk.load(MapFile);
        mMapSize = sf::Vector2f(chunk.getWidth() * QEL::World::TileSize, chunk.getHeight() * QEL::World::TileSize);

        const Tessaly::EntityId player = mWorld.getSystem().instantiate("QEL.Man");
        mPlayer = static_cast<QEL::Man*>(mWorld.getSystem().getAllComponentsOnEntity(player, "QEL.Game.Man").at(0));
        mPlayer->getPhysical()->setPosition(findDensestForest(chunk));
        for (int i = 0; i < 24; ++i)
            mWorld.getSystem().instantiate("QEL.Snake");

        mWindow.create(sf::VideoMode(800, 600, 32), "Quelmoor world benchmark", sf::Style::Titlebar);
        mWindow.setVerticalSyncEnabled(false);
    }

    /// One frame as the main loop draws it: the world painted under the game view, then the heads-up pass.
    void paintFrame(const sf::View& gameView)
    {
        mPainter.paint(mWindow, gameView, 0.f);
        drawHud(mWorld.getSystem());
    }

    /// The same frame with every drawing drawing itself, nothing cached.
    void drawFrame(const sf::View& gameView) { drawFrame(gameView, mWorld.getSystem()); }

    const QEL::WorldPainter& getPainter() const { return mPainter; }

    /// One fixed update step of the whole world, as the main loop broadcasts it.
    void step() { send(mWorld.getSystem(), "QEL.Game.Update", QEL::StepTimer::StepSeconds); }

    /// The same frame of the terrain alone: no trees, cacti, player or minimap.
    void drawTerrainFrame(const sf::View& gameView) { drawFrame(gameView, *mTerrain); }

    /// The game's camera: 1600 x 1200 world units over the player, moved by `offset`.
    sf::View getPlayerView(sf::Vector2f offset = sf::Vector2f()) const
    {
        const Vector3 position = mPlayer->getPosition();
        const sf::Vector2f size(1600.f, 1200.f);
        const sf::Vector2f centre = sf::Vector2f(position.x, position.y - 135.f) + offset;
        return sf::View(QEL::ViewRules::snapToPixels(centre, size, mWindow.getSize(), QEL::World::Size), size);
    }

    /// A view over the whole map, so that every tile is drawn.
    sf::View getMapView() const { return sf::View(sf::FloatRect(sf::Vector2f(), mMapSize)); }

    std::size_t countBodiesInView() const
    {
        const sf::View view = getPlayerView();
        std::size_t count = 0;
        for (QEL::Physical* body : getBodies())
        {
            const Vector3 p = body->getPosition();
            count += visibleRectangle(view).contains(p.x, p.y);
        }
        return count;
    }

    sf::RenderWindow& getWindow() { return mWindow; }

private:
    std::vector<QEL::Physical*> getBodies() const { return QEL::Chunk::getCurrent()->getQuadTree()->getAll(); }

    static sf::FloatRect visibleRectangle(const sf::View& view)
    {
        return sf::FloatRect(view.getCenter() - view.getSize() / 2.f, view.getSize());
    }

    /// The centre of the 18 x 14 tile window (what the game shows) holding the most bodies.
    static Vector3 findDensestForest(const QEL::Chunk& chunk)
    {
        const unsigned columns = 18, rows = 14;
        std::vector<unsigned> counts(chunk.getWidth() * chunk.getHeight(), 0);
        for (QEL::Physical* body : chunk.getQuadTree()->getAll())
        {
            const unsigned x = static_cast<unsigned>(body->getPosition().x / QEL::World::TileSize);
            const unsigned y = static_cast<unsigned>(body->getPosition().y / QEL::World::TileSize);
            if (x < chunk.getWidth() && y < chunk.getHeight())
                ++counts[y * chunk.getWidth() + x];
        }
        unsigned best = 0;
        Vector3 centre;
        for (unsigned left = 0; left + columns <= chunk.getWidth(); ++left)
        {
            for (unsigned top = 0; top + rows <= chunk.getHeight(); ++top)
            {
                unsigned bodies = 0;
                for (unsigned x = left; x < left + columns; ++x)
                {
                    for (unsigned y = top; y < top + rows; ++y)
                        bodies += counts[y * chunk.getWidth() + x];
                }
                if (bodies > best)
                {
                    best = bodies;
                    centre = Vector3((left + columns / 2.f) * 90.f, (top + rows / 2.f) * 90.f + 135.f, 0.f);
                }
            }
        }
        return centre;
    }

    void drawFrame(const sf::View& gameView, Tessaly::EntitySystem& system)
    {
        mWindow.setView(gameView);
        send(system, "QEL.Game.Draw", QEL::DrawEvent{&mWindow, visibleRectangle(gameView), 0.f});
        drawHud(system);
    }

    void drawHud(Tessaly::EntitySystem& system)
    {
        mWindow.setView(mWindow.getDefaultView());
        send(system, "QEL.Game.DrawUi", QEL::DrawEvent{&mWindow, visibleRectangle(mWindow.getView()), 0.f});
        mWindow.display();
    }

    static void send(Tessaly::EntitySystem& system, const std::string& name, const boost::any& payload)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, payload);
        system.sendGlobalMessage(system.getMessageRequestId(Tessaly::MessageRequest, name), message);
    }

    std::unique_ptr<Tessaly::EntitySystem> mTerrain;
    GameWorld mWorld;
    QEL::Man* mPlayer = nullptr;
    sf::Vector2f mMapSize;
    sf::RenderWindow mWindow;
    QEL::WorldPainter mPainter{mWorld.getSystem(), mWorld.getSystem().getMessageRequestId(Tessaly::MessageRequest, "QEL.Game.Draw"),
                               [this](const QEL::DrawEvent& event) { send(mWorld.getSystem(), "QEL.Game.Draw", event); }};
};

Scene& getScene()
{
    static Scene scene;
    return scene;
}

// Trees on screen take steps once they have been drawn: one frame first, as in the game.
void BM_UpdateStep(benchmark::State& state)
{
    Scene& scene = getScene();
    scene.drawFrame(scene.getPlayerView());
    for (auto _ : state)
        scene.step();
}

void BM_EmptyFrame(benchmark::State& state)
{
    sf::RenderWindow& window = getScene().getWindow();
    for (auto _ : state)
    {
        window.clear();
        window.display();
    }
}

// The rasteriser's fill cost: one screen of alpha-blended texture (the tree sheet, drawn 1:1 over
// the whole window) per frame, on top of the empty frame.
void BM_FillScreen(benchmark::State& state)
{
    sf::RenderWindow& window = getScene().getWindow();
    window.setView(window.getDefaultView());
    const sf::Sprite screen(QEL::gSpritesheets.get("Tree").getTexture(), sf::IntRect(0, 0, 800, 600));
    for (auto _ : state)
    {
        window.clear();
        window.draw(screen);
        window.display();
    }
}

// The game's frame with the camera still: the cached cells copied, the player and snakes patched.
void BM_DrawDensestForest(benchmark::State& state)
{
    Scene& scene = getScene();
    const sf::View view = scene.getPlayerView();
    scene.paintFrame(view);
    std::size_t patches = 0;
    for (auto _ : state)
    {
        scene.paintFrame(view);
        patches = scene.getPainter().getPatchCount();
    }
    state.counters["bodies_in_view"] = static_cast<double>(scene.countBodiesInView());
    state.counters["patches"] = static_cast<double>(patches);
}

// The camera follows a player running diagonally (675 units a second on each axis) at 120
// frames per second, to and fro from where he stood: cells coming into view are painted as
// the game paints them.
void BM_DrawDensestForestRunning(benchmark::State& state)
{
    Scene& scene = getScene();
    const float stride = 675.f / 120.f;
    const int turn = 400;
    std::size_t frame = 0;
    std::size_t bands = 0;
    std::vector<double> wall;
    std::vector<double> cpu;
    // The player has stood at the start long enough for the view and the ring to be painted.
    const sf::View start = scene.getPlayerView(-sf::Vector2f(1100.f, 1100.f));
    for (int frame = 0; frame < 60; ++frame)
        scene.paintFrame(start);
    for (auto _ : state)
    {
        const int step = static_cast<int>(frame++ % (2 * turn));
        const float distance = stride * static_cast<float>(step < turn ? step : 2 * turn - step);
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t startCpu = std::clock();
        scene.paintFrame(scene.getPlayerView(sf::Vector2f(distance, distance) - sf::Vector2f(1100.f, 1100.f)));
        cpu.push_back(1000.0 * static_cast<double>(std::clock() - startCpu) / CLOCKS_PER_SEC);
        wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        bands += scene.getPainter().getBandsPainted();
    }
    state.counters["cells_per_frame"] = static_cast<double>(bands) / QEL::WorldPainter::BandsPerCell / static_cast<double>(frame);
    // The slow frames are those that paint part of a cell: how slow the slowest one in a hundred is.
    const auto percentile = [](std::vector<double>& times, std::size_t perCent) {
        std::sort(times.begin(), times.end());
        return times[times.size() * perCent / 100];
    };
    state.counters["median_ms"] = percentile(wall, 50);
    state.counters["p99_ms"] = percentile(wall, 99);
    state.counters["median_cpu_ms"] = percentile(cpu, 50);
    state.counters["p99_cpu_ms"] = percentile(cpu, 99);
}

// Nothing cached: every cell in view is painted (the first frame, or after a jump across the map).
void BM_DrawDensestForestUncached(benchmark::State& state)
{
    Scene& scene = getScene();
    const sf::View views[] = {scene.getPlayerView(), scene.getPlayerView(sf::Vector2f(4000.f, 0.f))};
    std::size_t frame = 0;
    std::size_t bands = 0;
    for (auto _ : state)
    {
        scene.paintFrame(views[frame++ % 2]);
        bands += scene.getPainter().getBandsPainted();
    }
    state.counters["cells_per_frame"] = static_cast<double>(bands) / QEL::WorldPainter::BandsPerCell / static_cast<double>(frame);
}

// Every drawing draws itself every frame, nothing cached: what the painter saves.
void BM_DrawDensestForestPlain(benchmark::State& state)
{
    Scene& scene = getScene();
    const sf::View view = scene.getPlayerView();
    for (auto _ : state)
        scene.drawFrame(view);
}

void BM_DrawDensestForestTerrain(benchmark::State& state)
{
    Scene& scene = getScene();
    const sf::View view = scene.getPlayerView();
    for (auto _ : state)
        scene.drawTerrainFrame(view);
}

void BM_DrawEveryTile(benchmark::State& state)
{
    Scene& scene = getScene();
    const sf::View view = scene.getMapView();
    for (auto _ : state)
        scene.drawTerrainFrame(view);
}

// Software rendering runs in threads of its own: the CPU time of the whole process counts.
BENCHMARK(BM_DecodeMap)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_BuildTerrainOnly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_BuildWorld)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_UpdateStep)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_FillScreen)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_DrawDensestForest)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
// Twice to and fro, so that the slowest frame in a hundred is one of many.
BENCHMARK(BM_DrawDensestForestRunning)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1600);
BENCHMARK(BM_DrawDensestForestUncached)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_DrawDensestForestPlain)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_DrawDensestForestTerrain)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_DrawEveryTile)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

/// Console output as usual; the mean wall and process CPU time per iteration of every
/// benchmark are kept for the ratios and bars printed at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
        {
            if (run.iterations > 0 && run.run_type == Run::RT_Iteration)
            {
                const double iterations = static_cast<double>(run.iterations);
                mTimes[run.run_name.function_name] = {run.real_accumulated_time / iterations,
                                                run.cpu_accumulated_time / iterations};
                mCounters[run.run_name.function_name] = run.counters;
            }
        }
    }

    void printRatio(const std::string& what, const std::string& measured, const std::string& baseline) const
    {
        const auto a = mTimes.find(measured);
        const auto b = mTimes.find(baseline);
        if (a == mTimes.end() || b == mTimes.end())
            return;
        std::cout << "  " << what << ": " << a->second.wall / b->second.wall << " wall, "
                  << a->second.cpu / b->second.cpu << " CPU\n";
    }

    /// A frame time the benchmark reports in counters (milliseconds, wall and process CPU) as a
    /// ratio to the baseline's mean times.
    void printCounterRatio(const std::string& what, const std::string& measured, const std::string& wallCounter,
                           const std::string& cpuCounter, const std::string& baseline) const
    {
        const auto counters = mCounters.find(measured);
        const auto b = mTimes.find(baseline);
        if (counters == mCounters.end() || b == mTimes.end())
            return;
        const auto milliseconds = [&](const std::string& name) { return counters->second.at(name).value; };
        std::cout << "  " << what << ": " << milliseconds(wallCounter) / 1000.0 / b->second.wall << " wall, "
                  << milliseconds(cpuCounter) / 1000.0 / b->second.cpu << " CPU\n";
    }

    /// How many iterations of the benchmark fit in the time, by wall and by process CPU time.
    void printFitting(const std::string& what, const std::string& name, double seconds) const
    {
        const auto found = mTimes.find(name);
        if (found != mTimes.end())
            std::cout << "  " << what << ": " << seconds / found->second.wall << " wall, " << seconds / found->second.cpu
                      << " CPU\n";
    }

    /// Frames per second from the wall time (what the player sees) and from the process CPU time.
    void printFrameRate(const std::string& what, const std::string& name) const
    {
        const auto found = mTimes.find(name);
        if (found != mTimes.end())
            std::cout << "  " << what << ": " << 1.0 / found->second.wall << " frames per second (wall), "
                      << 1.0 / found->second.cpu << " by process CPU time\n";
    }

    void printBar(const std::string& what, const std::string& name, double limitSeconds) const
    {
        const auto found = mTimes.find(name);
        if (found == mTimes.end())
            return;
        const auto verdict = [limitSeconds](double seconds) { return seconds <= limitSeconds ? "within" : "MISSES"; };
        std::cout << "  " << what << " (bar " << limitSeconds * 1000.0 << " ms): " << found->second.wall * 1000.0
                  << " ms wall, " << verdict(found->second.wall) << "; " << found->second.cpu * 1000.0
                  << " ms process CPU, " << verdict(found->second.cpu) << "\n";
    }

private:
    struct Times
    {
        double wall;
        double cpu;
    };

    std::map<std::string, Times> mTimes;
    std::map<std::string, benchmark::UserCounters> mCounters;
};

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--help") == 0)
        {
            std::cout << "bench_world: builds the world from \"" << MapFile << "\" with every tree and cactus\n"
                      << "spawned (bar: under 300 ms), steps it with its player and 24 snakes (bar: under\n"
                      << "1 ms a step) and draws frames of the densest forest at 800 x 600\n"
                      << "(bar: at least 120 frames per second). Run it in the data directory, with a\n"
                      << "display (xvfb-run -a when headless). Google Benchmark's options follow.\n\n";
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout << "\nRatios to baselines of this run:\n";
    reporter.printRatio("world build / terrain-only build", "BM_BuildWorld", "BM_BuildTerrainOnly");
    reporter.printRatio("world build / decoding the map image", "BM_BuildWorld", "BM_DecodeMap");
    reporter.printRatio("terrain of the densest forest view / every tile of the map", "BM_DrawDensestForestTerrain",
                        "BM_DrawEveryTile");
    reporter.printRatio("densest forest frame / empty frame", "BM_DrawDensestForest", "BM_EmptyFrame");
    reporter.printRatio("densest forest frame / its terrain alone", "BM_DrawDensestForest",
                        "BM_DrawDensestForestTerrain");
    reporter.printRatio("densest forest frame / one screen of blended texture fill", "BM_DrawDensestForest",
                        "BM_FillScreen");
    reporter.printRatio("densest forest frame / the same frame drawn without the painter", "BM_DrawDensestForest",
                        "BM_DrawDensestForestPlain");
    reporter.printRatio("densest forest frame running / one screen of blended texture fill", "BM_DrawDensestForestRunning",
                        "BM_FillScreen");
    reporter.printCounterRatio("densest forest frame running, median / one screen of blended texture fill",
                               "BM_DrawDensestForestRunning", "median_ms", "median_cpu_ms", "BM_FillScreen");
    reporter.printCounterRatio("densest forest frame running, slowest in a hundred / one screen of blended texture fill",
                               "BM_DrawDensestForestRunning", "p99_ms", "p99_cpu_ms", "BM_FillScreen");
    reporter.printRatio("densest forest frame with nothing cached / one screen of blended texture fill",
                        "BM_DrawDensestForestUncached", "BM_FillScreen");
    reporter.printRatio("densest forest frame drawn plainly / one screen of blended texture fill", "BM_DrawDensestForestPlain",
                        "BM_FillScreen");
    reporter.printRatio("densest forest frame, running / camera still", "BM_DrawDensestForestRunning",
                        "BM_DrawDensestForest");
    reporter.printFitting("frames of one screen of blended texture fill that fit in 1/120 s", "BM_FillScreen", 1.0 / 120.0);
    std::cout << "Frame rates:\n";
    reporter.printFrameRate("empty frame", "BM_EmptyFrame");
    reporter.printFrameRate("densest forest", "BM_DrawDensestForest");
    reporter.printFrameRate("densest forest, running", "BM_DrawDensestForestRunning");
    reporter.printFrameRate("densest forest, nothing cached", "BM_DrawDensestForestUncached");
    reporter.printFrameRate("densest forest, without the painter", "BM_DrawDensestForestPlain");
    reporter.printFrameRate("densest forest, terrain alone", "BM_DrawDensestForestTerrain");
    reporter.printFrameRate("every tile of the map", "BM_DrawEveryTile");
    std::cout << "Bars (wall time suffers when other work shares the cores; process CPU time does not):\n";
    reporter.printBar("world build", "BM_BuildWorld", 0.300);
    reporter.printBar("update step of the whole world", "BM_UpdateStep", 0.001);
    reporter.printBar("densest forest frame, 120 frames per second", "BM_DrawDensestForest", 1.0 / 120.0);
    reporter.printBar("densest forest frame running, 120 frames per second", "BM_DrawDensestForestRunning", 1.0 / 120.0);
    benchmark::Shutdown();
    return 0;
}
