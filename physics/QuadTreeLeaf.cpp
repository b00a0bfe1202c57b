#include "physics/QuadTreeLeaf.hpp"

#include "physics/Physical.hpp"

#include <algorithm>
#include <cmath>

namespace QEL
{

QuadTree::Leaf::Leaf(Leaf* parent, const sf::FloatRect& bounds, std::uint8_t depth) :
mParent(parent),
mBounds(bounds),
mDepth(depth)
{
}

QuadTree::Leaf* QuadTree::Leaf::getParent() const
{
    return mParent;
}

const sf::FloatRect& QuadTree::Leaf::getBounds() const
{
    return mBounds;
}

std::uint8_t QuadTree::Leaf::getDepth() const
{
    return mDepth;
}

sf::FloatRect QuadTree::Leaf::getSquare(const Physical& item)
{
    const Plym::Math::Vector3 position = item.getPosition();
    const float r = item.getRadius();
    return sf::FloatRect(position.x - r, position.y - r, 2 * r, 2 * r);
}

bool QuadTree::Leaf::eraseItem(std::vector<Physical*>& items, Physical* item)
{
    const auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end())
        return false;
    items.erase(found);
    return true;
}

void QuadTree::Leaf::appendTouching(std::vector<Physical*>& out, const std::vector<Physical*>& items,
                                    const sf::FloatRect& rect)
{
    const float left = std::min(rect.left, rect.left + rect.width);
    const float right = std::max(rect.left, rect.left + rect.width);
    const float top = std::min(rect.top, rect.top + rect.height);
    const float bottom = std::max(rect.top, rect.top + rect.height);
    for (Physical* item : items)
    {
        const Plym::Math::Vector3 position = item->getPosition();
        const float dx = std::clamp(position.x, left, right) - position.x;
        const float dy = std::clamp(position.y, top, bottom) - position.y;
        if (dx * dx + dy * dy < item->getRadiusSquared())
            out.push_back(item);
    }
}

} // namespace QEL
