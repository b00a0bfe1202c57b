#ifndef QEL_ASSETGEN_PIXELFONT_HPP
#define QEL_ASSETGEN_PIXELFONT_HPP

#include "tools/assetgen/Canvas.hpp"

#include <string>

namespace QEL::AssetGen {

// A built-in 5x7 capital font for labels, so the generator needs neither fonts nor a display.
class PixelFont {
public:
    static constexpr int GlyphWidth = 5;
    static constexpr int GlyphHeight = 7;

    // Draws text with its top-left corner at (x, y), each font pixel `scale` pixels wide.
    static void draw(Canvas& canvas, const std::string& text, int x, int y, int scale, sf::Color color);
    static int measure(const std::string& text, int scale);
};

} // namespace QEL::AssetGen

#endif
