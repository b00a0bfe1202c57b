#include "app/WorldPainter.hpp"

#include "app/Painting.hpp"
#include "app/PixelClip.hpp"
#include "app/Rects.hpp"
#include "app/TexelGrid.hpp"
#include "app/ViewRules.hpp"
#include "ecs/EntitySystem.hpp"

#include <SFML/Graphics/Texture.hpp>

#include <algorithm>
#include <cmath>

namespace QEL
{
namespace
{

/// Adds a rectangle, merged with every one it overlaps: no pixel is drawn twice.
void addMerged(std::vector<sf::IntRect>& rects, sf::IntRect rect)
{
    if (rect.width <= 0 || rect.height <= 0)
        return;
    for (auto other = rects.begin(); other != rects.end();)
    {
        if (other->intersects(rect))
        {
            rect = Rects::unite(rect, *other);
            rects.erase(other);
            other = rects.begin();
        }
        else
        {
            ++other;
        }
    }
    rects.push_back(rect);
}

bool contains(const sf::IntRect& outer, const sf::IntRect& inner)
{
    return outer.left <= inner.left && outer.top <= inner.top && inner.left + inner.width <= outer.left + outer.width
        && inner.top + inner.height <= outer.top + outer.height;
}

/// Blanks the target within the rectangle, as a cleared window starts.
void clearPixels(sf::RenderTarget& target, const sf::IntRect& pixels)
{
    const PixelClip clip(target, pixels);
    target.clear(sf::Color::Black);
}

} // namespace

WorldPainter* WorldPainter::sPainting = nullptr;

bool WorldPainter::Range::contains(CellKey key) const
{
    return left <= key.first && key.first < right && top <= key.second && key.second < bottom;
}

WorldPainter::Range WorldPainter::Range::grown(int cells) const
{
    return Range{left - cells, top - cells, right + cells, bottom + cells};
}

WorldPainter::WorldPainter(const Tessaly::EntitySystem& system, Tessaly::RequestId drawId, Sender send) :
mSystem(system),
mDrawId(drawId),
mSend(std::move(send)),
mAtlasUsable(false),
mTarget(nullptr),
mInFrame(false),
mSlotColumns(0),
mSlotRows(0),
mBandsPainted(0)
{
}

WorldPainter::~WorldPainter()
{
    if (sPainting == this)
        sPainting = nullptr;
}

void WorldPainter::paint(sf::RenderTarget& target, const sf::View& view, float seconds)
{
    mBandsPainted = 0;
    mPatches.clear();
    mEscapes.clear();
    mOrder.clear();
    target.setView(view);
    const sf::FloatRect visible = ViewRules::visibleRect(view);
    const DrawEvent frame{&target, visible, seconds};
    if (!fit(target, view))
    {
        mSend(frame);
        return;
    }

    const Range seen = cellsSeen(view);
    forgetCellsOutside(seen.grown(1));
    survey(visible);
    findPatches(seen, visible);
    copyCells(target, seen);
    clearPatches(target);

    mTarget = &target;
    sPainting = this;
    mInFrame = true;
    mSend(frame);
    mInFrame = false;
    repaintEscapes(target);
    // A camera that jumped may jump on: cells are prepared once it stays where it landed.
    if (visible.intersects(mLastVisible))
        paintCells(seen, seen.grown(1));
    mLastVisible = visible;
    sPainting = nullptr;
    // Drawing goes on into the target: the atlas must not stay bound in its place.
    target.setActive(true);
    target.setView(view);
}

void WorldPainter::draw(const Painting& painting, const DrawEvent& event)
{
    if (sPainting && sPainting->mInFrame && sPainting->mTarget == event.first)
        sPainting->paintInFrame(painting);
    else
        painting.paint(*event.first, event.second);
}

void WorldPainter::forget(const Painting& painting)
{
    if (sPainting)
        sPainting->mOrder.erase(std::remove(sPainting->mOrder.begin(), sPainting->mOrder.end(), &painting), sPainting->mOrder.end());
}

bool WorldPainter::fit(const sf::RenderTarget& target, const sf::View& view)
{
    const sf::Vector2u size = target.getSize();
    if (size.x == 0 || size.y == 0)
        return false;
    const sf::Vector2f scale(static_cast<float>(size.x) / view.getSize().x, static_cast<float>(size.y) / view.getSize().y);
    // Cells lie on the view's pixel grid, so that they are copied texel for pixel.
    mTopLeft = view.getCenter() - view.getSize() / 2.f;
    const auto phase = [](float edge, float pixelsPerUnit) {
        const float pixels = edge * pixelsPerUnit;
        return (pixels - std::floor(pixels)) / pixelsPerUnit;
    };
    const sf::Vector2f origin(phase(mTopLeft.x, scale.x), phase(mTopLeft.y, scale.y));

    // The same place within a pixel comes out of float arithmetic a rounding apart wherever the
    // camera stands: the cells stay where they are unless the grid really moved.
    const auto sameGrid = [&] {
        const sf::Vector2f apart(std::abs(origin.x - mOrigin.x) * scale.x, std::abs(origin.y - mOrigin.y) * scale.y);
        return apart.x <= GridTolerance && apart.y <= GridTolerance;
    };
    if (size != mTargetSize || scale != mScale)
        createAtlas(size, scale);
    else if (!sameGrid())
        forgetAllCells();
    else
        return mAtlasUsable;
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
    // Where cells could show other texels than the window would, the frames are drawn plainly.
    mAtlasUsable = TexelGrid::at(scale.x).isClear() && TexelGrid::at(scale.y).isClear()
                && mAtlas.create(mSlotColumns * CellPixels, mSlotRows * CellPixels);
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
    const sf::Vector2f topLeft = mTopLeft - mOrigin;
    const sf::Vector2f bottomRight = topLeft + view.getSize();
    return Range{static_cast<int>(std::floor(topLeft.x / mCellSize.x)), static_cast<int>(std::floor(topLeft.y / mCellSize.y)),
                 static_cast<int>(std::ceil(bottomRight.x / mCellSize.x)), static_cast<int>(std::ceil(bottomRight.y / mCellSize.y))};
}

sf::FloatRect WorldPainter::cellArea(CellKey key) const
{
    return sf::FloatRect(mOrigin.x + key.first * mCellSize.x, mOrigin.y + key.second * mCellSize.y, mCellSize.x, mCellSize.y);
}

sf::FloatRect WorldPainter::slotArea(unsigned slot) const
{
    return sf::FloatRect(static_cast<float>(slot % mSlotColumns * CellPixels), static_cast<float>(slot / mSlotColumns * CellPixels),
                         CellPixels, CellPixels);
}

sf::IntRect WorldPainter::toPixels(const sf::FloatRect& area) const
{
    // Whole pixels, one more on each side for the pixels an edge touches; within the target.
    const int left = static_cast<int>(std::floor((area.left - mTopLeft.x) * mScale.x)) - 1;
    const int top = static_cast<int>(std::floor((area.top - mTopLeft.y) * mScale.y)) - 1;
    const int right = static_cast<int>(std::ceil((area.left + area.width - mTopLeft.x) * mScale.x)) + 1;
    const int bottom = static_cast<int>(std::ceil((area.top + area.height - mTopLeft.y) * mScale.y)) + 1;
    const sf::IntRect target(0, 0, static_cast<int>(mTargetSize.x), static_cast<int>(mTargetSize.y));
    sf::IntRect pixels;
    target.intersects(sf::IntRect(left, top, right - left, bottom - top), pixels);
    return pixels;
}

sf::FloatRect WorldPainter::toWorld(const sf::IntRect& pixels) const
{
    return sf::FloatRect(mTopLeft.x + pixels.left / mScale.x, mTopLeft.y + pixels.top / mScale.y, pixels.width / mScale.x,
                         pixels.height / mScale.y);
}

bool WorldPainter::isCurrent(CellKey key) const
{
    const auto found = mCells.find(key);
    return found != mCells.end() && found->second.bands == BandsPerCell;
}

unsigned WorldPainter::getRingBandsPerFrame() const
{
    const float screens = static_cast<float>(mTargetSize.x) * static_cast<float>(mTargetSize.y) / (800.f * 600.f);
    return std::max(1u, static_cast<unsigned>(std::lround(RingBandsPerScreen * screens)));
}

bool WorldPainter::everyDrawingPaints() const
{
    const auto requests = mSystem.getGlobalRequests(mDrawId);
    if (!requests)
        return true;
    return std::all_of(requests->begin(), requests->end(),
                       [](const Tessaly::Request& request) { return dynamic_cast<const Painting*>(request.component) != nullptr; });
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

void WorldPainter::survey(const sf::FloatRect& visible)
{
    for (Painting* painting : Painting::sAll)
    {
        Painting::Seen& seen = painting->mSeen;
        const sf::FloatRect bounds = painting->getPaintBounds();
        const bool moving = painting->isMoving();
        const std::uint64_t look = moving ? 0 : painting->getLook();
        const bool changed = !seen.known || moving != seen.moving || (!moving && (look != seen.look || bounds != seen.bounds));
        if (changed)
        {
            // Where it was, the cells show its old picture; where it is, they lack the new one.
            if (seen.known && !seen.moving)
                markChanged(seen.bounds, painting);
            if (!moving)
                markChanged(bounds, painting);
            painting->forgetChanges();
            seen = Painting::Seen{bounds, look, moving, true};
        }
        if (moving && bounds.intersects(visible))
            addMerged(mPatches, toPixels(bounds));
    }
    for (const sf::FloatRect& vanished : Painting::sVanished)
        markChanged(vanished, nullptr);
    Painting::sVanished.clear();
}

void WorldPainter::markChanged(const sf::FloatRect& area, const Painting* painting)
{
    for (auto& [key, cell] : mCells)
    {
        const sf::FloatRect cellRect = cellArea(key);
        if (cell.bands > 0 && area.intersects(cellRect) && (!painting || painting->changesWithin(cellRect)))
            cell.bands = 0;
    }
}

void WorldPainter::findPatches(const Range& seen, const sf::FloatRect& visible)
{
    if (!everyDrawingPaints())
    {
        mPatches.assign(1, toPixels(visible));
        return;
    }
    seen.forEach([&](CellKey key) {
        if (!isCurrent(key))
            addMerged(mPatches, toPixels(cellArea(key)));
    });
}

void WorldPainter::copyCells(sf::RenderTarget& target, const Range& seen)
{
    mQuads.clear();
    seen.forEach([&](CellKey key) {
        if (!isCurrent(key))
            return;
        const sf::FloatRect area = cellArea(key);
        const sf::FloatRect slot = slotArea(mCells.find(key)->second.slot);
        const auto corner = [&](float x, float y) {
            mQuads.emplace_back(sf::Vector2f(area.left + x * area.width, area.top + y * area.height),
                                sf::Vector2f(slot.left + x * slot.width, slot.top + y * slot.height));
        };
        corner(0.f, 0.f);
        corner(1.f, 0.f);
        corner(1.f, 1.f);
        corner(0.f, 1.f);
    });
    if (!mQuads.empty())
        target.draw(mQuads.data(), mQuads.size(), sf::Quads, sf::RenderStates(sf::BlendNone, sf::Transform::Identity, &mAtlas.getTexture(), nullptr));
}

void WorldPainter::clearPatches(sf::RenderTarget& target)
{
    for (const sf::IntRect& patch : mPatches)
        clearPixels(target, patch);
}

void WorldPainter::paintInFrame(const Painting& painting)
{
    mOrder.push_back(&painting);
    const sf::FloatRect bounds = painting.getPaintBounds();
    if (changedInFrame(painting, bounds))
        addMerged(mEscapes, toPixels(Rects::unite(bounds, painting.mSeen.bounds)));
    for (const sf::IntRect& patch : mPatches)
    {
        const sf::FloatRect area = toWorld(patch);
        if (!bounds.intersects(area))
            continue;
        const PixelClip clip(*mTarget, patch);
        painting.paint(*mTarget, area);
    }
}

bool WorldPainter::changedInFrame(const Painting& painting, const sf::FloatRect& bounds) const
{
    const Painting::Seen& seen = painting.mSeen;
    if (!seen.known)
        return true;
    if (bounds == seen.bounds)
        return painting.isMoving() != seen.moving || (!seen.moving && painting.getLook() != seen.look);
    if (!seen.moving || !painting.isMoving())
        return true;
    // A moving drawing that moved on within its patch changed nothing the frame shows.
    const sf::IntRect pixels = toPixels(bounds);
    return std::none_of(mPatches.begin(), mPatches.end(), [&](const sf::IntRect& patch) { return contains(patch, pixels); });
}

void WorldPainter::repaintEscapes(sf::RenderTarget& target)
{
    // Drawings that changed within the frame are drawn again, everything around them in order.
    for (const sf::IntRect& escape : mEscapes)
    {
        clearPixels(target, escape);
        const PixelClip clip(target, escape);
        paintInOrder(target, toWorld(escape), false);
    }
}

void WorldPainter::paintCells(const Range& seen, const Range& kept)
{
    unsigned inView = CellsPerFrame;
    seen.forEach([&](CellKey key) {
        if (inView > 0 && !isCurrent(key))
        {
            paintBands(key, BandsPerCell);
            --inView;
        }
    });
    unsigned inRing = getRingBandsPerFrame();
    kept.forEach([&](CellKey key) {
        if (inRing > 0 && !seen.contains(key) && !isCurrent(key))
            inRing -= paintBands(key, inRing);
    });
    if (mBandsPainted > 0)
        mAtlas.display();
}

unsigned WorldPainter::paintBands(CellKey key, unsigned most)
{
    auto found = mCells.find(key);
    if (found == mCells.end())
    {
        found = mCells.emplace(key, Cell{mFreeSlots.back(), 0}).first;
        mFreeSlots.pop_back();
    }
    Cell& cell = found->second;
    const unsigned first = cell.bands;
    cell.bands = std::min(BandsPerCell, first + most);

    // The whole cell's projection for every band, so that bands painted apart join seamlessly.
    const sf::FloatRect area = cellArea(key);
    const sf::FloatRect slot = slotArea(cell.slot);
    const sf::Vector2f atlasSize(mAtlas.getSize());
    sf::View view(area);
    view.setViewport(sf::FloatRect(slot.left / atlasSize.x, slot.top / atlasSize.y, slot.width / atlasSize.x, slot.height / atlasSize.y));
    mAtlas.setView(view);
    for (unsigned band = first; band < cell.bands; ++band)
    {
        const int top = static_cast<int>(band) * BandPixels;
        const sf::IntRect pixels(static_cast<int>(slot.left), static_cast<int>(slot.top) + top, CellPixels, BandPixels);
        const sf::FloatRect bandArea(area.left, area.top + static_cast<float>(top) / mScale.y, area.width, BandPixels / mScale.y);
        clearPixels(mAtlas, pixels);
        const PixelClip clip(mAtlas, pixels);
        paintInOrder(mAtlas, bandArea, true);
    }
    mBandsPainted += cell.bands - first;
    return cell.bands - first;
}

void WorldPainter::paintInOrder(sf::RenderTarget& target, const sf::FloatRect& area, bool stillOnly) const
{
    for (const Painting* painting : mOrder)
    {
        if ((!stillOnly || !painting->isMoving()) && painting->getPaintBounds().intersects(area))
            painting->paint(target, area);
    }
}

} // namespace QEL
