#ifndef QEL_ASSETGEN_EFFECTTRACK_HPP
#define QEL_ASSETGEN_EFFECTTRACK_HPP

#include "tools/assetgen/Random.hpp"

#include <SFML/Config.hpp>

#include <vector>

namespace QEL::AssetGen {

// One short sound effect being built from layers of tones and filtered noise, then scaled to a
// common peak. Times and lengths are in seconds. Each layer fades out at its own end; a layer
// running past the effect's end is cut off there, so recipes keep their layers inside.
class EffectTrack {
public:
    // How a layer's loudness moves over its length.
    enum class Shape {
        Strike,  // at once, then an exponential decay
        Swell    // rises and falls back smoothly
    };

    EffectTrack(unsigned sampleRate, float seconds, std::uint32_t seed);

    // A sine gliding from `from` to `to` Hz, decaying by `decay` per second.
    void tone(float start, float length, float from, float to, float decay, float volume);
    // Noise between `low` and `high` Hz.
    void noise(float start, float length, float low, float high, Shape shape, float decay, float volume);
    // `count` short clicks scattered over a span: cracking wood, grit.
    void crackle(float start, float length, int count, float high, float volume);
    // Stick-slip pulses `rate` times a second (wandering), each ringing at `pitch` Hz: a creak.
    void creak(float start, float length, float rate, float pitch, float volume);
    // `count` small rising bubbles scattered over a span.
    void bubbles(float start, float length, int count, float pitch, float volume);

    // The mix scaled to a common peak.
    std::vector<sf::Int16> render() const;

    Random& random() { return mRandom; }

private:
    long indexOf(float seconds) const;
    void add(long index, float value);

    float mRate;
    std::vector<float> mMix;
    Random mRandom;
};

} // namespace QEL::AssetGen

#endif
