#ifndef QEL_TESTS_TOOLS_ASSETSOUNDS_HPP
#define QEL_TESTS_TOOLS_ASSETSOUNDS_HPP

#include <string>
#include <vector>

// Helpers for listening to the generated music and effects.
namespace AssetSounds {

// Decoded samples folded to one channel, from -1 to 1.
struct Track {
    std::vector<float> samples;
    unsigned rate = 0;
    unsigned channels = 0;

    double seconds() const { return rate == 0 ? 0.0 : static_cast<double>(samples.size()) / rate; }
};

// Decodes a file of the data directory; fails the calling test (by exception) when it cannot.
Track decode(const std::string& name);

// Root mean square level of samples [first, last).
double rms(const Track& track, std::size_t first, std::size_t last);

} // namespace AssetSounds

#endif
