#include "tools/assetgen/TerrainPainter.hpp"

#include "tools/assetgen/Palette.hpp"
#include "tools/assetgen/PeriodicNoise.hpp"
#include "tools/assetgen/Random.hpp"

#include <algorithm>
#include <cmath>

namespace QEL::AssetGen {

namespace {

constexpr int T = static_cast<int>(TerrainPainter::Tile);
constexpr float Pi = 3.14159265f;

int wrap(int v)
{
    return ((v % T) + T) % T;
}

// Sets a pixel of a repeating tile, wrapping around its edges.
void setWrapped(Canvas& tile, int x, int y, sf::Color color)
{
    tile.set(wrap(x), wrap(y), color);
}

// Fills a tile from a shade function through a ramp.
template <class ShadeFunction>
Canvas shadeTile(const ColorRamp& ramp, ShadeFunction shade)
{
    Canvas tile(T, T);
    for (int y = 0; y < T; ++y)
        for (int x = 0; x < T; ++x)
            tile.set(x, y, ramp.pick(shade(x, y), x, y));
    return tile;
}

// Fades a wave's reach towards every tile edge, so neighbouring surf frames still meet.
float edgeTaper(int x, int y)
{
    // Zero on the edge pixels themselves: every frame shows the same tile border.
    auto fade = [](int v) { return std::clamp(static_cast<float>(std::min(v, T - 1 - v)) / 6.0f, 0.0f, 1.0f); };
    return fade(x) * fade(y);
}

} // namespace

TerrainPainter::TerrainPainter()
: mGrass(paintGrass()), mSand(paintSand()), mBeach(paintBeach()), mShallow(paintShallow()), mDeep(paintDeep())
{
}

const Canvas& TerrainPainter::grass() const { return mGrass; }
const Canvas& TerrainPainter::sand() const { return mSand; }
const Canvas& TerrainPainter::beach() const { return mBeach; }
const Canvas& TerrainPainter::shallow() const { return mShallow; }
const Canvas& TerrainPainter::deep() const { return mDeep; }

Canvas TerrainPainter::paintGrass()
{
    const PeriodicNoise noise(T, 101);
    Canvas tile = shadeTile(Palette::grass(), [&](int x, int y) {
        return 0.22f + 0.36f * noise.fractal(x, y, 5, 2) + 0.16f * Random::hash(x, y, 102);
    });
    // Little tufts of blades: a light tip over two darker blades.
    Random random(103);
    for (int i = 0; i < 22; ++i)
    {
        const int x = random.integer(0, T - 1);
        const int y = random.integer(0, T - 1);
        const bool light = random.chance(0.6f);
        setWrapped(tile, x, y, Palette::grass().tone(light ? 4 : 3));
        setWrapped(tile, x - 1, y + 1, Palette::grass().tone(light ? 3 : 2));
        setWrapped(tile, x + 1, y + 1, Palette::grass().tone(light ? 3 : 2));
        setWrapped(tile, x, y + 1, Palette::grass().tone(0));
    }
    return tile;
}

Canvas TerrainPainter::paintSand()
{
    const PeriodicNoise noise(T, 201);
    return shadeTile(Palette::sand(), [&](int x, int y) {
        // Wind ripples running diagonally; whole wave counts per tile keep them repeating.
        const float phase = 2.0f * Pi * (1.0f * x + 2.0f * y) / T + 4.0f * noise.value(x, y, 3);
        const float ripple = std::sin(phase);
        float shade = 0.5f + 0.2f * noise.fractal(x, y, 5, 2) + 0.08f * Random::hash(x, y, 202);
        if (ripple > 0.9f)
            shade += 0.2f;
        else if (ripple < -0.95f)
            shade -= 0.14f;
        return shade;
    });
}

Canvas TerrainPainter::paintBeach()
{
    const PeriodicNoise noise(T, 301);
    return shadeTile(Palette::beach(), [&](int x, int y) {
        float shade = 0.4f + 0.3f * noise.fractal(x, y, 5, 2);
        const float speck = Random::hash(x, y, 302);
        if (speck < 0.05f)
            shade -= 0.35f;
        else if (speck > 0.96f)
            shade += 0.35f;
        return shade;
    });
}

Canvas TerrainPainter::paintShallow()
{
    const PeriodicNoise noise(T, 401);
    return shadeTile(Palette::shallow(), [&](int x, int y) {
        float shade = 0.26f + 0.22f * noise.fractal(x, y, 5, 2);
        // Caustics: thin bright lines along the level set of a second noise.
        const float caustic = std::fabs(noise.value(x + 7.0f, y + 3.0f, 6) - 0.5f);
        if (caustic < 0.03f)
            shade = 0.78f;
        if (Random::hash(x, y, 402) > 0.985f)
            shade = 1.0f;
        return shade;
    });
}

Canvas TerrainPainter::paintDeep()
{
    const PeriodicNoise noise(T, 501);
    Canvas tile = shadeTile(Palette::deep(), [&](int x, int y) {
        return 0.22f + 0.26f * noise.fractal(x, y, 5, 2) + 0.08f * Random::hash(x, y, 502);
    });
    // Small wave crests.
    Random random(503);
    for (int i = 0; i < 7; ++i)
    {
        const int x = random.integer(0, T - 1);
        const int y = random.integer(0, T - 1);
        setWrapped(tile, x - 1, y + 1, Palette::deep().tone(2));
        setWrapped(tile, x, y, Palette::deep().tone(3));
        setWrapped(tile, x + 1, y, Palette::deep().tone(4));
        setWrapped(tile, x + 2, y, Palette::deep().tone(3));
        setWrapped(tile, x + 3, y + 1, Palette::deep().tone(2));
    }
    return tile;
}

void TerrainPainter::scatterFlowers(Canvas& tile, std::uint32_t seed, sf::Color petals, int count)
{
    // Decorations stay inside the tile so its edges remain those of the plain texture.
    Random random(seed);
    const sf::Color heart(250, 214, 90);
    for (int i = 0; i < count; ++i)
    {
        const int x = random.integer(3, T - 4);
        const int y = random.integer(3, T - 4);
        tile.set(x, y + 1, Palette::grass().tone(0));
        tile.set(x - 1, y, petals);
        tile.set(x + 1, y, petals);
        tile.set(x, y - 1, petals);
        tile.set(x, y, heart);
        tile.set(x + 1, y + 1, Palette::grass().tone(1));
    }
}

void TerrainPainter::scatterPebbles(Canvas& tile, std::uint32_t seed, int count)
{
    Random random(seed);
    const ColorRamp stone{{92, 88, 96}, {136, 130, 134}, {176, 170, 168}, {210, 204, 196}};
    for (int i = 0; i < count; ++i)
    {
        const int x = random.integer(4, T - 6);
        const int y = random.integer(4, T - 5);
        const int w = random.integer(2, 3);
        tile.fillRect(x - 1, y + 1, w + 2, 1, Palette::grass().tone(0));
        tile.fillRect(x, y, w, 1, stone.tone(1));
        tile.fillRect(x, y - 1, w, 1, stone.tone(2));
        tile.set(x, y - 1, stone.tone(3));
        tile.set(x + w - 1, y, stone.tone(0));
    }
}

void TerrainPainter::scatterShells(Canvas& tile, std::uint32_t seed)
{
    Random random(seed);
    const sf::Color shell(250, 236, 226);
    const sf::Color rim(212, 150, 140);
    const sf::Color star(232, 120, 92);
    for (int i = 0; i < 3; ++i)
    {
        const int x = random.integer(4, T - 5);
        const int y = random.integer(4, T - 5);
        tile.set(x, y, shell);
        tile.set(x + 1, y, shell);
        tile.set(x, y - 1, shell);
        tile.set(x + 1, y - 1, rim);
        tile.set(x, y + 1, Palette::beach().tone(0));
        tile.set(x + 1, y + 1, Palette::beach().tone(0));
    }
    const int x = random.integer(6, T - 7);
    const int y = random.integer(6, T - 7);
    for (int d = -2; d <= 2; ++d)
    {
        tile.set(x + d, y, star);
        tile.set(x, y + d, star);
    }
    tile.set(x, y, Palette::lighten(star, 0.3f));
    tile.set(x - 1, y + 3, Palette::beach().tone(0));
    tile.set(x + 1, y + 3, Palette::beach().tone(0));
}

void TerrainPainter::placeCell(Canvas& sheet, const Canvas& cell, int column, int row)
{
    sheet.copy(cell.scaled(Scale), column * T * Scale, row * T * Scale);
}

Canvas TerrainPainter::grassSheet() const
{
    Canvas sheet(2 * T * Scale, 2 * T * Scale);
    Canvas flowers(mGrass);
    scatterFlowers(flowers, 601, sf::Color(250, 248, 238), 5);
    Canvas stones(mGrass);
    scatterPebbles(stones, 602, 3);
    Canvas blossoms(mGrass);
    scatterFlowers(blossoms, 603, Palette::Blossom, 4);
    scatterFlowers(blossoms, 604, sf::Color(176, 150, 230), 2);
    placeCell(sheet, flowers, 0, 0);
    placeCell(sheet, stones, 1, 0);
    placeCell(sheet, blossoms, 0, 1);
    placeCell(sheet, mGrass, 1, 1);
    return sheet;
}

Canvas TerrainPainter::desertSheet() const
{
    return mSand.scaled(Scale);
}

Canvas TerrainPainter::beachSheet() const
{
    Canvas sheet(T * Scale, 2 * T * Scale);
    Canvas shells(mBeach);
    scatterShells(shells, 701);
    placeCell(sheet, shells, 0, 0);
    placeCell(sheet, mBeach, 0, 1);
    return sheet;
}

Canvas TerrainPainter::waterSheet() const
{
    Canvas sheet(4 * T * Scale, 5 * T * Scale);
    // Cells the world never shows hold plain shallow water.
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 4; ++column)
            placeCell(sheet, mShallow, column, row);
    placeCell(sheet, mDeep, 0, 3);
    placeCell(sheet, mShallow, 0, 4);
    const Canvas edges = edgeSheet(mShallow, mDeep, Style::Shelf, 801);
    sheet.copy(edges, T * Scale, 0);
    return sheet;
}

Canvas TerrainPainter::edgeSheet(const Canvas& from, const Canvas& to, Style style, std::uint32_t seed) const
{
    Canvas sheet(3 * T * Scale, 4 * T * Scale);
    for (const EdgeShape::Rule& rule : EdgeShape::rules())
    {
        const EdgeShape shape(rule.sides, rule.corner, seed + static_cast<std::uint32_t>(rule.surfColumn) * 31u);
        placeCell(sheet, transitionCell(from, to, shape, style, 0), rule.edgeColumn, rule.edgeRow);
    }
    return sheet;
}

Canvas TerrainPainter::surfSheet() const
{
    Canvas sheet(12 * T * Scale, 3 * T * Scale);
    for (const EdgeShape::Rule& rule : EdgeShape::rules())
    {
        const EdgeShape shape(rule.sides, rule.corner, 901 + static_cast<std::uint32_t>(rule.surfColumn) * 31u);
        for (int frame = 0; frame < 3; ++frame)
            placeCell(sheet, transitionCell(mBeach, mShallow, shape, Style::Surf, frame), rule.surfColumn, frame);
    }
    return sheet;
}

Canvas TerrainPainter::transitionCell(const Canvas& from, const Canvas& to, const EdgeShape& shape, Style style,
                                      int frame) const
{
    Canvas cell(T, T);
    for (int y = 0; y < T; ++y)
        for (int x = 0; x < T; ++x)
        {
            const float reach = shape.reach(x + 0.5f, y + 0.5f);
            cell.set(x, y, blendPixel(from.get(x, y), to.get(x, y), reach, style, x, y, frame));
        }
    return cell;
}

sf::Color TerrainPainter::blendPixel(sf::Color from, sf::Color to, float reach, Style style, int x, int y, int frame)
{
    const float grain = Random::hash(x, y, 1001);
    switch (style)
    {
    case Style::Bank:
        if (reach > 0.0f)
        {
            if (reach <= 1.0f)
                return Palette::mix(to, Palette::Foam, 0.6f);
            if (reach <= 2.0f)
                return Palette::mix(to, Palette::Foam, 0.18f);
            return to;
        }
        if (reach > -1.0f)
            return Palette::dirt().tone(0);
        if (reach > -2.0f)
            return Palette::grass().tone(0);
        return from;
    case Style::Fringe:
        if (reach > 0.0f)
        {
            if (reach <= 1.2f && grain < 0.3f)
                return Palette::grass().tone(1);
            if (reach <= 2.2f)
                return Palette::darken(to, 0.1f);
            return to;
        }
        if (reach > -1.0f)
            return grain < 0.3f ? Palette::darken(to, 0.1f) : Palette::grass().tone(0);
        return from;
    case Style::Shelf:
    {
        const float t = std::clamp((reach + 2.5f) / 5.0f, 0.0f, 1.0f);
        return t > ColorRamp::bayer(x, y) ? to : from;
    }
    case Style::Surf:
    default:
    {
        const float taper = edgeTaper(x, y);
        const float wash = reach + 2.0f * static_cast<float>(frame) * taper;
        if (reach > 0.0f)
        {
            const float swell = 3.5f + 1.5f * static_cast<float>(frame) * taper;
            if (reach <= 1.2f)
                return Palette::Foam;
            if (reach <= 2.2f)
                return Palette::mix(to, Palette::Foam, 0.35f);
            // The offshore swell line keeps clear of the tile edges, where plain water continues.
            if (taper >= 1.0f && reach > swell && reach <= swell + 1.0f && Random::hash(x / 2, y / 2, 1002) > 0.25f)
                return Palette::mix(to, Palette::Foam, 0.6f);
            return to;
        }
        if (wash > 0.0f)
            return wash <= 1.2f ? Palette::Foam : Palette::mix(to, Palette::Foam, 0.45f);
        if (wash > -3.0f)
            return Palette::mix(from, sf::Color(132, 124, 112), 0.35f);
        return from;
    }
    }
}

} // namespace QEL::AssetGen
