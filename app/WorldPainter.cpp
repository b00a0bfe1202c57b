#include "app/WorldPainter.hpp"

#include "app/DrawPass.hpp"
#include "app/PixelClip.hpp"
#include "app/Rects.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <algorithm>
#include <cmath>

namespace QEL
{
namespace
{

/// Covers the area with opaque black: cells and patches start from nothing, as a cleared window does.
void clearArea(sf::RenderTarget& target, const sf::FloatRect& area)
{
    sf::RectangleShape shape(sf::Vector2f(area.width, area.height));
    shape.setPosition(area.left, area.top);
    shape.setFillColor(sf::Color::Black);
    target.draw(shape, sf::BlendNone);
}

/// Adds a patch, merged with every patch it overlaps: no pixel is drawn twice.
void addPatch(std::vector<sf::IntRect>& patches, sf::IntRect patch)
{
    for (auto other = patches.begin(); other != patches.end();)
    {
        if (other->intersects(patch))
        {
            patch = Rects::unite(patch, *other);
            patches.erase(other);
            other = patches.begin();
        }
        else
        {
            ++other;
        }
    }
    patches.push_back(patch);
}

} // namespace

bool WorldPainter::Range::contains(CellKey key) const
{
    return left <= key.first && key.first < right && top <= key.second && key.second < bottom;
}

WorldPainter::Range WorldPainter::Range::grown(int cells) const
{
    return Range{left - cells, top - cells, right + cells, bottom + cells};
}

WorldPainter::WorldPainter(Sender send) :
mSend(std::move(send)),
mAtlasUsable(false),
mSlotColumns(0),
mSlotRows(0),
mCellsPainted(0)
{
}

void WorldPainter::paint(sf::RenderTarget& target, const sf::View& view, float seconds)
{
    mCellsPainted = 0;
    mPatches.clear();
    target.setView(view);
    if (!fit(target, view))
    {
        mSend(DrawEvent{&target, sf::FloatRect(view.getCenter() - view.getSize() / 2.f, view.getSize()), seconds, nullptr});
        return;
    }

    const Range seen = cellsSeen(view);
    const Range kept = seen.grown(1);
    DrawPass survey(DrawPass::Survey);
    mSend(DrawEvent{&target, rangeArea(kept), seconds, &survey});

    forgetCellsOutside(kept);
    markCells(survey.getLateRepaints(), CellState::Late);
    markCells(survey.getRepaints(), CellState::Urgent);
    paintCells(seen, kept, seconds);

    copyCells(target, seen);
    findPatches(target, view, survey.getMoving());
    paintPatches(target, view, seconds);
}

bool WorldPainter::fit(const sf::RenderTarget& target, const sf::View& view)
{
    const sf::Vector2u size = target.getSize();
    if (size.x == 0 || size.y == 0)
        return false;
    const sf::Vector2f scale(static_cast<float>(size.x) / view.getSize().x, static_cast<float>(size.y) / view.getSize().y);
    // Cells lie on the view's pixel grid, so that they are copied texel for pixel.
    const sf::Vector2f topLeft = view.getCenter() - view.getSize() / 2.f;
    const auto phase = [](float edge, float pixelsPerUnit) {
        const float pixels = edge * pixelsPerUnit;
        return (pixels - std::floor(pixels)) / pixelsPerUnit;
    };
    const sf::Vector2f origin(phase(topLeft.x, scale.x), phase(topLeft.y, scale.y));

    if (size != mTargetSize || scale != mScale)
        createAtlas(size, scale);
    else if (origin != mOrigin)
        forgetAllCells();
    mOrigin = origin;
    return mAtlasUsable;
}

void WorldPainter::createAtlas(sf::Vector2u size, sf::Vector2f scale)
{
    // Enough slots for the view and its ring wherever the view stands, rounding included.
    mTargetSize = size;
    mScale = scale;
    mCellSize = sf::Vector2f(CellPixels / scale.x, CellPixels / scale.y);
    mSlotColumns = size.x / CellPixels + 4;
    mSlotRows = size.y / CellPixels + 4;
    forgetAllCells();
    mAtlasUsable = mAtlas.create(mSlotColumns * CellPixels, mSlotRows * CellPixels);
}

void WorldPainter::forgetAllCells()
{
    mCells.clear();
    mFreeSlots.clear();
    for (unsigned slot = mSlotColumns * mSlotRows; slot > 0; --slot)
        mFreeSlots.push_back(slot - 1);
}

WorldPainter::Range WorldPainter::cellsSeen(const sf::View& view) const
{
    const sf::Vector2f topLeft = view.getCenter() - view.getSize() / 2.f - mOrigin;
    const sf::Vector2f bottomRight = topLeft + view.getSize();
    return Range{static_cast<int>(std::floor(topLeft.x / mCellSize.x)), static_cast<int>(std::floor(topLeft.y / mCellSize.y)),
                 static_cast<int>(std::ceil(bottomRight.x / mCellSize.x)), static_cast<int>(std::ceil(bottomRight.y / mCellSize.y))};
}

sf::FloatRect WorldPainter::cellArea(CellKey key) const
{
    return sf::FloatRect(mOrigin.x + key.first * mCellSize.x, mOrigin.y + key.second * mCellSize.y, mCellSize.x, mCellSize.y);
}

sf::FloatRect WorldPainter::rangeArea(const Range& range) const
{
    const sf::FloatRect first = cellArea(CellKey(range.left, range.top));
    return sf::FloatRect(first.left, first.top, (range.right - range.left) * mCellSize.x, (range.bottom - range.top) * mCellSize.y);
}

sf::FloatRect WorldPainter::slotArea(unsigned slot) const
{
    return sf::FloatRect(static_cast<float>(slot % mSlotColumns * CellPixels), static_cast<float>(slot / mSlotColumns * CellPixels),
                         CellPixels, CellPixels);
}

void WorldPainter::forgetCellsOutside(const Range& kept)
{
    for (auto cell = mCells.begin(); cell != mCells.end();)
    {
        if (kept.contains(cell->first))
        {
            ++cell;
            continue;
        }
        mFreeSlots.push_back(cell->second.slot);
        cell = mCells.erase(cell);
    }
}

void WorldPainter::markCells(const std::vector<sf::FloatRect>& areas, CellState state)
{
    for (auto& [key, cell] : mCells)
    {
        if (cell.state == CellState::Urgent)
            continue;
        const sf::FloatRect area = cellArea(key);
        if (std::any_of(areas.begin(), areas.end(), [&](const sf::FloatRect& changed) { return changed.intersects(area); }))
            cell.state = state;
    }
}

void WorldPainter::paintCells(const Range& seen, const Range& kept, float seconds)
{
    // What the frame shows must be there and up to date.
    seen.forEach([&](CellKey key) {
        const Cell* cell = findCell(key);
        if (!cell || cell->state == CellState::Urgent)
            paintCell(key, seconds);
    });

    // Then a few more: late cells in view first, then the ring.
    unsigned spare = SparePaintsPerFrame;
    const auto paintSpare = [&](CellKey key) {
        const Cell* cell = findCell(key);
        if (spare > 0 && (!cell || cell->state != CellState::Current))
        {
            paintCell(key, seconds);
            --spare;
        }
    };
    seen.forEach(paintSpare);
    kept.forEach(paintSpare);
    if (mCellsPainted > 0)
        mAtlas.display();
}

const WorldPainter::Cell* WorldPainter::findCell(CellKey key) const
{
    const auto found = mCells.find(key);
    return found == mCells.end() ? nullptr : &found->second;
}

void WorldPainter::paintCell(CellKey key, float seconds)
{
    auto found = mCells.find(key);
    if (found == mCells.end())
    {
        found = mCells.emplace(key, Cell{mFreeSlots.back(), CellState::Current}).first;
        mFreeSlots.pop_back();
    }
    found->second.state = CellState::Current;

    const sf::FloatRect area = cellArea(key);
    const sf::FloatRect slot = slotArea(found->second.slot);
    const sf::Vector2f atlasSize(mAtlas.getSize());
    sf::View view(area);
    view.setViewport(sf::FloatRect(slot.left / atlasSize.x, slot.top / atlasSize.y, slot.width / atlasSize.x, slot.height / atlasSize.y));
    mAtlas.setView(view);
    const PixelClip clip(mAtlas, sf::IntRect(slot));
    clearArea(mAtlas, area);
    DrawPass still(DrawPass::Still);
    mSend(DrawEvent{&mAtlas, area, seconds, &still});
    ++mCellsPainted;
}

void WorldPainter::copyCells(sf::RenderTarget& target, const Range& seen)
{
    mQuads.clear();
    seen.forEach([&](CellKey key) {
        const sf::FloatRect area = cellArea(key);
        const sf::FloatRect slot = slotArea(mCells.at(key).slot);
        const auto corner = [&](float x, float y) {
            mQuads.emplace_back(sf::Vector2f(area.left + x * area.width, area.top + y * area.height),
                                sf::Vector2f(slot.left + x * slot.width, slot.top + y * slot.height));
        };
        corner(0.f, 0.f);
        corner(1.f, 0.f);
        corner(1.f, 1.f);
        corner(0.f, 1.f);
    });
    target.draw(mQuads.data(), mQuads.size(), sf::Quads, sf::RenderStates(sf::BlendNone, sf::Transform::Identity, &mAtlas.getTexture(), nullptr));
}

void WorldPainter::findPatches(const sf::RenderTarget& target, const sf::View& view, const std::vector<sf::FloatRect>& moving)
{
    const sf::Vector2f topLeft = view.getCenter() - view.getSize() / 2.f;
    const sf::IntRect window(0, 0, static_cast<int>(target.getSize().x), static_cast<int>(target.getSize().y));
    for (const sf::FloatRect& bounds : moving)
    {
        // Whole pixels, one more on each side for the pixels a picture's edge touches.
        const int left = static_cast<int>(std::floor((bounds.left - topLeft.x) * mScale.x)) - 1;
        const int top = static_cast<int>(std::floor((bounds.top - topLeft.y) * mScale.y)) - 1;
        const int right = static_cast<int>(std::ceil((bounds.left + bounds.width - topLeft.x) * mScale.x)) + 1;
        const int bottom = static_cast<int>(std::ceil((bounds.top + bounds.height - topLeft.y) * mScale.y)) + 1;
        sf::IntRect patch;
        if (window.intersects(sf::IntRect(left, top, right - left, bottom - top), patch))
            addPatch(mPatches, patch);
    }
}

void WorldPainter::paintPatches(sf::RenderTarget& target, const sf::View& view, float seconds)
{
    const sf::Vector2f topLeft = view.getCenter() - view.getSize() / 2.f;
    DrawPass patchPass(DrawPass::Patch);
    for (const sf::IntRect& patch : mPatches)
    {
        const sf::FloatRect area(topLeft.x + patch.left / mScale.x, topLeft.y + patch.top / mScale.y, patch.width / mScale.x,
                                 patch.height / mScale.y);
        const PixelClip clip(target, patch);
        clearArea(target, area);
        mSend(DrawEvent{&target, area, seconds, &patchPass});
    }
}

} // namespace QEL
