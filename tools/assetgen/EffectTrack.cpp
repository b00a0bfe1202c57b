#include "tools/assetgen/EffectTrack.hpp"

#include "tools/assetgen/Pcm.hpp"

#include <algorithm>
#include <cmath>

namespace QEL::AssetGen {

namespace {

constexpr float Pi = 3.14159265f;
constexpr float Attack = 0.002f;    // seconds a struck layer takes to reach full loudness
constexpr float LayerFade = 0.005f; // seconds a layer takes to fall silent at its end

// Coefficient of a one-pole low-pass with its corner at `frequency`.
float poleFor(float frequency, float rate)
{
    return 1.0f - std::exp(-2.0f * Pi * frequency / rate);
}

// Loudness at `t` seconds into a layer `length` long.
float envelope(EffectTrack::Shape shape, float t, float length, float decay)
{
    const float tail = std::clamp((length - t) / LayerFade, 0.0f, 1.0f);
    if (shape == EffectTrack::Shape::Swell)
    {
        const float rise = std::sin(Pi * t / length);
        return rise * rise * tail;
    }
    return std::min(1.0f, t / Attack) * std::exp(-t * decay) * tail;
}

} // namespace

EffectTrack::EffectTrack(unsigned sampleRate, float seconds, std::uint32_t seed)
: mRate(static_cast<float>(sampleRate)), mMix(static_cast<std::size_t>(std::lround(seconds * sampleRate)), 0.0f), mRandom(seed)
{
}

long EffectTrack::indexOf(float seconds) const
{
    return std::lround(seconds * mRate);
}

void EffectTrack::add(long index, float value)
{
    if (index >= 0 && index < static_cast<long>(mMix.size()))
        mMix[static_cast<std::size_t>(index)] += value;
}

void EffectTrack::tone(float start, float length, float from, float to, float decay, float volume)
{
    const long first = indexOf(start);
    const long count = indexOf(length);
    float phase = 0.0f;
    for (long n = 0; n < count; ++n)
    {
        const float t = static_cast<float>(n) / mRate;
        phase += from * std::pow(to / from, t / length) / mRate;
        phase -= std::floor(phase);
        add(first + n, std::sin(2.0f * Pi * phase) * envelope(Shape::Strike, t, length, decay) * volume);
    }
}

void EffectTrack::noise(float start, float length, float low, float high, Shape shape, float decay, float volume)
{
    const long first = indexOf(start);
    const long count = indexOf(length);
    const float lowPole = poleFor(low, mRate);
    const float highPole = poleFor(high, mRate);
    float belowHigh = 0.0f;
    float belowLow = 0.0f;
    for (long n = 0; n < count; ++n)
    {
        const float t = static_cast<float>(n) / mRate;
        belowHigh += highPole * (mRandom.real(-1.0f, 1.0f) - belowHigh);
        belowLow += lowPole * (belowHigh - belowLow);
        add(first + n, (belowHigh - belowLow) * envelope(shape, t, length, decay) * volume);
    }
}

void EffectTrack::crackle(float start, float length, int count, float high, float volume)
{
    const long clickLength = indexOf(0.004f);
    const float pole = poleFor(high, mRate);
    for (int click = 0; click < count; ++click)
    {
        const long first = indexOf(start + mRandom.real(0.0f, length));
        const float loudness = volume * mRandom.real(0.3f, 1.0f);
        float smooth = 0.0f;
        for (long n = 0; n < clickLength; ++n)
        {
            smooth += pole * (mRandom.real(-1.0f, 1.0f) - smooth);
            add(first + n, smooth * loudness * std::exp(-static_cast<float>(n) / mRate * 1500.0f));
        }
    }
}

void EffectTrack::creak(float start, float length, float rate, float pitch, float volume)
{
    for (float t = 0.0f; t < length;)
    {
        const float swell = std::sqrt(std::sin(Pi * t / length));
        const float ring = pitch * mRandom.real(0.96f, 1.04f);
        tone(start + t, 0.04f, ring, ring * 0.97f, 80.0f, volume * swell * mRandom.real(0.6f, 1.0f));
        tone(start + t, 0.02f, ring * 2.3f, ring * 2.3f, 150.0f, 0.4f * volume * swell);
        // The wood sticks and slips a little unevenly, slower and faster in turn.
        const float wander = 1.0f + 0.35f * std::sin(2.0f * Pi * 0.9f * t) + mRandom.real(-0.1f, 0.1f);
        t += 1.0f / (rate * wander);
    }
}

void EffectTrack::bubbles(float start, float length, int count, float pitch, float volume)
{
    for (int bubble = 0; bubble < count; ++bubble)
    {
        const float size = mRandom.real(0.7f, 1.4f);
        tone(start + mRandom.real(0.0f, length), 0.06f, pitch * size, pitch * size * 1.6f, 50.0f, volume * mRandom.real(0.4f, 1.0f));
    }
}

std::vector<sf::Int16> EffectTrack::render() const
{
    return Pcm::normalised(mMix, 0.89f);
}

} // namespace QEL::AssetGen
