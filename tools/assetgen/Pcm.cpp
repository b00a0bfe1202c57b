#include "tools/assetgen/Pcm.hpp"

#include <algorithm>
#include <cmath>

namespace QEL::AssetGen::Pcm {

std::vector<sf::Int16> normalised(const std::vector<float>& mix, float peak)
{
    float loudest = 1e-6f;
    for (float v : mix)
        loudest = std::max(loudest, std::fabs(v));
    const float gain = peak * 32767.0f / loudest;
    std::vector<sf::Int16> samples(mix.size());
    std::transform(mix.begin(), mix.end(), samples.begin(), [gain](float v) { return static_cast<sf::Int16>(std::lround(v * gain)); });
    return samples;
}

} // namespace QEL::AssetGen::Pcm
