#ifndef QEL_ASSETGEN_PCM_HPP
#define QEL_ASSETGEN_PCM_HPP

#include <SFML/Config.hpp>

#include <vector>

namespace QEL::AssetGen::Pcm {

// A mix as 16-bit samples, scaled so that its loudest sample reaches `peak` of full scale.
std::vector<sf::Int16> normalised(const std::vector<float>& mix, float peak);

} // namespace QEL::AssetGen::Pcm

#endif
