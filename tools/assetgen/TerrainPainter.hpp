#ifndef QEL_ASSETGEN_TERRAINPAINTER_HPP
#define QEL_ASSETGEN_TERRAINPAINTER_HPP

#include "tools/assetgen/Canvas.hpp"
#include "tools/assetgen/EdgeShape.hpp"

namespace QEL::AssetGen {

// Paints the ground sheets: plain biome tiles and the transition tiles between biomes.
// Every biome has one texture that repeats every tile; transition tiles cut the same textures,
// so all tiles of the world join without seams whatever lies next to them.
class TerrainPainter {
public:
    // How two biomes meet in a transition tile.
    enum class Style {
        Bank,   // grass ends in a dark earth lip above water with a foam line
        Fringe, // grass frays into sand
        Shelf,  // shallow water darkens into deep water
        Surf    // beach with wet sand and waves washing up (animated)
    };

    TerrainPainter();

    Canvas grassSheet() const;                 // 2 x 2: three decorated variants and the plain tile (1, 1)
    Canvas desertSheet() const;                // 1 x 1
    Canvas beachSheet() const;                 // 1 x 2: shells (0, 0) and the plain tile (0, 1)
    Canvas waterSheet() const;                 // 4 x 5: deep (0, 3), shallow (0, 4), shallow->deep edges in columns 1-3
    Canvas edgeSheet(const Canvas& from, const Canvas& to, Style style, std::uint32_t seed) const; // 3 x 4
    Canvas surfSheet() const;                  // 12 x 3: beach->shallow shapes by column, frames by row

    const Canvas& grass() const;
    const Canvas& sand() const;
    const Canvas& beach() const;
    const Canvas& shallow() const;
    const Canvas& deep() const;

    static constexpr unsigned Scale = 3;       // screen pixels per art pixel
    static constexpr unsigned Tile = 30;       // art pixels per tile

private:
    static Canvas paintGrass();
    static Canvas paintSand();
    static Canvas paintBeach();
    static Canvas paintShallow();
    static Canvas paintDeep();
    static void scatterFlowers(Canvas& tile, std::uint32_t seed, sf::Color petals, int count);
    static void scatterPebbles(Canvas& tile, std::uint32_t seed, int count);
    static void scatterShells(Canvas& tile, std::uint32_t seed);

    Canvas transitionCell(const Canvas& from, const Canvas& to, const EdgeShape& shape, Style style, int frame) const;
    static sf::Color blendPixel(sf::Color from, sf::Color to, float reach, Style style, int x, int y, int frame);
    static void placeCell(Canvas& sheet, const Canvas& cell, int column, int row);

    Canvas mGrass;
    Canvas mSand;
    Canvas mBeach;
    Canvas mShallow;
    Canvas mDeep;
};

} // namespace QEL::AssetGen

#endif
