#ifndef QEL_ASSETGEN_MAPGENERATOR_HPP
#define QEL_ASSETGEN_MAPGENERATOR_HPP

#include "tools/assetgen/Canvas.hpp"

#include <cstdint>
#include <vector>

namespace QEL::AssetGen {

// Draws the world map "Example Chunk.png": an island in deep water with a shallow rim and
// beaches, grassland with large forests, a desert reaching the south-eastern coast and an inland
// lake. One pixel per tile, in the six biome colours only.
class MapGenerator {
public:
    enum Biome : std::uint8_t { Forest, Grass, ShWater, DeWater, Desert, Beach };

    static constexpr int Size = 256;

    MapGenerator();

    Canvas paint() const;
    Biome at(int x, int y) const;
    static sf::Color colorOf(Biome biome);

private:
    void raiseIsland();
    void shapeCoast();
    void placeDesert();
    void growForests();
    void digLake();
    void clearStart();
    // Turns tiles whose surroundings no transition picture can show into their neighbour's biome,
    // so that every border drawn in the world is a continuous line.
    void settleBorders();
    bool settleTile(int x, int y);

    // Chebyshev distance of every tile to the nearest tile for which `target` holds (capped).
    template <class Predicate>
    std::vector<int> distanceTo(Predicate target, int cap) const;
    Biome& cell(int x, int y);
    // The biome at (x, y), or `outside` beyond the map.
    Biome biomeOr(int x, int y, Biome outside) const;

    std::vector<Biome> mTiles;
};

} // namespace QEL::AssetGen

#endif
