#include "plym/game/RadialProgressBar.hpp"

#include "plym/core/Math.hpp"

#include <SFML/Graphics/VertexArray.hpp>

#include <algorithm>
#include <cmath>

namespace Plym
{

const sf::Color RadialProgressBar::FillColor(255, 255, 255, 255);
const sf::Color RadialProgressBar::TrackColor(255, 255, 255, 70);

namespace
{

const float TwoPi = 2.f * Math::Pi;

struct Ring
{
    sf::Vector2f centre;
    float inner;
    float outer;
};

sf::Vertex ringVertex(const Ring& ring, float angle, float radius, sf::Color color, float alpha)
{
    color.a = static_cast<sf::Uint8>(std::lround(color.a * alpha));
    // Angles run clockwise from 12 o'clock; y grows downwards.
    return sf::Vertex(ring.centre + sf::Vector2f(std::sin(angle) * radius, -std::cos(angle) * radius), color);
}

// Appends the arc [from, to] of the ring as triangles. Across the ring the alpha ramps up
// over one pixel at the inner edge and down over one pixel at the outer edge; with
// `fadeEnd` a further pixel-wide wedge after `to` ramps down to soften the arc's end.
void appendArc(sf::VertexArray& vertices, const Ring& ring, float from, float to, sf::Color color, bool fadeEnd)
{
    const float radii[] = {ring.inner - 0.5f, ring.inner + 0.5f, ring.outer - 0.5f, ring.outer + 0.5f};
    const float radialAlpha[] = {0.f, 1.f, 1.f, 0.f};
    const float maxStep = TwoPi / std::max(48.f, ring.outer * 4.f);
    // The wedge never wraps past the arc's own start.
    const float fade = fadeEnd ? std::min(2.f / (ring.inner + ring.outer), TwoPi - (to - from)) : 0.f;
    const float end = to + fade;
    const int steps = std::max(1, static_cast<int>(std::ceil((end - from) / maxStep)));
    auto angularAlpha = [&](float angle) { return (angle <= to || fade <= 0.f) ? 1.f : std::max(0.f, (end - angle) / fade); };
    for (int i = 0; i < steps; ++i)
    {
        const float a0 = from + (end - from) * i / steps;
        const float a1 = from + (end - from) * (i + 1) / steps;
        for (int band = 0; band < 3; ++band)
        {
            const sf::Vertex v00 = ringVertex(ring, a0, radii[band], color, radialAlpha[band] * angularAlpha(a0));
            const sf::Vertex v01 = ringVertex(ring, a0, radii[band + 1], color, radialAlpha[band + 1] * angularAlpha(a0));
            const sf::Vertex v10 = ringVertex(ring, a1, radii[band], color, radialAlpha[band] * angularAlpha(a1));
            const sf::Vertex v11 = ringVertex(ring, a1, radii[band + 1], color, radialAlpha[band + 1] * angularAlpha(a1));
            for (const sf::Vertex& v : {v00, v01, v11, v00, v11, v10})
                vertices.append(v);
        }
    }
}

} // namespace

RadialProgressBar::RadialProgressBar(unsigned outerRadius, unsigned innerRadius, float min, float max)
    : mOuterRadius(std::max(outerRadius, innerRadius)),
      mInnerRadius(std::min(outerRadius, innerRadius)),
      mMin(min),
      mMax(max),
      mCurrent(min)
{
}

void RadialProgressBar::setCurrent(float value)
{
    mCurrent = value;
}

float RadialProgressBar::getProgress() const
{
    if (!(mMax > mMin))
        return mCurrent >= mMax ? 1.f : 0.f;
    return std::clamp((mCurrent - mMin) / (mMax - mMin), 0.f, 1.f);
}

void RadialProgressBar::update()
{
    if (!mTarget)
    {
        mTarget = std::make_unique<sf::RenderTexture>();
        const unsigned size = 2 * (mOuterRadius + 1);
        mTarget->create(size, size);
        mTarget->setSmooth(true);
    }
    const float middle = static_cast<float>(mOuterRadius + 1);
    const Ring ring{sf::Vector2f(middle, middle), static_cast<float>(mInnerRadius), static_cast<float>(mOuterRadius)};
    sf::VertexArray vertices(sf::Triangles);
    appendArc(vertices, ring, 0.f, TwoPi, TrackColor, false);
    const float progress = getProgress();
    if (progress > 0.f)
        appendArc(vertices, ring, 0.f, TwoPi * progress, FillColor, progress < 1.f);
    // Everything is white of varying alpha, cleared to transparent white: blended edges keep
    // their colour and show no dark fringe when the texture is drawn over the world.
    mTarget->clear(sf::Color(255, 255, 255, 0));
    mTarget->draw(vertices);
    mTarget->display();
}

const sf::Texture& RadialProgressBar::getTexture() const
{
    static const sf::Texture empty;
    return mTarget ? mTarget->getTexture() : empty;
}

} // namespace Plym
