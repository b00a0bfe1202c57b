#ifndef QEL_ASSETGEN_CACTUSPAINTER_HPP
#define QEL_ASSETGEN_CACTUSPAINTER_HPP

#include "tools/assetgen/Canvas.hpp"

namespace QEL::AssetGen {

// Paints "QELCactus.png" (3 x 6 cells of 30 x 30): stem pieces that stack seamlessly, the top
// with its rosebud, and the two pieces of an arm that grows out to the right and up, each with
// and without the bud; and the ground shadow "CactiColl.png".
class CactusPainter {
public:
    Canvas sheet() const;
    Canvas shadow() const;

    static constexpr unsigned Scale = 3;

private:
    static Canvas stem();
    static Canvas top(bool picked);
    static Canvas armElbow();
    static Canvas armTip(bool picked);
    static void paintBud(Canvas& cell, float cx, float cy);
};

} // namespace QEL::AssetGen

#endif
