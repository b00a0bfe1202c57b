// The heads-up display's frame at 800 x 600 with six chat lines of 65,535 bytes (of one letter,
// or of several scripts), against the same frame with six short lines, both measured in one run
// (bar: the long lines cost at most 1.5 times the short ones); and what a line costs the chat
// box, from its arrival to its first frame, in Chinese against one in Latin letters (bar: at
// most 1.5 times). Run it in the data directory (it reads the interface pictures) with a display.

#include "app/GameEvents.hpp"
#include "app/ResourceManager.hpp"
#include "ecs/EntitySystem.hpp"
#include "ui/UI.hpp"

#include <benchmark/benchmark.h>

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/System/String.hpp>

#include <boost/any.hpp>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <iostream>
#include <string>
#include <tuple>
#include <vector>

namespace
{

constexpr unsigned Width = 800;
constexpr unsigned Height = 600;
constexpr std::size_t ShortLine = 24;
constexpr std::size_t LongLine = 65535;
constexpr std::size_t Lines = 6;
/// Frames drawn, and timed, after each change of the history.
constexpr int Frames = 10;

/// Seconds spent, by the clock and by the processor: the processor's seconds are those of every
/// thread of the process, the software rasteriser's own among them, so they hold steadier than
/// the clock's on a busy machine.
struct Cost
{
    double wall = 0.0;
    double processor = 0.0;

    Cost& operator+=(const Cost& other)
    {
        wall += other.wall;
        processor += other.processor;
        return *this;
    }
};

/// Measures the cost from its construction on.
class Stopwatch
{
public:
    Stopwatch() : mWall(std::chrono::steady_clock::now()), mProcessor(getProcessorSeconds()) {}

    Cost getElapsed() const
    {
        return {std::chrono::duration<double>(std::chrono::steady_clock::now() - mWall).count(), getProcessorSeconds() - mProcessor};
    }

private:
    static double getProcessorSeconds()
    {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
    }

    std::chrono::steady_clock::time_point mWall;
    double mProcessor;
};

/// The heads-up display alone in its window, as the game draws it over the world.
class Hud
{
public:
    Hud() : mWindow(sf::VideoMode(Width, Height), "bench_hud")
    {
        QEL::gSpritesheets.load("UI::Volume", "Volume.png", 3, 2);
        mSystem.registerComponent("QEL.Components.UI", [] { return new QEL::Components::UI(); });
        mSystem.addComponent(mSystem.createEntity(), mSystem.createComponent("QEL.Components.UI"));
    }

    /// Replaces the chat history by `lines`; the cost from the first line's arrival to the end
    /// of the first frame that shows them all.
    Cost show(const std::vector<std::string>& lines)
    {
        // Each line also goes to the console, which is no part of the frame.
        std::streambuf* console = std::cout.rdbuf(nullptr);
        while (!QEL::Components::UI::getChatHistory().empty())
            drawFrame(100.f);
        const Stopwatch stopwatch;
        for (const std::string& line : lines)
            send("QEL.Chat.Message", std::make_tuple(3u, sf::String::fromUtf8(line.begin(), line.end())));
        drawFrame();
        const Cost cost = stopwatch.getElapsed();
        std::cout.clear();
        std::cout.rdbuf(console);
        return cost;
    }

    /// The cost of `Frames` frames, each shown on screen.
    Cost timeFrames()
    {
        const Stopwatch stopwatch;
        for (int i = 0; i < Frames; ++i)
            drawFrame();
        return stopwatch.getElapsed();
    }

private:
    void drawFrame(float seconds = 0.f)
    {
        mWindow.clear();
        send("QEL.Game.DrawUi", QEL::DrawEvent{&mWindow, sf::FloatRect(0.f, 0.f, Width, Height), seconds});
        mWindow.display();
    }

    void send(const std::string& name, const boost::any& payload)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, payload);
        mSystem.sendGlobalMessage(mSystem.getMessageRequestId(Tessaly::MessageRequest, name), message);
    }

    Tessaly::EntitySystem mSystem{false};
    sf::RenderWindow mWindow;
};

/// Six lines of `bytes` bytes each, made of `pieces` over and over (whole characters only), each
/// line starting at the next piece.
std::vector<std::string> makeLines(const std::vector<std::string>& pieces, std::size_t bytes)
{
    std::vector<std::string> lines;
    for (std::size_t line = 0; line < Lines; ++line)
    {
        std::string text;
        for (std::size_t piece = line; text.size() + pieces[piece % pieces.size()].size() <= bytes; ++piece)
            text += pieces[piece % pieces.size()];
        lines.push_back(text);
    }
    return lines;
}

/// The one window and interface every benchmark draws.
Hud& getHud()
{
    static Hud hud;
    return hud;
}

/// Six lines of `bytes` letters, W, M, W and so on, one letter a line.
std::vector<std::string> makeLetterLines(std::size_t bytes)
{
    std::vector<std::string> lines;
    for (char letter : std::string("WMWMWM"))
        lines.emplace_back(bytes, letter);
    return lines;
}

// Latin, Greek, Cyrillic, Han, kana, Hangul, a combining mark and a character no font has.
const std::vector<std::string> Scripts = {"a", "\xCE\xA9", "\xD0\x96", "\xE4\xBD\xA0", "\xE3\x81\x93", "\xED\x95\x9C",
                                          "e\xCC\x81", "\xCD\xB8"};

// Each iteration draws the short lines, then the long ones; the time reported is that of the
// long lines' frames, the counters give both and their ratio.
void BM_HudSixLongLinesAgainstSixShort(benchmark::State& state, const std::vector<std::string>& longLines)
{
    Hud& hud = getHud();
    const std::vector<std::string> shortLines = makeLetterLines(ShortLine);
    double shortSeconds = 0.0;
    double longSeconds = 0.0;
    for (auto _ : state)
    {
        hud.show(shortLines);
        shortSeconds += hud.timeFrames().wall;
        hud.show(longLines);
        const double seconds = hud.timeFrames().wall;
        longSeconds += seconds;
        state.SetIterationTime(seconds / Frames);
    }
    const double frames = static_cast<double>(state.iterations()) * Frames;
    state.counters["short_ms"] = shortSeconds / frames * 1000.0;
    state.counters["long_ms"] = longSeconds / frames * 1000.0;
    state.counters["long/short"] = longSeconds / shortSeconds;
}

/// What a line costs the chat box: the cost from the lines' arrival to their first frame, less
/// a frame that shows them already, per line.
Cost getLineCost(Hud& hud, const std::vector<std::string>& lines)
{
    const Cost shown = hud.show(lines);
    const Cost frames = hud.timeFrames();
    const double count = static_cast<double>(lines.size());
    return {(shown.wall - frames.wall / Frames) / count, (shown.processor - frames.processor / Frames) / count};
}

// Each iteration shows six lines of Latin letters, then six lines of Han ideographs, each as
// wide as the window; the time reported is that of a Han line by the clock.
void BM_HudChineseLinesAgainstLatin(benchmark::State& state)
{
    Hud& hud = getHud();
    // About 780 pixels of either, cut to the window like any line.
    const std::vector<std::string> latin = makeLines({"Q", "u", "e", "l", "m", "o", "r", " ", "w", "a", "n", "d", "e", "r", "s"}, 120);
    const std::vector<std::string> chinese =
        makeLines({"\xE4\xBD\xA0", "\xE5\xA5\xBD", "\xE4\xB8\x96", "\xE7\x95\x8C", "\xE6\x97\x85", "\xE4\xBA\xBA", "\xE6\xA3\xAE", "\xE6\x9E\x97"},
                  3 * 66);
    Cost latinCost;
    Cost chineseCost;
    for (auto _ : state)
    {
        latinCost += getLineCost(hud, latin);
        const Cost cost = getLineCost(hud, chinese);
        chineseCost += cost;
        state.SetIterationTime(cost.wall);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["latin_ms"] = latinCost.wall / iterations * 1000.0;
    state.counters["chinese_ms"] = chineseCost.wall / iterations * 1000.0;
    state.counters["chinese/latin"] = chineseCost.wall / latinCost.wall;
    state.counters["latin_cpu_ms"] = latinCost.processor / iterations * 1000.0;
    state.counters["chinese_cpu_ms"] = chineseCost.processor / iterations * 1000.0;
    state.counters["cpu_chinese/latin"] = chineseCost.processor / latinCost.processor;
}

} // namespace

BENCHMARK_CAPTURE(BM_HudSixLongLinesAgainstSixShort, one_letter, makeLetterLines(LongLine))->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HudSixLongLinesAgainstSixShort, mixed_scripts, makeLines(Scripts, LongLine))->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HudChineseLinesAgainstLatin)->UseManualTime()->Unit(benchmark::kMillisecond);

const char* const Help =
    "bench_hud: draws the heads-up display at 800 x 600 with six chat lines of 65,535 bytes\n"
    "(of one letter, or of several scripts) and with six short ones, in one run; the counter\n"
    "long/short is their ratio (bar: at most 1.5). Then what a chat line costs from its\n"
    "arrival to its first frame, in Chinese and in Latin letters; the counter chinese/latin\n"
    "is their ratio (bar: at most 1.5). Run it in the data directory, with a display\n"
    "(xvfb-run -a when headless). Google Benchmark's options follow.\n\n";

int main(int argc, char** argv)
{
    if (std::any_of(argv + 1, argv + argc, [](const char* argument) { return std::strcmp(argument, "--help") == 0; }))
        std::cout << Help;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
}
