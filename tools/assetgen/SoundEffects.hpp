#ifndef QEL_ASSETGEN_SOUNDEFFECTS_HPP
#define QEL_ASSETGEN_SOUNDEFFECTS_HPP

#include <SFML/Config.hpp>

#include <string>
#include <vector>

namespace QEL::AssetGen {

// The game's short sound effects, synthesised from tones and filtered noise: axe strokes, the
// tree's creak and crash, rope, water, footsteps, roads and the interface's click.
class SoundEffects {
public:
    static constexpr unsigned SampleRate = 22050;

    // One effect and the file the game loads it from.
    struct Effect {
        std::string file;
        std::vector<sf::Int16> samples;
    };

    // Every effect, in a fixed order.
    static std::vector<Effect> all();
};

} // namespace QEL::AssetGen

#endif
