// The heads-up display's frame at 800 x 600 with six chat lines of 65,535 bytes, against the
// same frame with six short lines, both measured in one run (bar: the long lines cost at most
// 1.5 times the short ones). Run it in the data directory (it reads the interface pictures)
// with a display.

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
#include <iostream>
#include <string>
#include <tuple>

namespace
{

constexpr unsigned Width = 800;
constexpr unsigned Height = 600;
constexpr std::size_t ShortLine = 24;
constexpr std::size_t LongLine = 65535;
/// Frames drawn, and timed, after each change of the history.
constexpr int Frames = 10;

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

    /// Replaces the chat history by six lines of `length` bytes each.
    void show(std::size_t length)
    {
        // Each line also goes to the console, which is no part of the frame.
        std::streambuf* console = std::cout.rdbuf(nullptr);
        while (!QEL::Components::UI::getChatHistory().empty())
            drawFrame(100.f);
        for (char letter : std::string("WMWMWM"))
            send("QEL.Chat.Message", std::make_tuple(3u, sf::String(std::string(length, letter))));
        std::cout.clear();
        std::cout.rdbuf(console);
        drawFrame();
    }

    /// Seconds that `Frames` frames take, each shown on screen.
    double timeFrames()
    {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < Frames; ++i)
            drawFrame();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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

// Each iteration draws the short lines, then the long ones; the time reported is that of the
// long lines' frames, the counters give both and their ratio.
void BM_HudSixLongLinesAgainstSixShort(benchmark::State& state)
{
    static Hud hud;
    double shortSeconds = 0.0;
    double longSeconds = 0.0;
    for (auto _ : state)
    {
        hud.show(ShortLine);
        shortSeconds += hud.timeFrames();
        hud.show(LongLine);
        const double seconds = hud.timeFrames();
        longSeconds += seconds;
        state.SetIterationTime(seconds / Frames);
    }
    const double frames = static_cast<double>(state.iterations()) * Frames;
    state.counters["short_ms"] = shortSeconds / frames * 1000.0;
    state.counters["long_ms"] = longSeconds / frames * 1000.0;
    state.counters["long/short"] = longSeconds / shortSeconds;
}

} // namespace

BENCHMARK(BM_HudSixLongLinesAgainstSixShort)->UseManualTime()->Unit(benchmark::kMillisecond);

const char* const Help =
    "bench_hud: draws the heads-up display at 800 x 600 with six chat lines of 65,535 bytes\n"
    "and with six short ones, in one run; the counter long/short is their ratio (bar: at\n"
    "most 1.5). Run it in the data directory, with a display (xvfb-run -a when\n"
    "headless). Google Benchmark's options follow.\n\n";

int main(int argc, char** argv)
{
    if (std::any_of(argv + 1, argv + argc, [](const char* argument) { return std::strcmp(argument, "--help") == 0; }))
        std::cout << Help;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
}
