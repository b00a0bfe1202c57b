#ifndef QEL_ASSETGEN_COLORRAMP_HPP
#define QEL_ASSETGEN_COLORRAMP_HPP

#include <SFML/Graphics/Color.hpp>

#include <initializer_list>
#include <vector>

namespace QEL::AssetGen {

// A few tones of one material from dark to light; a shade in [0, 1] picks a tone, with ordered
// dithering between neighbouring tones so gradients stay crisp pixel art.
class ColorRamp {
public:
    ColorRamp(std::initializer_list<sf::Color> tones);

    sf::Color pick(float shade, int x, int y) const;
    // The tone at an index, clamped to the ramp.
    sf::Color tone(int index) const;
    int size() const;

    // 4x4 Bayer threshold of a pixel, in (0, 1).
    static float bayer(int x, int y);

private:
    std::vector<sf::Color> mTones;
};

} // namespace QEL::AssetGen

#endif
