#include "tools/assetgen/SnakePainter.hpp"

#include "tools/assetgen/Palette.hpp"

#include <cmath>
#include <vector>

namespace QEL::AssetGen {

namespace {

constexpr int Cell = 30;
constexpr float Pi = 3.14159265f;

sf::Color scale(int x, int y, float cx, float cy, float radius, bool spot, bool belly)
{
    const float nx = (x + 0.5f - cx) / radius;
    const float ny = (y + 0.5f - cy) / radius;
    float shade = 0.6f - 0.35f * (0.5f * nx + 0.8f * ny);
    if (belly && ny > 0.5f)
        return Palette::mix(Palette::snake().tone(3), sf::Color(236, 214, 120), 0.6f);  // belly
    if (spot)
        shade -= 0.45f;
    return Palette::snake().pick(shade, x, y);
}

} // namespace

Canvas SnakePainter::crawling(bool horizontal, bool forward, int bend)
{
    // Points from tail (t = 0) to head (t = 1) in the cell's own axis, facing +axis.
    std::vector<sf::Vector2f> spine;
    const float phase = bend == 0 ? 0.0f : Pi;
    for (int i = 0; i <= 40; ++i)
    {
        const float t = static_cast<float>(i) / 40.0f;
        const float along = 3.0f + 21.0f * t;
        const float wave = 1.8f * std::sin(2.0f * Pi * along / 16.0f + phase) * (0.5f + 0.5f * (1.0f - t));
        spine.emplace_back(along, wave);
    }
    Canvas cell(Cell, Cell);
    auto toCell = [&](sf::Vector2f p) {
        const float a = forward ? p.x : Cell - p.x;
        return horizontal ? sf::Vector2f(a, 24.0f + p.y) : sf::Vector2f(15.0f + p.y, a);
    };
    for (std::size_t i = 0; i < spine.size(); ++i)
    {
        const float t = static_cast<float>(i) / static_cast<float>(spine.size() - 1);
        const float radius = 0.9f + 1.5f * std::sqrt(t);
        const sf::Vector2f c = toCell(spine[i]);
        const bool spot = (i % 6) == 3;
        cell.fillEllipse(c.x, c.y, radius, radius, [&](int x, int y) { return scale(x, y, c.x, c.y, radius, spot, horizontal); });
    }
    // Head, eye and flicking tongue.
    const sf::Vector2f head = toCell(sf::Vector2f(26.0f, spine.back().y));
    cell.fillEllipse(head.x, head.y, 3.0f, 2.6f, [&](int x, int y) { return scale(x, y, head.x, head.y, 3.0f, false, horizontal); });
    const float ahead = forward ? 1.0f : -1.0f;
    const sf::Vector2f eye = horizontal ? head + sf::Vector2f(ahead * 0.8f, -1.2f) : head + sf::Vector2f(-1.4f, ahead * 0.8f);
    cell.set(static_cast<int>(eye.x), static_cast<int>(eye.y), Palette::Ink);
    if (!horizontal)
        cell.set(static_cast<int>(eye.x + 2.8f), static_cast<int>(eye.y), Palette::Ink);
    const sf::Color tongue(214, 60, 70);
    const sf::Vector2f tip = horizontal ? head + sf::Vector2f(ahead * 3.5f, 0.0f) : head + sf::Vector2f(0.0f, ahead * 3.5f);
    cell.set(static_cast<int>(tip.x), static_cast<int>(tip.y), tongue);
    if (bend == 1)
        cell.set(static_cast<int>(tip.x + (horizontal ? ahead : 1.0f)), static_cast<int>(tip.y + (horizontal ? 1.0f : ahead)), tongue);
    cell.outline(0.45f);
    return cell;
}

Canvas SnakePainter::coiled()
{
    // Two rings of body, each outlined on its own so the turns read apart, and the raised head.
    Canvas cell(Cell, Cell);
    const float rings[2][3] = {{7.5f, 4.2f, 2.2f}, {4.0f, 2.3f, 1.9f}};
    for (const auto& ring : rings)
    {
        Canvas layer(Cell, Cell);
        for (int i = 0; i < 48; ++i)
        {
            const float angle = 2.0f * Pi * static_cast<float>(i) / 48.0f;
            const sf::Vector2f c(15.0f + ring[0] * std::cos(angle), 23.0f + ring[1] * std::sin(angle));
            const float radius = ring[2];
            layer.fillEllipse(c.x, c.y, radius, radius,
                              [&](int x, int y) { return scale(x, y, c.x, c.y, radius, i % 6 == 2, true); });
        }
        layer.outline(0.45f);
        cell.paste(layer, 0, 0);
    }
    Canvas head(Cell, Cell);
    head.fillCapsule(sf::Vector2f(16.0f, 23.0f), sf::Vector2f(15.0f, 17.5f), 1.8f,
                     [](int x, int y) { return scale(x, y, 15.0f, 20.0f, 2.0f, false, true); });
    head.fillEllipse(15.0f, 16.5f, 2.8f, 2.3f, [](int x, int y) { return scale(x, y, 15.0f, 16.5f, 2.8f, false, false); });
    head.set(13, 16, Palette::Ink);
    head.set(16, 16, Palette::Ink);
    head.set(15, 19, sf::Color(214, 60, 70));
    head.outline(0.45f);
    cell.paste(head, 0, 0);
    return cell;
}

Canvas SnakePainter::sideways() const
{
    Canvas sheet(3 * Cell * Scale, 2 * Cell * Scale);
    for (int row = 0; row < 2; ++row)
    {
        sheet.copy(crawling(true, false, row).scaled(Scale), 0, row * Cell * Scale);
        sheet.copy(crawling(true, true, row).scaled(Scale), Cell * Scale, row * Cell * Scale);
        sheet.copy(coiled().scaled(Scale), 2 * Cell * Scale, row * Cell * Scale);
    }
    return sheet;
}

Canvas SnakePainter::upDown() const
{
    Canvas sheet(3 * Cell * Scale, 2 * Cell * Scale);
    for (int row = 0; row < 2; ++row)
    {
        sheet.copy(crawling(false, true, row).scaled(Scale), 0, row * Cell * Scale);
        sheet.copy(crawling(false, false, row).scaled(Scale), Cell * Scale, row * Cell * Scale);
        sheet.copy(coiled().scaled(Scale), 2 * Cell * Scale, row * Cell * Scale);
    }
    return sheet;
}

} // namespace QEL::AssetGen
