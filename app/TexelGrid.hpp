#ifndef QEL_APP_TEXELGRID_HPP
#define QEL_APP_TEXELGRID_HPP

namespace QEL
{

/// Where the texel borders of the world's still pictures fall within the window's pixels at one
/// scale: pictures standing at whole world units, a texel a unit, and the terrain tiles every
/// World::TileSize units, their texels World::TileScale units wide.
///
/// A pixel whose centre lies on a texel border shows one texel or the other by rounding, and two
/// ways of drawing the same picture (straight into the window, or into a cached cell copied to
/// it) may round differently. The camera puts pixel centres as far from every border as the scale
/// allows; where that is still within rounding, nothing is cached.
///
/// Used on the main thread only.
class TexelGrid
{
public:
    /// The grid at a scale in pixels per world unit, worked out once for each of the last few scales.
    static TexelGrid at(float pixelsPerUnit);

    /// Where the view's edge sits within a pixel, from 0 up to 1, so that pixel centres fall
    /// furthest from every border.
    float getEdgePhase() const { return mEdgePhase; }

    /// How far pixel centres then stay from the nearest border, in pixels.
    float getClearance() const { return mClearance; }

    /// Whether that is beyond what rounding moves an edge when a picture is drawn through another
    /// projection, so that every way of drawing it shows the same texels.
    bool isClear() const;

private:
    explicit TexelGrid(float pixelsPerUnit);

    float mPixelsPerUnit;
    float mEdgePhase;
    float mClearance;
};

} // namespace QEL

#endif
