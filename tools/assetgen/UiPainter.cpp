#include "tools/assetgen/UiPainter.hpp"

#include "tools/assetgen/Palette.hpp"
#include "tools/assetgen/Random.hpp"

#include <algorithm>
#include <cmath>

namespace QEL::AssetGen {

namespace {

constexpr float Pi = 3.14159265f;

// A bevelled disc or rounded panel shade: light from the upper left.
sf::Color bevel(const ColorRamp& ramp, float nx, float ny, int x, int y, float bias = 0.0f)
{
    return ramp.pick(0.55f - 0.35f * (0.6f * nx + 0.8f * ny) + bias, x, y);
}

const sf::Color Parchment(238, 222, 182);

} // namespace

void UiPainter::paintIcon(Canvas& cell, Icon icon, int lift)
{
    // Icons on a 20 x 20 art cell, centred near (10, 10).
    const float cy = 10.0f - static_cast<float>(lift);
    switch (icon)
    {
    case Icon::Bag:
        cell.fillEllipse(10.0f, cy + 1.5f, 4.5f, 4.0f, [&](int x, int y) {
            return bevel(Palette::leather(), (x - 10.0f) / 4.5f, (y - cy - 1.5f) / 4.0f, x, y, 0.15f);
        });
        cell.fillRect(8, static_cast<int>(cy) - 4, 4, 2, Palette::leather().tone(2));
        cell.fillRect(9, static_cast<int>(cy) - 2, 2, 1, Palette::brass().tone(3));
        break;
    case Icon::Map:
        cell.fillRect(5, static_cast<int>(cy) - 4, 10, 8, Parchment);
        cell.fillRect(5, static_cast<int>(cy) - 4, 10, 1, Palette::darken(Parchment, 0.2f));
        cell.fillRect(6, static_cast<int>(cy) + 1, 3, 1, Palette::grass().tone(1));
        cell.fillRect(7, static_cast<int>(cy) - 2, 2, 2, Palette::grass().tone(2));
        cell.fillRect(11, static_cast<int>(cy) - 2, 2, 3, Palette::shallow().tone(1));
        cell.set(12, static_cast<int>(cy) + 2, sf::Color(200, 60, 60));
        break;
    case Icon::Star:
        for (int i = 0; i < 5; ++i)
        {
            const float a = -Pi / 2 + i * 2.0f * Pi / 5.0f;
            cell.fillCapsule(sf::Vector2f(10.0f, cy), sf::Vector2f(10.0f + 4.5f * std::cos(a), cy + 4.5f * std::sin(a)), 1.2f,
                             Palette::brass().tone(3));
        }
        cell.fillEllipse(10.0f, cy, 2.0f, 2.0f, Palette::brass().tone(4));
        break;
    case Icon::Up:
    case Icon::Down:
    {
        const float dir = icon == Icon::Up ? -1.0f : 1.0f;
        cell.fillPolygon({{10.0f, cy + dir * 3.0f}, {6.5f, cy - dir * 1.5f}, {13.5f, cy - dir * 1.5f}}, Parchment);
        break;
    }
    }
}

Canvas UiPainter::button(Icon icon, State state)
{
    Canvas cell(ButtonCell / 2, ButtonCell / 2);
    const bool small = icon == Icon::Up || icon == Icon::Down;
    const float radius = small ? 5.0f : 7.5f;
    const float bias = state == State::Hovered ? 0.25f : state == State::Pressed ? -0.2f : 0.0f;
    // Brass rim around a wooden face.
    cell.fillEllipse(10.0f, 10.0f, radius, radius, [&](int x, int y) {
        return bevel(Palette::brass(), (x + 0.5f - 10.0f) / radius, (y + 0.5f - 10.0f) / radius, x, y, bias);
    });
    cell.fillEllipse(10.0f, 10.0f, radius - 1.5f, radius - 1.5f, [&](int x, int y) {
        // Sunken face: lit from below.
        return bevel(Palette::wood(), -(x + 0.5f - 10.0f) / radius, -(y + 0.5f - 10.0f) / radius, x, y, bias * 0.6f - 0.1f);
    });
    paintIcon(cell, icon, state == State::Pressed ? -1 : 0);
    if (state == State::Hovered)
        cell.set(7, 6, sf::Color(255, 250, 230));
    cell.outline(0.55f);
    return cell.scaled(2);
}

Canvas UiPainter::slot()
{
    Canvas cell(ButtonCell / 2, ButtonCell / 2);
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 18; ++x)
        {
            const bool rimLight = x == 17 || y == 17;
            const bool rimDark = x == 2 || y == 2;
            sf::Color c = Palette::wood().tone(0);
            if (rimDark)
                c = Palette::darken(Palette::wood().tone(0), 0.4f);
            else if (rimLight)
                c = Palette::wood().tone(2);
            cell.set(x, y, Palette::withAlpha(c, 230));
        }
    return cell.scaled(2);
}

Canvas UiPainter::buttonSheet() const
{
    Canvas sheet(16 * ButtonCell, ButtonCell);
    const Icon icons[] = {Icon::Bag, Icon::Map, Icon::Star, Icon::Up, Icon::Down};
    const State states[] = {State::Pressed, State::Hovered, State::Normal};
    for (int b = 0; b < 5; ++b)
        for (int s = 0; s < 3; ++s)
            sheet.copy(button(icons[b], states[s]), (b * 3 + s) * ButtonCell, 0);
    sheet.copy(slot(), 15 * ButtonCell, 0);
    return sheet;
}

Canvas UiPainter::bar() const
{
    // A wooden plank with rounded ends, a brass edge on top and nails.
    const int w = BarWidth / 2;
    const int h = BarHeight / 2;
    Canvas art(w, h);
    const float r = 6.0f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const float dx = std::max({r - x - 0.5f, x + 0.5f - (w - r), 0.0f});
            const float dy = std::max(r - y - 0.5f, 0.0f);
            if (dx * dx + dy * dy > r * r)
                continue;
            const float grain = std::sin(x * 0.21f + 3.0f * std::sin(y * 0.7f + x * 0.03f)) * 0.12f;
            float shade = 0.45f + grain - 0.015f * y + (Random::hash(x / 3, y, 6101) - 0.5f) * 0.1f;
            if (y == 1)
                shade += 0.35f;
            art.set(x, y, y < 1 ? Palette::brass().tone(3) : Palette::wood().pick(shade, x, y));
        }
    for (int x = 8; x < w - 6; x += 24)
    {
        art.set(x, 4, Palette::metal().tone(3));
        art.set(x, h - 3, Palette::metal().tone(2));
    }
    art.outline(0.6f);
    return art.scaled(2);
}

Canvas UiPainter::speaker(int bars, bool muted)
{
    Canvas cell(32, 32);
    cell.fillEllipse(16.0f, 16.0f, 14.5f, 14.5f, [](int x, int y) {
        return Palette::withAlpha(bevel(Palette::wood(), (x - 16.0f) / 14.5f, (y - 16.0f) / 14.5f, x, y, -0.2f), 220);
    });
    const sf::Color body = Palette::metal().tone(3);
    cell.fillRect(7, 13, 4, 6, body);
    cell.fillPolygon({{10.0f, 13.0f}, {15.5f, 8.0f}, {15.5f, 24.0f}, {10.0f, 19.0f}}, body);
    cell.fillRect(7, 13, 4, 1, Palette::metal().tone(4));
    for (int i = 0; i < 4; ++i)
    {
        const sf::Color bar = i < bars ? Palette::brass().tone(4) : Palette::withAlpha(Palette::wood().tone(3), 160);
        const int height = 4 + 3 * i;
        cell.fillRect(18 + 3 * i, 16 - height / 2, 2, height, bar);
    }
    if (muted)
    {
        const sf::Color red(214, 72, 64);
        cell.fillCapsule({18.0f, 11.0f}, {27.0f, 21.0f}, 1.0f, red);
        cell.fillCapsule({27.0f, 11.0f}, {18.0f, 21.0f}, 1.0f, red);
    }
    cell.outline(0.55f);
    return cell.scaled(2);
}

Canvas UiPainter::volumeSheet() const
{
    Canvas sheet(3 * 64, 2 * 64);
    for (int level = 0; level <= 4; ++level)
        sheet.copy(speaker(level, false), (level % 3) * 64, (level / 3) * 64);
    sheet.copy(speaker(0, true), 2 * 64, 64);
    return sheet;
}

Canvas UiPainter::minimapMask() const
{
    Canvas mask(Minimap, Minimap);
    mask.fillEllipse(Minimap / 2.0f, Minimap / 2.0f, Minimap / 2.0f, Minimap / 2.0f, sf::Color::White);
    return mask;
}

Canvas UiPainter::minimapRing() const
{
    // Drawn at full resolution: a ring of brass over the map's rim, studs at the four winds
    // and a red marker at north.
    Canvas ring(Overlay, Overlay);
    const float c = Overlay / 2.0f;
    for (int y = 0; y < Overlay; ++y)
        for (int x = 0; x < Overlay; ++x)
        {
            const float dx = x + 0.5f - c;
            const float dy = y + 0.5f - c;
            const float d = std::hypot(dx, dy);
            if (d < 80.0f || d > 88.5f)
                continue;
            const float across = (d - 84.25f) / 4.25f;  // -1 inner edge, +1 outer edge
            const float facing = -(0.6f * dx + 0.8f * dy) / d;
            float shade = 0.5f + 0.3f * facing * (across > 0 ? 1.0f : -1.0f) - 0.15f * across * across;
            if (d < 81.0f || d > 87.5f)
                shade = 0.05f;
            ring.set(x, y, Palette::brass().pick(shade, x, y));
        }
    for (int i = 0; i < 4; ++i)
    {
        const float a = i * Pi / 2.0f;
        const float sx = c + 84.25f * std::sin(a);
        const float sy = c - 84.25f * std::cos(a);
        if (i == 0)
            ring.fillPolygon({{sx - 5.0f, sy - 4.0f}, {sx + 5.0f, sy - 4.0f}, {sx, sy + 6.0f}}, sf::Color(204, 64, 56));
        else
            ring.fillEllipse(sx, sy, 3.0f, 3.0f, [&](int x, int y) {
                return bevel(Palette::metal(), (x - sx) / 3.0f, (y - sy) / 3.0f, x, y);
            });
    }
    return ring;
}

Canvas UiPainter::axe() const
{
    Canvas art(16, 16);
    art.fillCapsule({3.5f, 13.5f}, {12.0f, 3.5f}, 1.1f, [](int x, int y) {
        return Palette::wood().pick(0.75f - 0.05f * (x + y) * 0.5f, x, y);
    });
    art.fillPolygon({{8.5f, 1.5f}, {14.5f, 4.0f}, {15.0f, 9.5f}, {12.5f, 7.0f}, {10.0f, 5.5f}}, Palette::metal().tone(2));
    art.fillCapsule({14.0f, 4.5f}, {14.5f, 9.0f}, 0.6f, Palette::metal().tone(4));
    art.outline(0.6f);
    return art.scaled(3);
}

Canvas UiPainter::arrow() const
{
    Canvas art(24, 16);
    art.fillPolygon({{2.0f, 5.5f}, {13.0f, 5.5f}, {13.0f, 1.5f}, {22.5f, 8.0f}, {13.0f, 14.5f}, {13.0f, 10.5f}, {2.0f, 10.5f}},
                    Palette::metal().tone(2));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 24; ++x)
            if (art.get(x, y).a > 0)
                art.set(x, y, Palette::metal().pick(y < 8 ? 0.85f - 0.05f * y : 0.45f - 0.03f * (y - 8), x, y));
    art.outline(0.55f);
    return art.scaled(2);
}

} // namespace QEL::AssetGen
