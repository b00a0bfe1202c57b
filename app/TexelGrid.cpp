#include "app/TexelGrid.hpp"

#include "app/GameEvents.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace QEL
{
namespace
{

double fraction(double value)
{
    return value - std::floor(value);
}

/// Places within a pixel are told apart to this fraction of a pixel: far below any clearance
/// that counts, and few enough to be marked without sorting.
constexpr int Slots = 1 << 16;

/// The slots of a pixel, from its left edge, that hold a texel border of the world, in order.
std::vector<int> borderSlots(double pixelsPerUnit)
{
    std::vector<bool> taken(Slots, false);
    const auto add = [&](double border) { taken[static_cast<std::size_t>(fraction(border * pixelsPerUnit) * Slots) % Slots] = true; };
    for (float unit = 0.f; unit <= World::Size; ++unit)
        add(unit);
    const int texelsPerTile = static_cast<int>(World::TileSize);
    for (float tile = 0.f; tile < World::Size; tile += World::TileSize)
    {
        for (int texel = 0; texel <= texelsPerTile; ++texel)
            add(tile + texel * static_cast<double>(World::TileScale));
    }
    std::vector<int> slots;
    for (int slot = 0; slot < Slots; ++slot)
    {
        if (taken[slot])
            slots.push_back(slot);
    }
    return slots;
}

} // namespace

TexelGrid TexelGrid::at(float pixelsPerUnit)
{
    // Each axis of the window and the sizes it had last.
    static std::vector<TexelGrid> recent;
    const auto known = std::find_if(recent.begin(), recent.end(), [&](const TexelGrid& grid) { return grid.mPixelsPerUnit == pixelsPerUnit; });
    if (known != recent.end())
        return *known;
    if (recent.size() == 4)
        recent.erase(recent.begin());
    recent.push_back(TexelGrid(pixelsPerUnit));
    return recent.back();
}

TexelGrid::TexelGrid(float pixelsPerUnit) : mPixelsPerUnit(pixelsPerUnit), mEdgePhase(0.f), mClearance(0.f)
{
    if (!(pixelsPerUnit > 0.f) || !std::isfinite(pixelsPerUnit))
        return;
    // Pixel centres go to the middle of the widest run of free slots, round the pixel.
    const std::vector<int> slots = borderSlots(pixelsPerUnit);
    int widest = 0;
    double middle = 0.0;
    for (std::size_t index = 0; index < slots.size(); ++index)
    {
        const int next = index + 1 < slots.size() ? slots[index + 1] : slots.front() + Slots;
        if (next - slots[index] - 1 > widest)
        {
            widest = next - slots[index] - 1;
            middle = (slots[index] + 1 + next) / 2.0 / Slots;
        }
    }
    // A pixel's centre is half a pixel beyond its edge.
    mEdgePhase = std::min(static_cast<float>(fraction(middle - 0.5)), std::nextafter(1.f, 0.f));
    mClearance = static_cast<float>(widest / 2.0 / Slots);
}

bool TexelGrid::isClear() const
{
    // Rasterisers put vertices on a grid of sub-pixels (of 1/256 pixel in Mesa's software one), so
    // an edge drawn through two projections may land a sub-pixel apart; float rounding adds a little.
    return mClearance > 1.f / 200.f;
}

} // namespace QEL
