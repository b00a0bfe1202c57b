#ifndef QEL_PHYSICS_QUADTREELEAF_HPP
#define QEL_PHYSICS_QUADTREELEAF_HPP

#include "physics/QuadTree.hpp"

namespace QEL
{

/// A node of the quadtree. A body is held by exactly one node, which the body records as its
/// current node.
class QuadTree::Leaf
{
public:
    Leaf(Leaf* parent, const sf::FloatRect& bounds, std::uint8_t depth);
    virtual ~Leaf() = default;

    Leaf(const Leaf&) = delete;
    Leaf& operator=(const Leaf&) = delete;

    /// Places a body in this subtree or above; the node that now holds it, or null.
    virtual Leaf* insert(Physical* item) = 0;

    /// Takes the body out of this subtree.
    virtual void remove(Physical* item) = 0;

    /// Re-places a body held by this node after it moved; the node that now holds it, or null.
    virtual Leaf* update(Physical* item) = 0;

    virtual void tick() = 0;

    /// Appends every body of the subtree.
    virtual void getAll(std::vector<Physical*>& out) const = 0;

    /// Appends the bodies of the subtree whose circle touches `rect`.
    virtual void queryRect(std::vector<Physical*>& out, const sf::FloatRect& rect) const = 0;

    /// Appends the bodies of the subtree whose circle comes near the given circle.
    virtual void queryCircle(std::vector<Physical*>& out, const Plym::Math::Vector2& center,
                             float radius) const = 0;

    /// Stores a body whose square the parent found inside this node, going down but never up
    /// (so a rounding difference between the bounds of parent and child cannot bounce a body
    /// back and forth between them).
    virtual Leaf* place(Physical* item, const sf::FloatRect& square) = 0;

    Leaf* getParent() const;
    const sf::FloatRect& getBounds() const;
    std::uint8_t getDepth() const;

protected:
    /// The body's bounding square: its position widened by its radius on every side.
    static sf::FloatRect getSquare(const Physical& item);

    /// Erases the first occurrence of `item`; false when it is absent.
    static bool eraseItem(std::vector<Physical*>& items, Physical* item);

    /// Appends the items whose circle touches `rect`.
    static void appendTouching(std::vector<Physical*>& out, const std::vector<Physical*>& items,
                               const sf::FloatRect& rect);

    Leaf* mParent;
    sf::FloatRect mBounds;
    std::uint8_t mDepth;
};

} // namespace QEL

#endif
