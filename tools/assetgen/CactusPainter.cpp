#include "tools/assetgen/CactusPainter.hpp"

#include "tools/assetgen/Palette.hpp"

#include <cmath>

namespace QEL::AssetGen {

namespace {

constexpr int Cell = 10;  // art pixels per 30-pixel cell

// A ribbed column shade: lit from the left, dark furrows between the ribs.
sf::Color ribbed(int x, int y, float left, float right)
{
    const float u = (x + 0.5f - left) / (right - left);
    float shade = 0.8f - 0.6f * u;
    const float rib = std::fmod(u * 3.0f, 1.0f);
    if (rib < 0.18f && u > 0.1f)
        shade -= 0.35f;
    // Dither rows repeat every two pixels, so stacked pieces continue the pattern.
    return Palette::cactus().pick(shade, x, y % 2);
}

// Spines: light pricks in a pattern that repeats every cell.
void addSpines(Canvas& cell)
{
    const int spines[][2] = {{1, 1}, {8, 3}, {4, 6}, {1, 8}, {7, 8}};
    for (const auto& spine : spines)
        if (cell.get(spine[0], spine[1]).a > 0)
            cell.set(spine[0], spine[1], sf::Color(236, 232, 196));
}

void place(Canvas& sheet, const Canvas& cell, int column, int row)
{
    sheet.copy(cell.scaled(CactusPainter::Scale), column * Cell * 3, row * Cell * 3);
}

} // namespace

void CactusPainter::paintBud(Canvas& cell, float cx, float cy)
{
    cell.fillEllipse(cx, cy, 2.2f, 1.8f, Palette::Blossom);
    cell.set(static_cast<int>(cx) - 1, static_cast<int>(cy) - 1, Palette::lighten(Palette::Blossom, 0.5f));
    cell.set(static_cast<int>(cx), static_cast<int>(cy), Palette::darken(Palette::Blossom, 0.3f));
}

Canvas CactusPainter::stem()
{
    // Full width, edges drawn inside: the arm cells start right at its right edge.
    Canvas cell(Cell, Cell);
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x)
            cell.set(x, y, (x == 0 || x == Cell - 1) ? Palette::outlineOf(Palette::cactus().tone(0), 0.3f)
                                                     : ribbed(x, y, 1.0f, Cell - 1.0f));
    addSpines(cell);
    return cell;
}

Canvas CactusPainter::top(bool picked)
{
    Canvas cell(Cell, Cell);
    cell.fillEllipse(5.0f, 7.0f, 4.0f, 4.0f, [](int x, int y) { return ribbed(x, y, 1.0f, 9.0f); });
    cell.fillRect(1, 7, 8, 3, Palette::cactus().tone(2));
    for (int y = 7; y < Cell; ++y)
        for (int x = 1; x < Cell - 1; ++x)
            cell.set(x, y, ribbed(x, y, 1.0f, Cell - 1.0f));
    addSpines(cell);
    if (picked)
        cell.fillRect(4, 3, 2, 1, Palette::cactus().tone(0));
    else
        paintBud(cell, 5.0f, 3.0f);
    cell.outline(0.4f);
    return cell;
}

Canvas CactusPainter::armElbow()
{
    // Leaves the stem sideways low in the cell, bends and rises out of the top edge.
    Canvas cell(Cell, Cell);
    cell.fillRect(0, 4, 6, 5, Palette::cactus().tone(2));
    cell.fillEllipse(5.5f, 4.5f, 3.5f, 4.5f, Palette::cactus().tone(2));
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x)
            if (cell.get(x, y).a > 0)
                cell.set(x, y, y >= 4 && x < 5 ? Palette::cactus().pick(0.75f - 0.12f * (y - 4), x, y)
                                               : ribbed(x, y, 2.0f, 9.0f));
    cell.fillRect(2, 0, 7, 4, Palette::cactus().tone(2));
    for (int y = 0; y < 4; ++y)
        for (int x = 2; x < 9; ++x)
            cell.set(x, y, ribbed(x, y, 2.0f, 9.0f));
    cell.set(2, 6, sf::Color(236, 232, 196));
    cell.set(6, 2, sf::Color(236, 232, 196));
    cell.outline(0.4f);
    return cell;
}

Canvas CactusPainter::armTip(bool picked)
{
    Canvas cell(Cell, Cell);
    cell.fillEllipse(5.5f, 5.5f, 3.5f, 3.5f, [](int x, int y) { return ribbed(x, y, 2.0f, 9.0f); });
    for (int y = 5; y < Cell; ++y)
        for (int x = 2; x < 9; ++x)
            cell.set(x, y, ribbed(x, y, 2.0f, 9.0f));
    cell.set(3, 6, sf::Color(236, 232, 196));
    cell.set(7, 8, sf::Color(236, 232, 196));
    if (!picked)
        paintBud(cell, 5.5f, 2.5f);
    cell.outline(0.4f);
    return cell;
}

Canvas CactusPainter::sheet() const
{
    Canvas sheet(3 * Cell * Scale, 6 * Cell * Scale);
    const Canvas piece = stem();
    place(sheet, piece, 1, 2);            // unpicked
    place(sheet, piece, 0, 2);            // picked: the stem does not change
    place(sheet, top(false), 1, 1);
    place(sheet, top(true), 0, 1);
    place(sheet, armTip(false), 2, 1);
    place(sheet, armElbow(), 2, 2);
    place(sheet, armTip(true), 2, 4);
    place(sheet, armElbow(), 2, 5);
    return sheet;
}

Canvas CactusPainter::shadow() const
{
    Canvas shadow(28, 12);
    shadow.fillEllipse(14.0f, 6.0f, 13.5f, 5.5f, sf::Color::White);
    return shadow.scaled(Scale);
}

} // namespace QEL::AssetGen
