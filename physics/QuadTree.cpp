#include "physics/QuadTree.hpp"

#include "physics/Physical.hpp"
#include "physics/SplittableLeaf.hpp"

namespace QEL
{

QuadTree::QuadTree(const sf::FloatRect& bounds, std::uint8_t depth) :
mRoot(std::make_unique<SplittableLeaf>(nullptr, bounds, depth))
{
}

QuadTree::~QuadTree()
{
    // Bodies outliving the tree must not reach back into its nodes.
    for (Physical* item : getAll())
    {
        item->setCurrentNode(nullptr);
        if (item->getTree() == this)
            item->setTree(nullptr);
    }
}

QuadTree::Leaf* QuadTree::insert(Physical* item)
{
    return mRoot->insert(item);
}

void QuadTree::remove(Physical* item)
{
    mRoot->remove(item);
}

void QuadTree::tick()
{
    mRoot->tick();
}

std::vector<Physical*> QuadTree::queryCircle(const Plym::Math::Vector2& center, float radius) const
{
    std::vector<Physical*> out;
    mRoot->queryCircle(out, center, radius);
    return out;
}

std::vector<Physical*> QuadTree::queryRect(const sf::FloatRect& rect) const
{
    std::vector<Physical*> out;
    mRoot->queryRect(out, rect);
    return out;
}

std::vector<Physical*> QuadTree::getAll() const
{
    std::vector<Physical*> out;
    mRoot->getAll(out);
    return out;
}

QuadTree::Leaf& QuadTree::getRoot() const
{
    return *mRoot;
}

} // namespace QEL
