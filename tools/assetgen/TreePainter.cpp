#include "tools/assetgen/TreePainter.hpp"

#include "tools/assetgen/Palette.hpp"
#include "tools/assetgen/Random.hpp"

#include <algorithm>
#include <cmath>

namespace QEL::AssetGen {

namespace {

constexpr int FrameWidth = 120;   // the tree frame, in art pixels
constexpr int FrameHeight = 180;
constexpr float Centre = 60.0f;
constexpr int Foot = 178;         // ground line: world y 0 of a tree at the origin
constexpr int TrunkTop = 120;     // the trunk piece spans rows 120 to 179
constexpr int CrownBottom = 90;   // the crown spans rows 0 to 89, the branches 90 to 119
constexpr int CutRow = 162;       // where the axe cuts: the stump's top, the log's foot

sf::Vector2f at(float x, float y)
{
    return sf::Vector2f(x, y);
}

// Bark: lit from the left, with vertical grain.
sf::Color barkAt(int x, int y, float centre, float half)
{
    const float across = std::clamp((x + 0.5f - centre) / std::max(half, 1.0f), -1.0f, 1.0f);
    const float grain = (Random::hash(x, y / 5 + x * 3, 3101) - 0.5f) * 0.32f;
    return Palette::bark().pick(0.6f - 0.38f * across + grain, x, y);
}

// Places a picture cut from a frame into the sheet, enlarged to screen pixels.
void place(Canvas& sheet, const Canvas& piece, int left, int top)
{
    sheet.copy(piece.scaled(TreePainter::Scale), left, top);
}

} // namespace

void TreePainter::paintTrunkColumn(Canvas& layer, int top, int bottom, float centre, float topHalf, float bottomHalf)
{
    for (int y = top; y <= bottom; ++y)
    {
        const float t = static_cast<float>(y - top) / std::max(1, bottom - top);
        const float half = topHalf + (bottomHalf - topHalf) * t;
        for (int x = static_cast<int>(std::floor(centre - half)); x < static_cast<int>(std::ceil(centre + half)); ++x)
            layer.set(x, y, barkAt(x, y, centre, half));
    }
}

void TreePainter::paintRoots(Canvas& layer, float centre, int foot)
{
    // Three root lobes spreading into the ground around the foot.
    const float lobes[3][3] = {{-9.5f, 3.5f, 5.0f}, {9.0f, 3.0f, 5.0f}, {1.5f, 2.5f, 6.0f}};
    for (const auto& lobe : lobes)
        layer.fillEllipse(centre + lobe[0], foot - 1.5f, lobe[2], lobe[1], [&](int x, int y) {
            return barkAt(x, y, centre + lobe[0], lobe[2]);
        });
    for (int x = static_cast<int>(centre) - 12; x < static_cast<int>(centre) + 12; ++x)
        for (int y = foot - 9; y <= foot; ++y)
        {
            const float half = 7.5f + std::pow(std::max(0.0f, y - (foot - 9.0f)) / 9.0f, 2.0f) * 5.0f;
            if (std::fabs(x + 0.5f - centre) < half)
                layer.set(x, y, barkAt(x, y, centre, half));
        }
}

void TreePainter::paintCutFace(Canvas& layer, float cx, float cy, float rx, float ry)
{
    // Year rings on pale wood, a darker heart, and the bark's rim.
    layer.fillEllipse(cx, cy, rx, ry, [&](int x, int y) {
        const float dx = (x + 0.5f - cx) / rx;
        const float dy = (y + 0.5f - cy) / ry;
        const float d = std::sqrt(dx * dx + dy * dy);
        if (d > 0.82f)
            return Palette::bark().tone(1);
        if (d < 0.18f)
            return Palette::wood().tone(2);
        const bool ring = static_cast<int>(d * 7.0f) % 2 == 0;
        return ring ? Palette::wood().tone(4) : Palette::wood().tone(3);
    });
}

void TreePainter::paintLeafClump(Canvas& layer, float cx, float cy, float radius, std::uint32_t seed)
{
    // A ball of leaves lit from the upper left, with a speckle of single leaves.
    layer.fillEllipse(cx, cy, radius, radius * 0.92f, [&](int x, int y) {
        const float nx = (x + 0.5f - cx) / radius;
        const float ny = (y + 0.5f - cy) / radius;
        const float rim = nx * nx + ny * ny;
        float shade = 0.55f - 0.42f * (0.55f * nx + 0.85f * ny) - 0.25f * rim * rim;
        const float leaf = Random::hash(x / 2 + (y % 2), y / 2, seed);
        shade += (leaf - 0.5f) * 0.3f;
        if (Random::hash(x, y, seed + 1) > 0.93f)
            shade += 0.25f;
        return Palette::leaves().pick(shade, x, y);
    });
}

Canvas TreePainter::crown()
{
    Canvas layer(FrameWidth, FrameHeight);
    // Back clumps first, front and lower clumps over them.
    const float clumps[][3] = {
        {60, 20, 17}, {40, 30, 19}, {80, 30, 19}, {24, 50, 17}, {96, 50, 17},
        {60, 42, 26}, {36, 60, 19}, {84, 60, 19}, {20, 70, 12}, {100, 70, 12},
        {48, 74, 14}, {72, 74, 14}, {60, 80, 11},
    };
    std::uint32_t seed = 3201;
    for (const auto& clump : clumps)
        paintLeafClump(layer, clump[0], clump[1], clump[2], seed++);
    Canvas cut = layer.crop(0, 0, FrameWidth, CrownBottom);
    cut.outline(0.5f);
    return cut;
}

Canvas TreePainter::branches(bool stripped)
{
    Canvas layer(FrameWidth, FrameHeight);
    auto limb = [&](sf::Vector2f from, sf::Vector2f to, float radius) {
        layer.fillCapsule(from, to, radius, [&](int x, int y) { return barkAt(x, y, from.x, 6.0f); });
    };
    paintTrunkColumn(layer, CrownBottom, TrunkTop, Centre, 5.0f, 6.0f);
    if (stripped)
    {
        // Short stubs with pale saw cuts where the limbs were.
        limb(at(Centre - 3, 110), at(Centre - 11, 104), 2.2f);
        limb(at(Centre + 3, 104), at(Centre + 11, 99), 2.2f);
        paintCutFace(layer, Centre - 11.5f, 103.5f, 2.0f, 2.4f);
        paintCutFace(layer, Centre + 11.5f, 98.5f, 2.0f, 2.4f);
    }
    else
    {
        limb(at(Centre - 3, 111), at(Centre - 22, 101), 3.0f);
        limb(at(Centre - 22, 101), at(Centre - 33, 98), 2.0f);
        limb(at(Centre + 3, 106), at(Centre + 20, 97), 3.0f);
        limb(at(Centre + 20, 97), at(Centre + 31, 96), 2.0f);
        limb(at(Centre - 1, 100), at(Centre - 8, 92), 2.0f);
        paintLeafClump(layer, Centre - 36, 100, 8.0f, 3301);
        paintLeafClump(layer, Centre + 35, 98, 8.0f, 3302);
        paintLeafClump(layer, Centre - 24, 97, 5.5f, 3303);
        paintLeafClump(layer, Centre + 22, 94, 5.0f, 3304);
    }
    Canvas cut = layer.crop(0, CrownBottom, FrameWidth, TrunkTop - CrownBottom);
    cut.outline(0.5f);
    return cut;
}

Canvas TreePainter::trunk(int notch)
{
    Canvas layer(FrameWidth, FrameHeight);
    paintTrunkColumn(layer, TrunkTop, Foot, Centre, 6.0f, 7.5f);
    paintRoots(layer, Centre, Foot);
    if (notch > 0)
    {
        // The axe's wedge bites into the right side, pale wood inside.
        const float right = Centre + 7.5f;
        layer.fillPolygon({at(right + 1, CutRow - notch * 0.9f), at(right - notch, CutRow), at(right + 1, CutRow + 2.0f)},
                          Palette::wood().tone(4));
        layer.fillPolygon({at(right + 1, CutRow - notch * 0.9f + 1.5f), at(right - notch + 2.0f, CutRow),
                           at(right + 1, CutRow)}, Palette::wood().tone(2));
        // Chips on the ground.
        Random random(3401 + static_cast<std::uint32_t>(notch));
        for (int i = 0; i < notch * 2; ++i)
            layer.fillRect(static_cast<int>(right) + random.integer(1, 12), Foot - random.integer(0, 2),
                           random.integer(1, 2), 1, Palette::wood().tone(4));
    }
    Canvas cut = layer.crop(30, TrunkTop, 60, FrameHeight - TrunkTop);
    cut.outline(0.5f);
    return cut;
}

Canvas TreePainter::stump()
{
    Canvas layer(FrameWidth, FrameHeight);
    paintTrunkColumn(layer, CutRow, Foot, Centre, 7.0f, 7.5f);
    paintRoots(layer, Centre, Foot);
    paintCutFace(layer, Centre, static_cast<float>(CutRow), 7.0f, 2.6f);
    Canvas cut = layer.crop(30, TrunkTop, 60, FrameHeight - TrunkTop);
    cut.outline(0.5f);
    return cut;
}

Canvas TreePainter::log()
{
    // The felled trunk upright in its own 60 x 90 frame; the world tips it over to the right.
    // Its middle rows lie under the branches, its foot is the cut above the stump.
    Canvas layer(60, 90);
    const float centre = 30.0f;
    paintTrunkColumn(layer, 4, 86, centre, 5.0f, 7.0f);
    Random random(3501);
    for (int i = 0; i < 3; ++i)
    {
        const float y = static_cast<float>(random.integer(16, 74));
        const float x = centre + random.real(-3.0f, 3.0f);
        layer.fillEllipse(x, y, 1.5f, 2.2f, Palette::bark().tone(0));
        layer.set(static_cast<int>(x), static_cast<int>(y) - 1, Palette::bark().tone(3));
    }
    paintCutFace(layer, centre, 4.0f, 5.0f, 2.0f);
    paintCutFace(layer, centre, 86.0f, 7.0f, 2.6f);
    layer.outline(0.5f);
    return layer;
}

Canvas TreePainter::sheet() const
{
    Canvas sheet(1440, 1080);
    place(sheet, crown(), 0, 0);
    place(sheet, branches(false), 0, 270);
    place(sheet, branches(true), 360, 0);
    place(sheet, trunk(0), 90, 360);
    place(sheet, trunk(4), 360, 360);
    place(sheet, trunk(8), 360, 180);
    place(sheet, stump(), 540, 90);
    place(sheet, log(), 540, 270);
    return sheet;
}

Canvas TreePainter::shadow() const
{
    Canvas shadow(80, 38);
    shadow.fillEllipse(40.0f, 19.0f, 39.5f, 18.5f, sf::Color::White);
    return shadow.scaled(Scale).crop(0, 0, 240, 112);
}

} // namespace QEL::AssetGen
