#ifndef QEL_ASSETGEN_UIPAINTER_HPP
#define QEL_ASSETGEN_UIPAINTER_HPP

#include "tools/assetgen/Canvas.hpp"

namespace QEL::AssetGen {

// Paints the heads-up display: the button cells, the bottom bar they sit on, the volume button,
// the round minimap's mask and the ring around it, and the small icons (axe, map arrow).
class UiPainter {
public:
    static constexpr int ButtonCell = 40;    // GUI_spritesheet.png: 16 cells of 40 x 40
    static constexpr int BarWidth = 582;     // room for three buttons, the two small ones and 12 slots
    static constexpr int BarHeight = 54;
    static constexpr int Minimap = 175;
    static constexpr int Overlay = 177;      // drawn one pixel up and left of the minimap

    Canvas buttonSheet() const;     // GUI_spritesheet.png
    Canvas bar() const;             // GUI_new_frame.png
    Canvas volumeSheet() const;     // Volume.png: 3 x 2 cells of 64 x 64, 0 to 4 bars, then muted
    Canvas minimapMask() const;     // MapMask.png
    Canvas minimapRing() const;     // minimapoverlay.png
    Canvas axe() const;             // axe.png
    Canvas arrow() const;           // arrowSilver_right.png

private:
    enum class Icon { Bag, Map, Star, Up, Down };
    enum class State { Pressed, Hovered, Normal };

    static Canvas button(Icon icon, State state);
    static Canvas slot();
    static void paintIcon(Canvas& cell, Icon icon, int lift);
    static Canvas speaker(int bars, bool muted);
};

} // namespace QEL::AssetGen

#endif
