#include "app/ViewRules.hpp"

#include "app/TexelGrid.hpp"

#include "plym/core/Vector2.hpp"

#include <algorithm>
#include <cmath>

namespace QEL
{
namespace ViewRules
{

void fitToWindow(sf::View& view, sf::Vector2u windowSize)
{
    const float height = view.getSize().y;
    Plym::Math::Vector2 size(height * (static_cast<float>(windowSize.x) / static_cast<float>(windowSize.y)), height);
    const float diagonalSquared = size.getLengthSquared();
    if (diagonalSquared < 1000000.f)
        size.setLength(1000.f);
    else if (diagonalSquared > 16000000.f)
        size.setLength(4000.f);
    view.setSize(size);
}

sf::Vector2f pixelToWorld(const sf::View& view, sf::Vector2i pixel, sf::Vector2u windowSize)
{
    const sf::Vector2f size = view.getSize();
    const sf::Vector2f topLeft = view.getCenter() - size / 2.f;
    return sf::Vector2f(topLeft.x + static_cast<float>(pixel.x) / static_cast<float>(windowSize.x) * size.x,
                        topLeft.y + static_cast<float>(pixel.y) / static_cast<float>(windowSize.y) * size.y);
}

sf::Vector2f clampCamera(sf::Vector2f focus, sf::Vector2f viewSize, float worldSize)
{
    const auto clampAxis = [worldSize](float value, float extent) {
        const float half = extent / 2.f;
        return std::max(half, std::min(value, worldSize - half));
    };
    return sf::Vector2f(clampAxis(focus.x, viewSize.x), clampAxis(focus.y, viewSize.y));
}

sf::Vector2f snapToPixels(sf::Vector2f centre, sf::Vector2f viewSize, sf::Vector2u windowSize, float worldSize)
{
    const auto snapAxis = [worldSize](float middle, float extent, unsigned pixels) {
        if (pixels == 0)
            return middle;
        const float scale = static_cast<float>(pixels) / extent;
        const float phase = TexelGrid::at(scale).getEdgePhase();
        const auto edgeAt = [scale, phase](float steps) { return (steps + phase) / scale; };
        float steps = std::round((middle - extent / 2.f) * scale - phase);
        // At the world's border the snap goes inward, never beyond it.
        if (edgeAt(steps) < 0.f)
            steps += 1.f;
        else if (edgeAt(steps) + extent > worldSize)
            steps -= 1.f;
        return edgeAt(steps) + extent / 2.f;
    };
    return sf::Vector2f(snapAxis(centre.x, viewSize.x, windowSize.x), snapAxis(centre.y, viewSize.y, windowSize.y));
}

sf::FloatRect visibleRect(const sf::View& view)
{
    const sf::Vector2f size = view.getSize();
    const sf::Vector2f topLeft = view.getCenter() - size / 2.f;
    return sf::FloatRect(topLeft, size);
}

} // namespace ViewRules
} // namespace QEL
