#ifndef QEL_PHYSICS_QUADTREE_HPP
#define QEL_PHYSICS_QUADTREE_HPP

#include "plym/core/Vector2.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <cstdint>
#include <memory>
#include <vector>

namespace QEL
{

class Physical;

/// Spatial index of the world's bodies. Nodes split into four when they hold too many bodies
/// and merge back when their subtree becomes sparse.
class QuadTree
{
public:
    class Leaf;

    /// Covers `bounds` with a root of the given depth (at most depth + 1 levels).
    QuadTree(const sf::FloatRect& bounds, std::uint8_t depth);

    /// Deletes every node; the bodies still held are told they are no longer in a tree.
    ~QuadTree();

    QuadTree(const QuadTree&) = delete;
    QuadTree& operator=(const QuadTree&) = delete;

    /// The node that now holds the body, or null when it does not fit in the tree.
    Leaf* insert(Physical* item);
    void remove(Physical* item);

    /// Periodic split and merge.
    void tick();

    /// Bodies whose circle comes near the given circle.
    std::vector<Physical*> queryCircle(const Plym::Math::Vector2& center, float radius) const;

    /// Bodies whose circle touches the rectangle.
    std::vector<Physical*> queryRect(const sf::FloatRect& rect) const;

    std::vector<Physical*> getAll() const;

    Leaf& getRoot() const;

private:
    std::unique_ptr<Leaf> mRoot;
};

} // namespace QEL

#endif
