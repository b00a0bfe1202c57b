#ifndef QEL_ASSETGEN_SYNTH_HPP
#define QEL_ASSETGEN_SYNTH_HPP

#include "tools/assetgen/Random.hpp"

#include <SFML/Config.hpp>

#include <vector>

namespace QEL::AssetGen {

// A small synthesiser that renders notes into a looping mix: whatever sounds past the end of the
// loop (note tails, echoes) continues at its start, so the track repeats without a seam.
class Synth {
public:
    enum class Instrument {
        Lead,   // soft square wave with vibrato
        Pluck,  // plucked string (Karplus-Strong)
        Bass,   // round triangle bass
        Pad,    // slow, detuned saws through a low-pass
        Bell,   // two-operator FM bell
        Flute,  // sine with breath
        Kick,
        Snare,
        Hat,
        Doum,   // low hand drum
        Tek     // high rim stroke of a hand drum
    };

    Synth(unsigned sampleRate, float loopSeconds, std::uint32_t seed);

    // Plays a note (MIDI number; ignored by the drums) at a time for a duration, at a volume.
    void play(Instrument instrument, float start, float duration, int note, float volume);
    // Echoes of the mix so far: `taps` repeats `delay` seconds apart, each `feedback` quieter.
    void echo(float delay, float feedback, int taps);
    // The mix scaled to a common peak level as 16-bit samples.
    std::vector<sf::Int16> render() const;

    unsigned getSampleRate() const;

private:
    void add(long index, float value);
    void tone(Instrument instrument, long start, long length, float frequency, float volume);
    void pluck(long start, long length, float frequency, float volume);
    void drum(Instrument instrument, long start, float volume);
    float noise();

    unsigned mSampleRate;
    std::vector<float> mMix;
    Random mRandom;
};

} // namespace QEL::AssetGen

#endif
