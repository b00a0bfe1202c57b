#ifndef QEL_ASSETGEN_SNAKEPAINTER_HPP
#define QEL_ASSETGEN_SNAKEPAINTER_HPP

#include "tools/assetgen/Canvas.hpp"

namespace QEL::AssetGen {

// Paints the snakes: "Snake1.png" crawling sideways (column 0 to the left, 1 to the right,
// 2 coiled up) and "Snake2.png" crawling down (column 0) and up (column 1, 2 coiled);
// rows are the two bends of the crawl. Cells are 90 x 90, the snake lying on their bottom.
class SnakePainter {
public:
    Canvas sideways() const;
    Canvas upDown() const;

    static constexpr unsigned Scale = 3;

private:
    // Body along a wave from tail to head (art pixel points), with head, eye and tongue.
    static Canvas crawling(bool horizontal, bool forward, int bend);
    static Canvas coiled();
};

} // namespace QEL::AssetGen

#endif
