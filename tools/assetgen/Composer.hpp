#ifndef QEL_ASSETGEN_COMPOSER_HPP
#define QEL_ASSETGEN_COMPOSER_HPP

#include <SFML/Config.hpp>

#include <vector>

namespace QEL::AssetGen {

// The game's two pieces of music, written out note by note and played on the Synth.
class Composer {
public:
    static constexpr unsigned SampleRate = 22050;

    // "I Am The Adventuror": the grassland theme, D major, 4/4 at 120 beats a minute, 48 s.
    static std::vector<sf::Int16> meadow();
    // "DSRT": the desert theme, D Phrygian dominant over a drone, 6/8 hand drums, 48 s.
    static std::vector<sf::Int16> desert();
};

} // namespace QEL::AssetGen

#endif
