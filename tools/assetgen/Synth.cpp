#include "tools/assetgen/Synth.hpp"

#include "tools/assetgen/Pcm.hpp"

#include <algorithm>
#include <cmath>

namespace QEL::AssetGen {

namespace {

constexpr float Pi = 3.14159265f;

float frequencyOf(int note)
{
    return 440.0f * std::pow(2.0f, static_cast<float>(note - 69) / 12.0f);
}

// Attack-decay-sustain-release envelope; `held` is the note's length in seconds.
float envelope(float t, float held, float attack, float decay, float sustain, float release)
{
    float level;
    if (t < attack)
        level = t / attack;
    else if (t < attack + decay)
        level = 1.0f - (1.0f - sustain) * (t - attack) / decay;
    else
        level = sustain;
    if (t > held)
        level *= std::max(0.0f, 1.0f - (t - held) / release);
    return level;
}

} // namespace

Synth::Synth(unsigned sampleRate, float loopSeconds, std::uint32_t seed)
: mSampleRate(sampleRate), mMix(static_cast<std::size_t>(std::lround(loopSeconds * sampleRate)), 0.0f), mRandom(seed)
{
}

unsigned Synth::getSampleRate() const
{
    return mSampleRate;
}

void Synth::add(long index, float value)
{
    const long size = static_cast<long>(mMix.size());
    mMix[static_cast<std::size_t>(((index % size) + size) % size)] += value;
}

float Synth::noise()
{
    return mRandom.real(-1.0f, 1.0f);
}

void Synth::play(Instrument instrument, float start, float duration, int note, float volume)
{
    const long first = std::lround(start * mSampleRate);
    const long length = std::lround(duration * mSampleRate);
    switch (instrument)
    {
    case Instrument::Kick:
    case Instrument::Snare:
    case Instrument::Hat:
    case Instrument::Doum:
    case Instrument::Tek:
        drum(instrument, first, volume);
        break;
    case Instrument::Pluck:
        pluck(first, length, frequencyOf(note), volume);
        break;
    default:
        tone(instrument, first, length, frequencyOf(note), volume);
        break;
    }
}

void Synth::tone(Instrument instrument, long start, long length, float frequency, float volume)
{
    const float rate = static_cast<float>(mSampleRate);
    const float held = static_cast<float>(length) / rate;
    float attack = 0.01f, decay = 0.1f, sustain = 0.7f, release = 0.08f;
    switch (instrument)
    {
    case Instrument::Lead:  attack = 0.015f; decay = 0.2f; sustain = 0.6f; release = 0.12f; break;
    case Instrument::Bass:  attack = 0.008f; decay = 0.25f; sustain = 0.5f; release = 0.06f; break;
    case Instrument::Pad:   attack = 0.4f; decay = 0.5f; sustain = 0.8f; release = 0.6f; break;
    case Instrument::Bell:  attack = 0.003f; decay = 0.9f; sustain = 0.0f; release = 0.3f; break;
    case Instrument::Flute: attack = 0.08f; decay = 0.2f; sustain = 0.85f; release = 0.2f; break;
    default: break;
    }
    const long total = length + static_cast<long>(release * rate) + 1;
    float low = 0.0f;                 // one-pole low-pass state
    const float cutoff = instrument == Instrument::Pad ? 0.08f : instrument == Instrument::Lead ? 0.35f : 0.5f;
    float breath = 0.0f;
    // Phase accumulators in cycles, wrapped to [0, 1): [0] the tone, [1] and [2] detuned or
    // modulating partners.
    float phase[3] = {0.0f, 0.0f, 0.0f};
    auto advance = [](float& p, float step) {
        p += step;
        p -= std::floor(p);
    };
    for (long n = 0; n < total; ++n)
    {
        const float t = static_cast<float>(n) / rate;
        const float level = envelope(t, held, attack, decay, sustain, release);
        float value = 0.0f;
        switch (instrument)
        {
        case Instrument::Lead:
        {
            const float vibrato = 1.0f + 0.004f * std::sin(2.0f * Pi * 5.5f * t) * std::min(1.0f, t * 3.0f);
            advance(phase[0], frequency * vibrato / rate);
            value = (phase[0] < 0.4f ? 1.0f : -1.0f) * 0.6f + std::sin(2.0f * Pi * phase[0]) * 0.4f;
            break;
        }
        case Instrument::Bass:
            advance(phase[0], frequency / rate);
            advance(phase[1], 0.5f * frequency / rate);
            value = (4.0f * std::fabs(phase[0] - 0.5f) - 1.0f) * 0.8f + 0.4f * std::sin(2.0f * Pi * phase[1]);
            break;
        case Instrument::Pad:
            advance(phase[0], frequency * 0.994f / rate);
            advance(phase[1], frequency / rate);
            advance(phase[2], frequency * 1.007f / rate);
            value = (phase[0] + phase[1] + phase[2]) * (2.0f / 3.0f) - 1.0f;
            break;
        case Instrument::Bell:
            advance(phase[0], frequency / rate);
            advance(phase[1], 3.5f * frequency / rate);
            value = std::sin(2.0f * Pi * phase[0] + 2.2f * level * std::sin(2.0f * Pi * phase[1]));
            break;
        case Instrument::Flute:
        default:
            advance(phase[0], frequency / rate);
            breath = breath * 0.9f + noise() * 0.1f;
            value = std::sin(2.0f * Pi * phase[0]) + 0.15f * std::sin(4.0f * Pi * phase[0]) + 0.5f * breath;
            break;
        }
        low += cutoff * (value - low);
        add(start + n, low * level * volume);
    }
}

void Synth::pluck(long start, long length, float frequency, float volume)
{
    // A burst of noise circulating through a damped delay line of one period.
    const float rate = static_cast<float>(mSampleRate);
    const std::size_t period = std::max<std::size_t>(2, static_cast<std::size_t>(std::lround(rate / frequency)));
    std::vector<float> line(period);
    float smooth = 0.0f;
    for (float& v : line)
    {
        smooth = smooth * 0.5f + noise() * 0.5f;
        v = smooth;
    }
    const long release = static_cast<long>(0.05f * rate);
    const long total = length + release;
    std::size_t at = 0;
    for (long n = 0; n < total; ++n)
    {
        const std::size_t next = (at + 1) % period;
        const float out = line[at];
        line[at] = 0.996f * 0.5f * (line[at] + line[next]);
        at = next;
        const float fade = n < length ? 1.0f : 1.0f - static_cast<float>(n - length) / static_cast<float>(release);
        const float attack = std::min(1.0f, static_cast<float>(n) / (0.002f * rate));
        add(start + n, out * fade * attack * volume);
    }
}

void Synth::drum(Instrument instrument, long start, float volume)
{
    const float rate = static_cast<float>(mSampleRate);
    const float seconds = instrument == Instrument::Kick || instrument == Instrument::Doum ? 0.35f : 0.2f;
    const long total = static_cast<long>(seconds * rate);
    float phase = 0.0f;
    float low = 0.0f;
    float previous = 0.0f;
    for (long n = 0; n < total; ++n)
    {
        const float t = static_cast<float>(n) / rate;
        const float attack = std::min(1.0f, t / 0.002f);
        const float white = noise();
        float value = 0.0f;
        switch (instrument)
        {
        case Instrument::Kick:
            phase += (50.0f + 110.0f * std::exp(-t * 30.0f)) / rate;
            value = std::sin(2.0f * Pi * phase) * std::exp(-t * 9.0f);
            break;
        case Instrument::Doum:
            phase += (70.0f + 40.0f * std::exp(-t * 20.0f)) / rate;
            low += 0.05f * (white - low);
            value = (std::sin(2.0f * Pi * phase) + 1.5f * low) * std::exp(-t * 8.0f);
            break;
        case Instrument::Snare:
            phase += 185.0f / rate;
            low += 0.5f * (white - low);
            value = (0.5f * std::sin(2.0f * Pi * phase) * std::exp(-t * 20.0f) + 0.6f * low * std::exp(-t * 18.0f));
            break;
        case Instrument::Hat:
            // High-passed noise: the difference of neighbouring samples.
            value = (white - previous) * 0.5f * std::exp(-t * 45.0f);
            break;
        case Instrument::Tek:
        default:
            phase += 620.0f / rate;
            value = (0.6f * (white - previous) + 0.5f * std::sin(2.0f * Pi * phase)) * std::exp(-t * 35.0f);
            break;
        }
        previous = white;
        add(start + n, value * attack * volume);
    }
}

void Synth::echo(float delay, float feedback, int taps)
{
    const std::vector<float> dry = mMix;
    const long size = static_cast<long>(dry.size());
    const long step = std::lround(delay * mSampleRate);
    float gain = feedback;
    for (int tap = 1; tap <= taps; ++tap, gain *= feedback)
        for (long n = 0; n < size; ++n)
            add(n + step * tap, dry[static_cast<std::size_t>(n)] * gain);
}

std::vector<sf::Int16> Synth::render() const
{
    return Pcm::normalised(mMix, 0.85f);
}

} // namespace QEL::AssetGen
