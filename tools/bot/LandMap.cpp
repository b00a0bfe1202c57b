#include "tools/bot/LandMap.hpp"

#include <SFML/Graphics/Image.hpp>

#include <cmath>
#include <stdexcept>

namespace QEL
{
namespace Bots
{
namespace
{

/// The map's shallow and deep water.
const sf::Color WaterColours[] = {sf::Color(64, 49, 252), sf::Color(16, 4, 184)};

/// Tries at finding the next point of a walk.
constexpr int Tries = 16;

/// Spacing of the points checked along a straight walk: half a tile.
constexpr float PathStep = LandMap::TileSize / 2.f;

bool isWater(const sf::Color& colour)
{
    for (const sf::Color& water : WaterColours)
    {
        if (colour.r == water.r && colour.g == water.g && colour.b == water.b)
            return true;
    }
    return false;
}

} // namespace

LandMap::LandMap(const std::string& path) : mWidth(0), mHeight(0)
{
    sf::Image image;
    if (!image.loadFromFile(path))
        throw std::runtime_error("Cannot read the world map '" + path + "'");
    mWidth = image.getSize().x;
    mHeight = image.getSize().y;
    mLand.assign(static_cast<std::size_t>(mWidth) * mHeight, false);
    for (unsigned y = 0; y < mHeight; ++y)
    {
        for (unsigned x = 0; x < mWidth; ++x)
        {
            const std::uint32_t index = y * mWidth + x;
            mLand[index] = !isWater(image.getPixel(x, y));
            if (mLand[index])
                mLandTiles.push_back(index);
        }
    }
    if (mLandTiles.empty())
        throw std::runtime_error("The world map '" + path + "' shows no land");
}

bool LandMap::isLand(const Plym::Math::Vector3& point) const
{
    if (!(point.x >= 0.f && point.y >= 0.f))
        return false;
    const auto x = static_cast<unsigned>(point.x / TileSize);
    const auto y = static_cast<unsigned>(point.y / TileSize);
    return x < mWidth && y < mHeight && mLand[static_cast<std::size_t>(y) * mWidth + x];
}

Plym::Math::Vector3 LandMap::anywhere(std::mt19937& random) const
{
    const std::uint32_t tile = mLandTiles[random() % mLandTiles.size()];
    std::uniform_real_distribution<float> within(0.f, TileSize);
    return Plym::Math::Vector3(static_cast<float>(tile % mWidth) * TileSize + within(random),
                               static_cast<float>(tile / mWidth) * TileSize + within(random), 0.f);
}

Plym::Math::Vector3 LandMap::near(const Plym::Math::Vector3& from, float reach, std::mt19937& random) const
{
    std::uniform_real_distribution<float> unit(0.f, 1.f);
    for (int i = 0; i < Tries; ++i)
    {
        const float angle = unit(random) * 6.2831853f;
        const float distance = reach * std::sqrt(unit(random));
        const Plym::Math::Vector3 to =
            from + Plym::Math::Vector3(std::cos(angle) * distance, std::sin(angle) * distance, 0.f);
        if (isWalkable(from, to))
            return to;
    }
    return from;
}

bool LandMap::isWalkable(const Plym::Math::Vector3& from, const Plym::Math::Vector3& to) const
{
    const Plym::Math::Vector3 way = to - from;
    const int steps = static_cast<int>(way.getLength() / PathStep) + 1;
    for (int i = 0; i <= steps; ++i)
    {
        if (!isLand(from + way * (static_cast<float>(i) / static_cast<float>(steps))))
            return false;
    }
    return true;
}

} // namespace Bots
} // namespace QEL
