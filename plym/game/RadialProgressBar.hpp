#ifndef PLYM_GAME_RADIALPROGRESSBAR_HPP
#define PLYM_GAME_RADIALPROGRESSBAR_HPP

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <memory>

namespace Plym
{

/// A progress ring: a faint white full track with the opaque white arc drawn over it, from
/// 12 o'clock clockwise, in proportion to (current - min) / (max - min).
///
/// The ring lies between innerRadius and outerRadius around the centre of a square texture
/// of 2 x (outerRadius + 1) pixels (one spare pixel for the soft outer edge). Edges are
/// anti-aliased by one-pixel alpha ramps in the geometry, so no multisampling is needed.
/// The render texture is created on the first update(): bars that never show (most trees)
/// cost no texture memory.
class RadialProgressBar
{
public:
    RadialProgressBar(unsigned outerRadius, unsigned innerRadius, float min, float max);

    void setCurrent(float value);
    float getCurrent() const { return mCurrent; }

    /// The filled share, 0 to 1.
    float getProgress() const;

    /// Redraws the ring for the current value.
    void update();

    /// The drawn ring; empty until the first update().
    const sf::Texture& getTexture() const;

    static const sf::Color FillColor;
    static const sf::Color TrackColor;

private:
    unsigned mOuterRadius;
    unsigned mInnerRadius;
    float mMin;
    float mMax;
    float mCurrent;
    std::unique_ptr<sf::RenderTexture> mTarget;
};

} // namespace Plym

#endif
