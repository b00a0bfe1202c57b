#include "tools/assetgen/PeriodicNoise.hpp"

#include "tools/assetgen/Random.hpp"

#include <cmath>

namespace QEL::AssetGen {

PeriodicNoise::PeriodicNoise(float period, std::uint32_t seed) : mPeriod(period), mSeed(seed) {}

float PeriodicNoise::lattice(int x, int y, int cells) const
{
    const int wx = ((x % cells) + cells) % cells;
    const int wy = ((y % cells) + cells) % cells;
    return Random::hash(wx, wy, mSeed + static_cast<std::uint32_t>(cells) * 7919u);
}

float PeriodicNoise::value(float x, float y, int cells) const
{
    const float fx = x / mPeriod * static_cast<float>(cells);
    const float fy = y / mPeriod * static_cast<float>(cells);
    const int ix = static_cast<int>(std::floor(fx));
    const int iy = static_cast<int>(std::floor(fy));
    auto smooth = [](float t) { return t * t * (3.0f - 2.0f * t); };
    const float tx = smooth(fx - static_cast<float>(ix));
    const float ty = smooth(fy - static_cast<float>(iy));
    const float top = lattice(ix, iy, cells) + (lattice(ix + 1, iy, cells) - lattice(ix, iy, cells)) * tx;
    const float bottom = lattice(ix, iy + 1, cells) + (lattice(ix + 1, iy + 1, cells) - lattice(ix, iy + 1, cells)) * tx;
    return top + (bottom - top) * ty;
}

float PeriodicNoise::fractal(float x, float y, int cells, int octaves) const
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave)
    {
        sum += value(x, y, cells << octave) * weight;
        total += weight;
        weight *= 0.5f;
    }
    return sum / total;
}

} // namespace QEL::AssetGen
