#include "tools/assetgen/ColorRamp.hpp"

#include <algorithm>
#include <cmath>

namespace QEL::AssetGen {

ColorRamp::ColorRamp(std::initializer_list<sf::Color> tones) : mTones(tones) {}

sf::Color ColorRamp::pick(float shade, int x, int y) const
{
    const float position = std::clamp(shade, 0.0f, 1.0f) * static_cast<float>(mTones.size() - 1);
    const int low = static_cast<int>(std::floor(position));
    const float fraction = position - static_cast<float>(low);
    return tone(fraction > bayer(x, y) ? low + 1 : low);
}

sf::Color ColorRamp::tone(int index) const
{
    return mTones[static_cast<std::size_t>(std::clamp(index, 0, size() - 1))];
}

int ColorRamp::size() const
{
    return static_cast<int>(mTones.size());
}

float ColorRamp::bayer(int x, int y)
{
    static const int matrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (static_cast<float>(matrix[y & 3][x & 3]) + 0.5f) / 16.0f;
}

} // namespace QEL::AssetGen
