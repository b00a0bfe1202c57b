#include "tools/assetgen/RoadPainter.hpp"

#include "tools/assetgen/Palette.hpp"
#include "tools/assetgen/Random.hpp"

#include <algorithm>
#include <cmath>

namespace QEL::AssetGen {

namespace {

constexpr int T = 30;        // art pixels per tile
constexpr float Margin = 7;  // grass left on an unconnected side
constexpr float Round = 4;   // radius of the road's outer corners

// The cell that holds each drawn configuration: sheet (true = the square sheet), column, row,
// and the neighbour mask painted into it.
struct Cell {
    bool square;
    int column;
    int row;
    std::uint8_t mask;
};

using R = RoadPainter;

const Cell Cells[] = {
    {false, 3, 0, 0},                          // 0: alone
    {true, 0, 0, 255},                         // 1: surrounded
    {true, 2, 2, R::N | R::NE | R::E},         // 2
    {true, 1, 2, R::N | R::NW | R::W},         // 3
    {true, 3, 2, R::E | R::SE | R::S},         // 4
    {true, 0, 2, R::S | R::SW | R::W},         // 5
    {true, 2, 1, R::NW | R::N | R::NE | R::E | R::W},   // 6
    {true, 0, 1, R::E | R::SE | R::S | R::SW | R::W},   // 7
    {true, 3, 1, R::N | R::NE | R::E | R::SE | R::S},   // 8
    {true, 1, 1, R::NW | R::N | R::S | R::SW | R::W},   // 9
    {false, 2, 0, R::N | R::E | R::S | R::W},  // 10
    {false, 3, 2, R::E | R::S | R::W},         // 11
    {false, 0, 2, R::N | R::E | R::W},         // 12
    {false, 2, 2, R::N | R::S | R::W},         // 13
    {false, 1, 2, R::N | R::E | R::S},         // 14
    {false, 1, 3, R::N | R::W},                // 15
    {false, 0, 3, R::S | R::W},                // 16
    {false, 2, 3, R::N | R::E},                // 17
    {false, 3, 3, R::E | R::S},                // 18
    {false, 0, 0, R::N | R::S},                // 19
    {false, 1, 0, R::E | R::W},                // 20
    {false, 3, 1, R::N},                       // 21
    {false, 2, 1, R::E},                       // 22
    {false, 0, 1, R::S},                       // 23
    {false, 1, 1, R::W},                       // 24
    {true, 3, 3, 255 - R::SE},                 // 25
    {true, 0, 3, 255 - R::SW},                 // 26
    {true, 2, 3, 255 - R::NE},                 // 27
    {true, 1, 3, 255 - R::NW},                 // 28
    // Shared pictures that the world mirrors and rotates; painted as they are used untransformed.
    {true, 2, 0, R::E | R::SE | R::S | R::W},                    // 30 (29, 31 to 34 transform it)
    {true, 3, 0, R::NW | R::N | R::S | R::W},                    // 35, 36 rotate it
    {true, 1, 0, R::NW | R::N | R::E | R::SE | R::S | R::W},     // 37 (38 mirrors it)
    {true, 0, 4, R::N | R::E | R::SE | R::S | R::W},             // 39 (40 to 42 rotate it)
    {true, 1, 4, R::N | R::NE | R::E | R::SE | R::S | R::W},     // 45 (43, 44, 46 rotate it)
};

bool has(std::uint8_t mask, std::uint8_t bits)
{
    return (mask & bits) == bits;
}

// Whether an art pixel centre lies on the road of a tile with this mask.
bool onRoad(std::uint8_t mask, float x, float y)
{
    const float low = Margin;
    const float high = T - Margin;
    const float mid = T * 0.5f;
    const bool inX = x >= low && x <= high;
    const bool inY = y >= low && y <= high;
    if ((has(mask, R::N) && inX && y <= mid) || (has(mask, R::S) && inX && y >= mid) ||
        (has(mask, R::W) && inY && x <= mid) || (has(mask, R::E) && inY && x >= mid))
        return true;
    if ((has(mask, R::N | R::W | R::NW) && x <= mid && y <= mid) || (has(mask, R::N | R::E | R::NE) && x >= mid && y <= mid) ||
        (has(mask, R::S | R::W | R::SW) && x <= mid && y >= mid) || (has(mask, R::S | R::E | R::SE) && x >= mid && y >= mid))
        return true;
    // The centre square with rounded corners.
    const float dx = std::max({low + Round - x, x - (high - Round), 0.0f});
    const float dy = std::max({low + Round - y, y - (high - Round), 0.0f});
    return dx * dx + dy * dy <= Round * Round;
}

} // namespace

Canvas RoadPainter::piece(std::uint8_t mask)
{
    Canvas cell(T, T);
    auto road = [mask](int x, int y) {
        // Beyond the tile the neighbour continues whatever reaches the edge.
        x = std::clamp(x, 0, T - 1);
        y = std::clamp(y, 0, T - 1);
        return onRoad(mask, x + 0.5f, y + 0.5f);
    };
    for (int y = 0; y < T; ++y)
        for (int x = 0; x < T; ++x)
        {
            if (!road(x, y))
                continue;
            // Distance to the verge in whole pixels, up to 3.
            int verge = 3;
            for (int d = 1; d <= 2 && verge == 3; ++d)
                for (int oy = -d; oy <= d; ++oy)
                    for (int ox = -d; ox <= d; ++ox)
                        if (std::abs(ox) + std::abs(oy) <= d && !road(x + ox, y + oy))
                            verge = std::min(verge, d);
            sf::Color color;
            if (verge == 1)
                color = Palette::outlineOf(Palette::dirt().tone(0), 0.25f);
            else if (verge == 2)
                color = Palette::dirt().tone(1);
            else
            {
                // Packed earth with a little grit; no light direction, as cells are turned.
                const float grit = Random::hash(x, y, 5101);
                color = Palette::dirt().pick(0.58f + (grit - 0.5f) * 0.45f, x, y);
            }
            cell.set(x, y, color);
        }
    // Pebbles, kept off the tile edges so turned cells still meet.
    Random random(5201u + mask);
    for (int i = 0; i < 4; ++i)
    {
        const int x = random.integer(3, T - 5);
        const int y = random.integer(3, T - 5);
        if (road(x - 2, y - 2) && road(x + 3, y + 3) && road(x - 2, y + 3) && road(x + 3, y - 2))
        {
            cell.set(x, y, Palette::dirt().tone(4));
            cell.set(x + 1, y, Palette::dirt().tone(3));
            cell.set(x, y + 1, Palette::dirt().tone(0));
            cell.set(x + 1, y + 1, Palette::dirt().tone(0));
        }
    }
    return cell;
}

Canvas RoadPainter::sheet(bool square, int rows) const
{
    Canvas sheet(8 * T * Scale, static_cast<unsigned>(rows) * T * Scale);
    for (const Cell& cell : Cells)
        if (cell.square == square)
            sheet.copy(piece(cell.mask).scaled(Scale), cell.column * T * Scale, cell.row * T * Scale);
    return sheet;
}

Canvas RoadPainter::pathSheet() const
{
    return sheet(false, 4);
}

Canvas RoadPainter::squareSheet() const
{
    return sheet(true, 5);
}

} // namespace QEL::AssetGen
