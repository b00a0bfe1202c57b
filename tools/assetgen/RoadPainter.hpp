#ifndef QEL_ASSETGEN_ROADPAINTER_HPP
#define QEL_ASSETGEN_ROADPAINTER_HPP

#include "tools/assetgen/Canvas.hpp"

#include <cstdint>

namespace QEL::AssetGen {

// Paints the road sheets "QELPath.png" (8 x 4) and "QELTorg.png" (8 x 5). A road tile shows the
// road reaching each connected side, and filling a corner where both sides and the diagonal
// between them are road; every side therefore meets its neighbour's side exactly. Cells that the
// world draws mirrored or rotated hold the configuration that the transform turns into the one shown.
class RoadPainter {
public:
    Canvas pathSheet() const;
    Canvas squareSheet() const;

    // Neighbour bits as the world counts them.
    enum Neighbour : std::uint8_t { NW = 1, N = 2, NE = 4, E = 8, SE = 16, S = 32, SW = 64, W = 128 };

    static constexpr unsigned Scale = 3;

private:
    // Art-pixel picture of one road tile for a neighbour mask.
    static Canvas piece(std::uint8_t mask);
    Canvas sheet(bool square, int rows) const;
};

} // namespace QEL::AssetGen

#endif
