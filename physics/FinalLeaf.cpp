#include "physics/FinalLeaf.hpp"

#include "physics/Physical.hpp"

namespace QEL
{

FinalLeaf::FinalLeaf(Leaf* parent, const sf::FloatRect& bounds, std::uint8_t depth) :
Leaf(parent, bounds, depth)
{
    mItems.reserve(10);
}

QuadTree::Leaf* FinalLeaf::insert(Physical* item)
{
    mItems.push_back(item);
    return this;
}

void FinalLeaf::remove(Physical* item)
{
    eraseItem(mItems, item);
}

QuadTree::Leaf* FinalLeaf::update(Physical* item)
{
    const sf::FloatRect square = getSquare(*item);
    sf::FloatRect intersection;
    square.intersects(mBounds, intersection);
    if (intersection == square)
        return this;
    remove(item);
    return mParent ? mParent->insert(item) : nullptr;
}

void FinalLeaf::tick()
{
}

void FinalLeaf::getAll(std::vector<Physical*>& out) const
{
    out.insert(out.end(), mItems.begin(), mItems.end());
}

void FinalLeaf::queryRect(std::vector<Physical*>& out, const sf::FloatRect& rect) const
{
    appendTouching(out, mItems, rect);
}

void FinalLeaf::queryCircle(std::vector<Physical*>& out, const Plym::Math::Vector2& center, float radius) const
{
    for (Physical* item : mItems)
    {
        const Plym::Math::Vector3 position = item->getPosition();
        const float dx = center.x - position.x;
        const float dy = center.y - position.y;
        if (radius * radius + item->getRadiusSquared() > dx * dx + dy * dy)
            out.push_back(item);
    }
}

QuadTree::Leaf* FinalLeaf::place(Physical* item, const sf::FloatRect&)
{
    return insert(item);
}

const std::vector<Physical*>& FinalLeaf::getItems() const
{
    return mItems;
}

} // namespace QEL
