#ifndef QEL_ASSETGEN_TREEPAINTER_HPP
#define QEL_ASSETGEN_TREEPAINTER_HPP

#include "tools/assetgen/Canvas.hpp"

namespace QEL::AssetGen {

// Paints "tree.png": one broad-leaved tree cut into the pieces the world stacks (trunk at three
// chopping stages, branches, stripped branches, crown), its stump and the felled log, and the
// ground shadow "Treecoll.png". All pieces are painted in one coordinate frame, the tree standing
// on the ground line, so stacked at their origins they meet pixel for pixel.
class TreePainter {
public:
    Canvas sheet() const;   // 1440 x 1080
    Canvas shadow() const;  // 240 x 112, centred on (120, 56)

    static constexpr unsigned Scale = 3;

private:
    // Pieces in art pixels; the tree frame is 120 x 180 with the trunk's foot on row 178, centre column 60.
    static Canvas crown();
    static Canvas branches(bool stripped);
    static Canvas trunk(int notch);
    static Canvas stump();
    static Canvas log();

    static void paintTrunkColumn(Canvas& layer, int top, int bottom, float centre, float topHalf, float bottomHalf);
    static void paintRoots(Canvas& layer, float centre, int foot);
    static void paintCutFace(Canvas& layer, float cx, float cy, float rx, float ry);
    static void paintLeafClump(Canvas& layer, float cx, float cy, float radius, std::uint32_t seed);
};

} // namespace QEL::AssetGen

#endif
