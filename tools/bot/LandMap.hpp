#ifndef QEL_BOT_LANDMAP_HPP
#define QEL_BOT_LANDMAP_HPP

#include "plym/core/Vector3.hpp"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace QEL
{
namespace Bots
{

/// Where a bot may walk: the tiles of the world map that are not water. Read from the map
/// picture the game builds its world from, one pixel per tile of 90 units; the two water
/// colours mark water, any other colour land.
class LandMap
{
public:
    static constexpr float TileSize = 90.f;

    /// Reads the map picture; throws std::runtime_error naming the file when it cannot, or when
    /// the picture holds no land.
    explicit LandMap(const std::string& path);

    /// Whether the point (x and y in world units) lies on a land tile; off the map is not.
    bool isLand(const Plym::Math::Vector3& point) const;

    /// A point anywhere on land, every land tile as likely.
    Plym::Math::Vector3 anywhere(std::mt19937& random) const;

    /// A point on land at most `reach` away that can be walked to in a straight line over land;
    /// `from` itself when none is found in a few tries.
    Plym::Math::Vector3 near(const Plym::Math::Vector3& from, float reach, std::mt19937& random) const;

private:
    bool isWalkable(const Plym::Math::Vector3& from, const Plym::Math::Vector3& to) const;

    unsigned mWidth;
    unsigned mHeight;
    std::vector<bool> mLand;
    std::vector<std::uint32_t> mLandTiles;  ///< indices of the land tiles
};

} // namespace Bots
} // namespace QEL

#endif
