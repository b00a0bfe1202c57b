#include "physics/SplittableLeaf.hpp"

#include "physics/FinalLeaf.hpp"
#include "physics/Physical.hpp"

#include <cmath>

namespace QEL
{

namespace
{

bool isFinite(const sf::FloatRect& rect)
{
    return std::isfinite(rect.left) && std::isfinite(rect.top) && std::isfinite(rect.width)
        && std::isfinite(rect.height);
}

} // namespace

SplittableLeaf::SplittableLeaf(Leaf* parent, const sf::FloatRect& bounds, std::uint8_t depth) :
Leaf(parent, bounds, depth),
mTickCounter(0),
mSplit(false)
{
    mItems.reserve(10);
}

QuadTree::Leaf* SplittableLeaf::insert(Physical* item)
{
    const sf::FloatRect square = getSquare(*item);
    if (!fits(square))
        return mParent ? mParent->insert(item) : nullptr;
    return place(item, square);
}

void SplittableLeaf::remove(Physical* item)
{
    if (eraseItem(mItems, item) || !mSplit)
        return;
    for (unsigned index : {0u, 1u, 3u, 2u})
        mChildren[index]->remove(item);
}

QuadTree::Leaf* SplittableLeaf::update(Physical* item)
{
    const sf::FloatRect square = getSquare(*item);
    // Even the root lets go of a body whose position is no longer a number.
    if (!isFinite(square))
    {
        remove(item);
        return nullptr;
    }

    sf::FloatRect intersection;
    square.intersects(mBounds, intersection);
    if (intersection != square && mParent)
    {
        remove(item);
        return mParent->insert(item);
    }
    if (Leaf* child = chooseChild(square))
    {
        remove(item);
        return child->insert(item);
    }
    return this;
}

void SplittableLeaf::tick()
{
    if (mSplit)
        for (const auto& child : mChildren)
            child->tick();

    if (mItems.size() > 9)
    {
        split();
        return;
    }

    // The counter is 8 bits: after 250 the next multiple of 10 is 256, i.e. 0.
    ++mTickCounter;
    if (mTickCounter % 10 != 0 || !mSplit)
        return;
    std::vector<Physical*> all;
    getAll(all);
    if (all.size() < 10)
        merge(all);
}

void SplittableLeaf::getAll(std::vector<Physical*>& out) const
{
    out.insert(out.end(), mItems.begin(), mItems.end());
    if (!mSplit)
        return;
    for (unsigned index : {0u, 1u, 3u, 2u})
        mChildren[index]->getAll(out);
}

void SplittableLeaf::queryRect(std::vector<Physical*>& out, const sf::FloatRect& rect) const
{
    appendTouching(out, mItems, rect);
    if (!mSplit)
        return;
    for (const auto& child : mChildren)
        if (child->getBounds().intersects(rect))
            child->queryRect(out, rect);
}

void SplittableLeaf::queryCircle(std::vector<Physical*>& out, const Plym::Math::Vector2& center,
                                 float radius) const
{
    for (Physical* item : mItems)
    {
        const Plym::Math::Vector3 position = item->getPosition();
        const float dx = center.x - position.x;
        const float dy = center.y - position.y;
        const float reach = radius + item->getRadius();
        // The distance is never below |dx| or |dy|: those items fail the test without a root.
        if (std::abs(dx) >= reach || std::abs(dy) >= reach)
            continue;
        if (reach > std::sqrt(dx * dx + dy * dy))
            out.push_back(item);
    }
    if (!mSplit)
        return;
    const sf::FloatRect square(center.x - radius, center.y - radius, 2 * radius, 2 * radius);
    for (const auto& child : mChildren)
        if (square.intersects(child->getBounds()))
            child->queryCircle(out, center, radius);
}

QuadTree::Leaf* SplittableLeaf::place(Physical* item, const sf::FloatRect& square)
{
    if (Leaf* child = chooseChild(square))
        return child->place(item, square);
    mItems.push_back(item);
    return this;
}

bool SplittableLeaf::isSplit() const
{
    return mSplit;
}

QuadTree::Leaf* SplittableLeaf::getChild(unsigned index) const
{
    return mChildren.at(index).get();
}

const std::vector<Physical*>& SplittableLeaf::getItems() const
{
    return mItems;
}

bool SplittableLeaf::fits(const sf::FloatRect& square) const
{
    // Comparisons with NaN would let SFML's intersection accept such a body anywhere.
    if (!isFinite(square))
        return false;
    sf::FloatRect intersection;
    if (!square.intersects(mBounds, intersection))
        return false;
    return std::abs(intersection.width - square.width) <= 1.f
        && std::abs(intersection.height - square.height) <= 1.f;
}

QuadTree::Leaf* SplittableLeaf::chooseChild(const sf::FloatRect& square) const
{
    if (!mSplit)
        return nullptr;
    const float cx = mBounds.left + mBounds.width * 0.5f;
    const float cy = mBounds.top + mBounds.height * 0.5f;
    const bool above = cy > square.top && cy > square.top + square.height;
    const bool below = square.top > cy;
    const bool left = cx > square.left && cx > square.left + square.width;
    const bool right = square.left > cx;

    if (above && left)
        return mChildren[0].get();
    if (above && right)
        return mChildren[1].get();
    if (below && right)
        return mChildren[2].get();
    if (below && left)
        return mChildren[3].get();
    return nullptr;
}

void SplittableLeaf::split()
{
    if (mSplit)
        return;
    mSplit = true;

    const float x = mBounds.left;
    const float y = mBounds.top;
    const float w = mBounds.width;
    const float h = mBounds.height;
    const sf::FloatRect quadrants[4] = {sf::FloatRect(x, y, w / 2, h / 2), sf::FloatRect(x + w / 2, y, w / 2, h / 2),
                                        sf::FloatRect(x + w / 2, y + h / 2, w / 2, h / 2),
                                        sf::FloatRect(x, y + h / 2, w / 2, h / 2)};
    const std::uint8_t depth = static_cast<std::uint8_t>(mDepth - 1);
    for (unsigned index = 0; index < 4; ++index)
    {
        if (mDepth <= 1)
            mChildren[index] = std::make_unique<FinalLeaf>(this, quadrants[index], depth);
        else
            mChildren[index] = std::make_unique<SplittableLeaf>(this, quadrants[index], depth);
    }

    std::vector<Physical*> items;
    items.swap(mItems);
    mItems.reserve(10);
    for (Physical* item : items)
        item->setCurrentNode(insert(item));
}

void SplittableLeaf::merge(std::vector<Physical*>& items)
{
    mSplit = false;
    for (auto& child : mChildren)
        child.reset();
    mItems = std::move(items);
    for (Physical* item : mItems)
        item->setCurrentNode(this);
}

} // namespace QEL
