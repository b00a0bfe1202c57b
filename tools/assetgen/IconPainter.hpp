#ifndef QEL_ASSETGEN_ICONPAINTER_HPP
#define QEL_ASSETGEN_ICONPAINTER_HPP

#include "tools/assetgen/Canvas.hpp"

namespace QEL::AssetGen {

// Paints the game's icon for the desktop and the window: a round island in the sea with a tree.
class IconPainter {
public:
    static constexpr unsigned Art = 64;     // painted at 64 x 64
    static constexpr unsigned Scale = 4;    // written at 256 x 256

    Canvas icon() const;    // quelmoor.png
};

} // namespace QEL::AssetGen

#endif
