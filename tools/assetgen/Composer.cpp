#include "tools/assetgen/Composer.hpp"

#include "tools/assetgen/Synth.hpp"

#include <array>

namespace QEL::AssetGen {

namespace {

using Instrument = Synth::Instrument;

// One written note: position and length in beats within its bar, and its MIDI number.
struct Note {
    float at;
    float length;
    int pitch;
};

using Bar = std::vector<Note>;

// Triads by root: the chord of each bar.
std::array<int, 3> triad(int root, bool minor)
{
    return {root, root + (minor ? 3 : 4), root + 7};
}

void playBar(Synth& synth, Instrument instrument, const Bar& bar, float barStart, float beat, float volume, int shift = 0)
{
    for (const Note& note : bar)
        synth.play(instrument, barStart + note.at * beat, note.length * beat, note.pitch + shift, volume);
}

} // namespace

std::vector<sf::Int16> Composer::meadow()
{
    constexpr float Beat = 0.5f;
    constexpr int Bars = 24;
    Synth synth(SampleRate, Bars * 4 * Beat, 7001);

    // The chord of every bar: A (bars 1-8), B (9-16), A again (17-24); 'm' marks minor.
    const int D = 50, E = 52, G = 55, A = 57, B = 59;
    const std::array<std::pair<int, bool>, 8> partA = {{{D, false}, {A, false}, {B, true}, {G, false},
                                                        {D, false}, {A, false}, {G, false}, {A, false}}};
    const std::array<std::pair<int, bool>, 8> partB = {{{G, false}, {D, false}, {E, true}, {A, false},
                                                        {G, false}, {D, false}, {E, true}, {A, false}}};
    const std::vector<Bar> melodyA = {
        {{0, 1, 69}, {1, 0.5f, 66}, {1.5f, 0.5f, 69}, {2, 1.5f, 74}, {3.5f, 0.5f, 73}},
        {{0, 0.5f, 71}, {0.5f, 0.5f, 69}, {1, 1, 64}, {2, 1, 73}, {3, 1, 69}},
        {{0, 1.5f, 78}, {1.5f, 0.5f, 76}, {2, 1, 74}, {3, 1, 71}},
        {{0, 1, 74}, {1, 0.5f, 71}, {1.5f, 0.5f, 67}, {2, 1, 71}, {3, 1, 74}},
        {{0, 1, 78}, {1, 0.5f, 76}, {1.5f, 0.5f, 74}, {2, 1.5f, 69}, {3.5f, 0.5f, 74}},
        {{0, 1, 76}, {1, 0.5f, 73}, {1.5f, 0.5f, 69}, {2, 1, 76}, {3, 1, 79}},
        {{0, 0.5f, 78}, {0.5f, 0.5f, 79}, {1, 0.5f, 78}, {1.5f, 0.5f, 76}, {2, 1, 74}, {3, 1, 71}},
        {{0, 1.5f, 73}, {1.5f, 0.5f, 74}, {2, 2, 76}},
    };
    const std::vector<Bar> melodyB = {
        {{0, 1.5f, 79}, {1.5f, 0.5f, 78}, {2, 1, 76}, {3, 1, 74}},
        {{0, 1, 78}, {1, 1, 81}, {2, 1, 78}, {3, 1, 74}},
        {{0, 1.5f, 76}, {1.5f, 0.5f, 74}, {2, 1, 71}, {3, 1, 67}},
        {{0, 1, 69}, {1, 1, 73}, {2, 1, 76}, {3, 1, 81}},
        {{0, 1, 79}, {1, 0.5f, 71}, {1.5f, 0.5f, 74}, {2, 1, 79}, {3, 1, 78}},
        {{0, 1.5f, 81}, {1.5f, 0.5f, 78}, {2, 2, 74}},
        {{0, 0.5f, 76}, {0.5f, 0.5f, 78}, {1, 1, 79}, {2, 0.5f, 78}, {2.5f, 0.5f, 76}, {3, 1, 74}},
        {{0, 2, 73}, {2, 1, 76}},
    };
    // The last bar walks down into the first, so the loop closes on the tonic.
    const Bar turnaround = {{0, 0.5f, 76}, {0.5f, 0.5f, 74}, {1, 0.5f, 73}, {1.5f, 0.5f, 71}, {2, 2, 69}};

    for (int bar = 0; bar < Bars; ++bar)
    {
        const float start = bar * 4 * Beat;
        const bool bridge = bar >= 8 && bar < 16;
        const auto& chord = bridge ? partB[bar % 8] : partA[bar % 8];
        const std::array<int, 3> notes = triad(chord.first, chord.second);

        // Melody: the theme, the bridge, then the theme again doubled by bells.
        const Bar& line = bridge ? melodyB[bar % 8] : (bar == Bars - 1 ? turnaround : melodyA[bar % 8]);
        playBar(synth, Instrument::Lead, line, start, Beat, 0.16f);
        if (bar >= 16)
            playBar(synth, Instrument::Bell, line, start, Beat, 0.07f, 12);

        // Pad holding the chord, bass walking root, fifth and octave.
        for (int pitch : notes)
            synth.play(Instrument::Pad, start, 4 * Beat, pitch + 12, 0.05f);
        const int root = chord.first - 12;
        const Bar bass = {{0, 0.9f, root}, {1, 0.45f, root + 7}, {1.5f, 0.45f, root + 12}, {2, 0.9f, root}, {3, 0.9f, root + 7}};
        playBar(synth, Instrument::Bass, bass, start, Beat, 0.22f);

        // Plucked arpeggios in eighths through the bridge and the reprise.
        if (bar >= 8)
            for (int step = 0; step < 8; ++step)
            {
                const int pitch = notes[static_cast<std::size_t>(step % 3)] + 12 * (1 + (step / 3) % 2);
                synth.play(Instrument::Pluck, start + step * 0.5f * Beat, 0.45f * Beat, pitch, 0.1f);
            }

        // Drums: kick on one and three, snare on two and four, eighth-note hats.
        for (int beat = 0; beat < 4; ++beat)
        {
            const float at = start + beat * Beat;
            if (beat % 2 == 0)
                synth.play(Instrument::Kick, at, 0, 0, 0.5f);
            else if (bar >= 4)
                synth.play(Instrument::Snare, at, 0, 0, 0.22f);
            synth.play(Instrument::Hat, at, 0, 0, 0.06f);
            synth.play(Instrument::Hat, at + 0.5f * Beat, 0, 0, bar >= 8 ? 0.09f : 0.05f);
        }
    }
    synth.echo(0.75f * Beat, 0.28f, 3);
    return synth.render();
}

std::vector<sf::Int16> Composer::desert()
{
    constexpr float Eighth = 0.2f;   // 6/8 bars of 1.2 s
    constexpr int Bars = 40;
    Synth synth(SampleRate, Bars * 6 * Eighth, 8001);

    // Phrases in eighths: D Eb F# G A Bb C, the scale's augmented second gives its colour.
    const std::vector<Bar> low = {
        {{0, 2, 62}, {2, 1, 63}, {3, 2, 66}, {5, 1, 67}},
        {{0, 3, 69}, {3, 1, 67}, {4, 1, 66}, {5, 1, 63}},
        {{0, 2, 62}, {2, 1, 66}, {3, 1, 69}, {4, 1, 70}, {5, 1, 69}},
        {{0, 1, 67}, {1, 1, 66}, {2, 1, 63}, {3, 3, 62}},
        {{0, 2, 69}, {2, 1, 70}, {3, 2, 72}, {5, 1, 70}},
        {{0, 1, 69}, {1, 1, 67}, {2, 1, 66}, {3, 1, 67}, {4, 2, 69}},
        {{0, 1, 70}, {1, 1, 69}, {2, 1, 67}, {3, 1, 66}, {4, 1, 63}, {5, 1, 66}},
        {{0, 6, 62}},
    };
    const std::vector<Bar> high = {
        {{0, 2, 74}, {2, 1, 72}, {3, 1, 70}, {4, 2, 69}},
        {{0, 1, 70}, {1, 1, 72}, {2, 1, 74}, {3, 3, 75}},
        {{0, 3, 74}, {3, 1, 72}, {4, 1, 70}, {5, 1, 69}},
        {{0, 2, 67}, {2, 1, 69}, {3, 3, 70}},
        {{0, 1, 69}, {1, 1, 70}, {2, 1, 72}, {3, 3, 74}},
        {{0, 2, 75}, {2, 1, 74}, {3, 1, 72}, {4, 1, 70}, {5, 1, 69}},
        {{0, 2, 67}, {2, 1, 66}, {3, 2, 63}, {5, 1, 66}},
        {{0, 3, 62}, {3, 3, 57}},
    };
    const std::vector<Bar> calm = {
        {{0, 6, 74}}, {{0, 6, 72}}, {{0, 6, 70}}, {{0, 6, 69}},
        {{0, 3, 67}, {3, 3, 69}}, {{0, 6, 70}}, {{0, 4, 69}, {4, 2, 66}}, {{0, 6, 62}},
    };

    for (int bar = 0; bar < Bars; ++bar)
    {
        const float start = bar * 6 * Eighth;
        const int section = bar / 8;   // 0 low, 1 high, 2 low, 3 calm, 4 high with flute
        const int index = bar % 8;
        switch (section)
        {
        case 0:
        case 2:
            playBar(synth, Instrument::Pluck, low[index], start, Eighth, 0.34f, section == 2 ? 12 : 0);
            break;
        case 1:
            playBar(synth, Instrument::Pluck, high[index], start, Eighth, 0.34f);
            break;
        case 3:
            playBar(synth, Instrument::Flute, calm[index], start, Eighth, 0.12f);
            break;
        default:
            playBar(synth, Instrument::Pluck, high[index], start, Eighth, 0.28f);
            playBar(synth, Instrument::Flute, high[index], start, Eighth, 0.08f, -12);
            break;
        }

        // The drone on D and A, and a plucked bass on the strong beats.
        synth.play(Instrument::Pad, start, 6 * Eighth, 50, 0.05f);
        synth.play(Instrument::Pad, start, 6 * Eighth, 57, 0.035f);
        synth.play(Instrument::Bass, start, 2 * Eighth, 38, 0.2f);
        synth.play(Instrument::Bass, start + 3 * Eighth, Eighth, index % 2 == 0 ? 45 : 38, 0.14f);

        // Hand drums: doum-ka-tek doum-tek-ka, with a roll closing every eight bars.
        const bool fill = index == 7;
        const Instrument pattern[6] = {Instrument::Doum, Instrument::Tek, Instrument::Tek,
                                       Instrument::Doum, Instrument::Tek, Instrument::Tek};
        const float loud[6] = {0.55f, 0.12f, 0.22f, 0.45f, 0.22f, 0.12f};
        for (int step = 0; step < 6; ++step)
        {
            if (section == 3 && step % 3 != 0)
                continue;
            synth.play(pattern[step], start + step * Eighth, 0, 0, loud[step]);
            if (fill && step >= 3)
                synth.play(Instrument::Tek, start + (step + 0.5f) * Eighth, 0, 0, 0.14f);
        }
    }
    // A dry room: a few short reflections.
    synth.echo(0.13f, 0.3f, 2);
    synth.echo(0.6f, 0.2f, 2);
    return synth.render();
}

} // namespace QEL::AssetGen
