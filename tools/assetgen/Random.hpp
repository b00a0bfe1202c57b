#ifndef QEL_ASSETGEN_RANDOM_HPP
#define QEL_ASSETGEN_RANDOM_HPP

#include <cstdint>
#include <random>

namespace QEL::AssetGen {

// Seeded pseudo-random source: the same seed gives the same pictures on every run.
class Random {
public:
    explicit Random(std::uint32_t seed);

    // Uniform in [low, high).
    float real(float low = 0.0f, float high = 1.0f);
    // Uniform in [low, high], both included.
    int integer(int low, int high);
    bool chance(float probability);

    // Stateless hash of a cell, uniform in [0, 1): lets painters ask "the same question twice".
    static float hash(int x, int y, std::uint32_t seed);

private:
    std::mt19937 mEngine;
};

} // namespace QEL::AssetGen

#endif
