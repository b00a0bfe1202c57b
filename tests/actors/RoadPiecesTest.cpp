#include "actors/RoadPieces.hpp"

#include <gtest/gtest.h>

#include <set>

namespace
{

using namespace QEL::RoadPieces;

// The two sides next to each diagonal neighbour.
struct Corner
{
    std::uint8_t diagonal;
    std::uint8_t sides;
};
constexpr Corner Corners[] = {
    {NorthWest, North | West}, {NorthEast, North | East}, {SouthEast, South | East}, {SouthWest, South | West}};

std::uint8_t relevantBits(std::uint8_t mask)
{
    // A diagonal road only shapes the piece when both sides next to it are roads too.
    for (const Corner& corner : Corners)
    {
        if ((mask & corner.sides) != corner.sides)
            mask &= static_cast<std::uint8_t>(~corner.diagonal);
    }
    return mask;
}

TEST(RoadPieces, LoneAndSurroundedRoads)
{
    EXPECT_EQ(pieceFor(0), 0);
    EXPECT_EQ(pieceFor(255), 1);
    EXPECT_EQ(pieceFor(NorthWest | SouthEast), 0);
}

TEST(RoadPieces, DiagonalsMatterOnlyBetweenTwoConnectedSides)
{
    for (unsigned mask = 0; mask < 256; ++mask)
        EXPECT_EQ(pieceFor(static_cast<std::uint8_t>(mask)), pieceFor(relevantBits(static_cast<std::uint8_t>(mask)))) << mask;
}

TEST(RoadPieces, EveryOneOfTheFortySevenShapesHasItsOwnPiece)
{
    // 47 distinct neighbour shapes exist once irrelevant diagonals are ignored; each maps
    // to a different piece and together they use every piece index.
    std::set<std::uint8_t> shapes;
    std::set<std::uint8_t> pieces;
    for (unsigned mask = 0; mask < 256; ++mask)
    {
        const auto shape = relevantBits(static_cast<std::uint8_t>(mask));
        if (shapes.insert(shape).second)
        {
            EXPECT_TRUE(pieces.insert(pieceFor(shape)).second) << "shape " << unsigned(shape) << " reuses piece " << unsigned(pieceFor(shape));
        }
    }
    EXPECT_EQ(shapes.size(), 47u);
    EXPECT_EQ(pieces.size(), 47u);
    EXPECT_EQ(*pieces.rbegin(), 46);
}

TEST(RoadPieces, StraightRoadsAndEnds)
{
    EXPECT_EQ(pieceFor(West | East), 20);
    EXPECT_EQ(pieceFor(North), 21);
    EXPECT_EQ(pieceFor(East), 22);
    EXPECT_EQ(pieceFor(South), 23);
    EXPECT_EQ(pieceFor(West), 24);
    EXPECT_EQ(pieceFor(North | South), 19);
}

TEST(RoadPieces, SheetsAndTransforms)
{
    for (unsigned piece = 0; piece < 47; ++piece)
    {
        const Look look = lookOf(static_cast<std::uint8_t>(piece));
        ASSERT_LT(look.rectIndex, RectCount);
        EXPECT_EQ(look.squareSheet, cellOf(look.rectIndex).squareSheet) << piece;
        const bool square = (piece >= 1 && piece <= 9) || piece >= 25;
        EXPECT_EQ(look.squareSheet, square) << piece;
        if (piece <= 28)
        {
            EXPECT_EQ(look.rectIndex, piece);
            EXPECT_EQ(look.rotation, 0.f);
        }
    }
    // Pieces 29 to 46 share five rectangles, mirrored or turned about the cell's centre.
    const struct
    {
        unsigned rect;
        sf::Vector2f scale;
        float rotation;
    } transformed[] = {
        {29, {-1, 1}, 0},  {29, {1, 1}, 0},  {29, {1, -1}, 0}, {29, {-1, -1}, 0}, {29, {1, 1}, 270}, {29, {1, -1}, 270},
        {30, {1, 1}, 180}, {30, {-1, 1}, 180}, {31, {1, 1}, 0}, {31, {-1, 1}, 0},  {32, {1, 1}, 0},   {32, {1, 1}, 90},
        {32, {1, 1}, 180}, {32, {1, 1}, 270}, {33, {1, 1}, 90}, {33, {1, 1}, 270}, {33, {1, 1}, 0},   {33, {1, 1}, 180}};
    for (unsigned piece = 29; piece <= 46; ++piece)
    {
        const Look look = lookOf(static_cast<std::uint8_t>(piece));
        EXPECT_EQ(look.rectIndex, transformed[piece - 29].rect) << piece;
        EXPECT_EQ(look.scale, transformed[piece - 29].scale) << piece;
        EXPECT_EQ(look.rotation, transformed[piece - 29].rotation) << piece;
    }
    const Cell first = cellOf(0);
    EXPECT_FALSE(first.squareSheet);
    EXPECT_EQ(first.column, 3u);
    EXPECT_EQ(first.row, 0u);
}

} // namespace
