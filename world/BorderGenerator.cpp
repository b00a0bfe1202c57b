#include "world/BorderGenerator.hpp"

#include "plym/core/Profiling.hpp"
#include "plym/game/Spritesheet.hpp"
#include "world/Chunk.hpp"

#include <cstddef>
#include <string>

namespace QEL
{
namespace
{

// One bit per neighbour that belongs to the target biome.
enum Neighbour : unsigned
{
    N = 1u << 0,
    S = 1u << 1,
    W = 1u << 2,
    E = 1u << 3,
    NW = 1u << 4,
    NE = 1u << 5,
    SW = 1u << 6,
    SE = 1u << 7
};

// A rule holds when every `required` neighbour matches and no `forbidden` one does.
// The edge cell's column is relative to the sheet's column offset.
struct Rule
{
    unsigned required;
    unsigned forbidden;
    unsigned edgeColumn;
    unsigned edgeRow;
    unsigned surfColumn;
};

// Inner corners first, then outer corners, then straight edges; S wins over N.
const Rule Rules[] = {
    {E | SE | S, 0, 2, 3, 9},
    {N | NW | W, 0, 2, 0, 8},
    {W | SW | S, 0, 2, 1, 10},
    {N | NE | E, 0, 2, 2, 11},
    {SW, S | W, 1, 0, 5},
    {NW, N | W, 1, 1, 7},
    {SE, E | S, 1, 2, 4},
    {NE, N | E, 1, 3, 6},
    {W, 0, 0, 0, 1},
    {E, 0, 0, 1, 0},
    {S, 0, 0, 2, 3},
    {N, 0, 0, 3, 2},
};

const Rule* findRule(unsigned neighbours)
{
    for (const Rule& rule : Rules)
    {
        if ((neighbours & rule.required) == rule.required && (neighbours & rule.forbidden) == 0)
            return &rule;
    }
    return nullptr;
}

class Grid
{
public:
    Grid(const std::vector<int>& biomes, unsigned width, unsigned height)
        : mBiomes(biomes), mWidth(static_cast<int>(width)), mHeight(static_cast<int>(height))
    {
    }

    int at(int x, int y) const { return mBiomes[static_cast<std::size_t>(y) * mWidth + x]; }

    bool is(int x, int y, int biome) const
    {
        return x >= 0 && y >= 0 && x < mWidth && y < mHeight && at(x, y) == biome;
    }

    unsigned neighbours(int x, int y, int biome) const
    {
        unsigned flags = 0;
        const auto mark = [&](int dx, int dy, Neighbour bit) {
            if (is(x + dx, y + dy, biome))
                flags |= bit;
        };
        mark(0, -1, N);
        mark(0, 1, S);
        mark(-1, 0, W);
        mark(1, 0, E);
        mark(-1, -1, NW);
        mark(1, -1, NE);
        mark(-1, 1, SW);
        mark(1, 1, SE);
        return flags;
    }

    int getWidth() const { return mWidth; }
    int getHeight() const { return mHeight; }

private:
    const std::vector<int>& mBiomes;
    int mWidth;
    int mHeight;
};

// Runs `apply(tileIndex, rule)` for every `from` tile that a rule matches, column by column.
template <class Apply>
void forEachBorder(int from, int to, const std::vector<int>& biomes, unsigned width, unsigned height, Apply apply)
{
    const Plym::Profiling::Block block(
        Plym::Profiling::getId("Border generation: " + Chunk::getBiomeName(from) + "->" + Chunk::getBiomeName(to)));
    const Grid grid(biomes, width, height);
    for (int x = 0; x < grid.getWidth(); ++x)
    {
        for (int y = 0; y < grid.getHeight(); ++y)
        {
            if (grid.at(x, y) != from)
                continue;
            if (const Rule* rule = findRule(grid.neighbours(x, y, to)))
                apply(static_cast<std::size_t>(y) * width + x, *rule);
        }
    }
}

void setCell(sf::Sprite& tile, Plym::Spritesheet& sheet, unsigned column, unsigned row)
{
    tile.setTexture(sheet.getTexture());
    tile.setTextureRect(sheet.getRect(column, row));
}

} // namespace

void BorderGenerator::generateBorders(int from, int to, Plym::Spritesheet& sheet, const std::vector<int>& biomes,
                                      std::vector<sf::Sprite>& tiles, unsigned width, unsigned height,
                                      unsigned columnOffset)
{
    forEachBorder(from, to, biomes, width, height, [&](std::size_t index, const Rule& rule) {
        setCell(tiles[index], sheet, columnOffset + rule.edgeColumn, rule.edgeRow);
    });
}

void BorderGenerator::generateAnimatedBorders(int from, int to, Plym::Spritesheet& sheet,
                                              const std::vector<int>& biomes, std::vector<sf::Sprite>& tiles,
                                              std::vector<sf::Sprite*>& animatedTiles, unsigned width,
                                              unsigned height)
{
    forEachBorder(from, to, biomes, width, height, [&](std::size_t index, const Rule& rule) {
        setCell(tiles[index], sheet, rule.surfColumn, 0);
        animatedTiles.push_back(&tiles[index]);
    });
}

} // namespace QEL
