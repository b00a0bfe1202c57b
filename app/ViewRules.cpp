#include "app/ViewRules.hpp"

#include "plym/core/Vector2.hpp"

#include <algorithm>

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

sf::FloatRect visibleRect(const sf::View& view)
{
    const sf::Vector2f size = view.getSize();
    const sf::Vector2f topLeft = view.getCenter() - size / 2.f;
    return sf::FloatRect(topLeft, size);
}

} // namespace ViewRules
} // namespace QEL
