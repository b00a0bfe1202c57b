#include "actors/RoadPieces.hpp"

#include <array>
#include <utility>

namespace QEL
{
namespace RoadPieces
{
namespace
{

// Required neighbour bits and the piece they select, tried in order; other bits are free.
constexpr std::array<std::pair<std::uint8_t, std::uint8_t>, 40> Rules{{
    {239, 25}, {191, 26}, {251, 27}, {254, 28}, {250, 43}, {175, 44}, {190, 45}, {235, 46},
    {143, 6},  {248, 7},  {62, 8},   {227, 9},  {187, 37}, {238, 38}, {186, 39}, {234, 40},
    {171, 41}, {174, 42}, {232, 29}, {184, 30}, {142, 31}, {139, 32}, {46, 33},  {163, 34},
    {58, 35},  {226, 36}, {14, 2},   {131, 3},  {56, 4},   {224, 5},  {170, 10}, {168, 11},
    {138, 12}, {162, 13}, {42, 14},  {130, 15}, {160, 16}, {10, 17},  {40, 18},  {34, 19},
}};

constexpr bool P = false;  // the path sheet
constexpr bool S = true;   // the square sheet

constexpr std::array<Cell, RectCount> Cells{{
    {P, 3, 0}, {S, 0, 0}, {S, 2, 2}, {S, 1, 2}, {S, 3, 2}, {S, 0, 2}, {S, 2, 1}, {S, 0, 1}, {S, 3, 1}, {S, 1, 1},
    {P, 2, 0}, {P, 3, 2}, {P, 0, 2}, {P, 2, 2}, {P, 1, 2}, {P, 1, 3}, {P, 0, 3}, {P, 2, 3}, {P, 3, 3}, {P, 0, 0},
    {P, 1, 0}, {P, 3, 1}, {P, 2, 1}, {P, 0, 1}, {P, 1, 1}, {S, 3, 3}, {S, 0, 3}, {S, 2, 3}, {S, 1, 3}, {S, 2, 0},
    {S, 3, 0}, {S, 1, 0}, {S, 0, 4}, {S, 1, 4},
}};

// Pieces 29 to 46 reuse five rectangles, mirrored or turned.
struct Transformed
{
    unsigned rectIndex;
    float scaleX;
    float scaleY;
    float rotation;
};

constexpr std::array<Transformed, 18> TransformedPieces{{
    {29, -1, 1, 0},  {29, 1, 1, 0},   {29, 1, -1, 0},  {29, -1, -1, 0}, {29, 1, 1, 270}, {29, 1, -1, 270},
    {30, 1, 1, 180}, {30, -1, 1, 180}, {31, 1, 1, 0},  {31, -1, 1, 0},  {32, 1, 1, 0},   {32, 1, 1, 90},
    {32, 1, 1, 180}, {32, 1, 1, 270}, {33, 1, 1, 90},  {33, 1, 1, 270}, {33, 1, 1, 0},   {33, 1, 1, 180},
}};

} // namespace

std::uint8_t pieceFor(std::uint8_t mask)
{
    if (mask == 0)
        return 0;
    if (mask == 255)
        return 1;
    for (const auto& [required, piece] : Rules)
    {
        if ((mask & required) == required)
            return piece;
    }
    if ((mask & West) && (mask & East))
        return 20;
    if (mask & North)
        return 21;
    if (mask & East)
        return 22;
    if (mask & South)
        return 23;
    if (mask & West)
        return 24;
    return 0;
}

Look lookOf(std::uint8_t piece)
{
    if (piece <= 28)
        return Look{Cells[piece].squareSheet, piece, sf::Vector2f(1.f, 1.f), 0.f};
    const Transformed& t = TransformedPieces[piece - 29];
    return Look{true, t.rectIndex, sf::Vector2f(t.scaleX, t.scaleY), t.rotation};
}

Cell cellOf(unsigned rectIndex)
{
    return Cells[rectIndex];
}

} // namespace RoadPieces
} // namespace QEL
