#ifndef QEL_ACTORS_ROADPIECES_HPP
#define QEL_ACTORS_ROADPIECES_HPP

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>

namespace QEL
{
namespace RoadPieces
{

/// Neighbour bits of a road tile.
enum Neighbour : std::uint8_t
{
    NorthWest = 1,
    North = 2,
    NorthEast = 4,
    East = 8,
    SouthEast = 16,
    South = 32,
    SouthWest = 64,
    West = 128
};

/// How one of the 47 pieces is drawn: a cell of one of the two road sheets, possibly
/// mirrored or turned about the cell's centre.
struct Look
{
    bool squareSheet;
    unsigned rectIndex;
    sf::Vector2f scale;
    float rotation;
};

/// The piece (0 to 46) that shows a road with the given neighbour mask.
std::uint8_t pieceFor(std::uint8_t mask);

/// The sheet, cell and transform of a piece.
Look lookOf(std::uint8_t piece);

/// Number of distinct cell rectangles the pieces use.
constexpr unsigned RectCount = 34;

/// The sheet cell (column, row) behind each rectangle index; squareSheet tells the sheet.
struct Cell
{
    bool squareSheet;
    unsigned column;
    unsigned row;
};
Cell cellOf(unsigned rectIndex);

} // namespace RoadPieces
} // namespace QEL

#endif
