#include "tools/assetgen/ContactSheet.hpp"

#include "tools/assetgen/PixelFont.hpp"

#include <algorithm>
#include <cmath>

namespace QEL::AssetGen {

namespace {

constexpr int MaxThumbnail = 480;
constexpr int SheetWidth = 2400;
constexpr int Gap = 16;
constexpr int LabelScale = 2;
constexpr int LabelHeight = PixelFont::GlyphHeight * LabelScale + 8;

const sf::Color Background(52, 46, 58);
const sf::Color Label(240, 226, 196);

// Checkerboard under transparent pixels, so shapes and their alpha show.
void drawChecker(Canvas& sheet, int left, int top, int width, int height)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            const bool dark = ((x / 8) + (y / 8)) % 2 == 0;
            sheet.set(left + x, top + y, dark ? sf::Color(92, 88, 100) : sf::Color(120, 116, 128));
        }
}

} // namespace

void ContactSheet::add(const std::string& label, const Canvas& picture)
{
    mEntries.emplace_back(label, thumbnail(picture));
}

Canvas ContactSheet::thumbnail(const Canvas& picture)
{
    const unsigned largest = std::max(picture.getWidth(), picture.getHeight());
    if (largest < MaxThumbnail / 4)
        return picture.scaled(static_cast<unsigned>(MaxThumbnail / 4 / largest) + 1);
    const unsigned factor = (largest + MaxThumbnail - 1) / MaxThumbnail;
    if (factor <= 1)
        return picture;
    Canvas small(picture.getWidth() / factor, picture.getHeight() / factor);
    for (unsigned y = 0; y < small.getHeight(); ++y)
        for (unsigned x = 0; x < small.getWidth(); ++x)
        {
            float r = 0, g = 0, b = 0, a = 0;
            for (unsigned sy = 0; sy < factor; ++sy)
                for (unsigned sx = 0; sx < factor; ++sx)
                {
                    const sf::Color c = picture.get(x * factor + sx, y * factor + sy);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            if (a > 0)
                small.set(x, y, sf::Color(static_cast<sf::Uint8>(r / a), static_cast<sf::Uint8>(g / a),
                                          static_cast<sf::Uint8>(b / a),
                                          static_cast<sf::Uint8>(a / static_cast<float>(factor * factor))));
        }
    return small;
}

Canvas ContactSheet::compose() const
{
    // Lay the entries out in rows, left to right.
    struct Placement { int x, y; };
    std::vector<Placement> placements;
    int x = Gap;
    int y = Gap;
    int rowHeight = 0;
    for (const auto& entry : mEntries)
    {
        const int width = std::max(static_cast<int>(entry.second.getWidth()), PixelFont::measure(entry.first, LabelScale));
        const int height = static_cast<int>(entry.second.getHeight()) + LabelHeight;
        if (x + width > SheetWidth - Gap && x > Gap)
        {
            x = Gap;
            y += rowHeight + Gap;
            rowHeight = 0;
        }
        placements.push_back({x, y});
        x += width + Gap;
        rowHeight = std::max(rowHeight, height);
    }
    Canvas sheet(SheetWidth, static_cast<unsigned>(y + rowHeight + Gap), Background);
    for (std::size_t i = 0; i < mEntries.size(); ++i)
    {
        const Canvas& picture = mEntries[i].second;
        const Placement& at = placements[i];
        PixelFont::draw(sheet, mEntries[i].first, at.x, at.y, LabelScale, Label);
        drawChecker(sheet, at.x, at.y + LabelHeight, picture.getWidth(), picture.getHeight());
        sheet.paste(picture, at.x, at.y + LabelHeight);
    }
    return sheet;
}

} // namespace QEL::AssetGen
