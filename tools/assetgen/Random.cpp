#include "tools/assetgen/Random.hpp"

namespace QEL::AssetGen {

Random::Random(std::uint32_t seed) : mEngine(seed) {}

float Random::real(float low, float high)
{
    // Built from raw engine bits, as std::uniform_real_distribution differs between libraries.
    const float unit = static_cast<float>(mEngine() >> 8) / 16777216.0f;
    return low + (high - low) * unit;
}

int Random::integer(int low, int high)
{
    const std::uint32_t span = static_cast<std::uint32_t>(high - low) + 1u;
    return low + static_cast<int>(mEngine() % span);
}

bool Random::chance(float probability)
{
    return real() < probability;
}

float Random::hash(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = seed * 0x9E3779B9u;
    h ^= static_cast<std::uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<std::uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return static_cast<float>(h >> 8) / 16777216.0f;
}

} // namespace QEL::AssetGen
