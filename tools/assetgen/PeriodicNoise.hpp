#ifndef QEL_ASSETGEN_PERIODICNOISE_HPP
#define QEL_ASSETGEN_PERIODICNOISE_HPP

#include <cstdint>

namespace QEL::AssetGen {

// Smooth value noise that repeats every `period` pixels in both directions, so a tile painted
// from it continues seamlessly into its neighbours and into itself.
class PeriodicNoise {
public:
    PeriodicNoise(float period, std::uint32_t seed);

    // One octave on a lattice of `cells` x `cells` per period, in [0, 1].
    float value(float x, float y, int cells) const;
    // Octaves from `cells` upwards, each twice as fine and half as strong, in [0, 1].
    float fractal(float x, float y, int cells, int octaves) const;

private:
    float lattice(int x, int y, int cells) const;

    float mPeriod;
    std::uint32_t mSeed;
};

} // namespace QEL::AssetGen

#endif
