#ifndef QEL_PHYSICS_SPLITTABLELEAF_HPP
#define QEL_PHYSICS_SPLITTABLELEAF_HPP

#include "physics/QuadTreeLeaf.hpp"

#include <array>

namespace QEL
{

/// Inner node of the quadtree. It holds the bodies that do not lie wholly in one quadrant;
/// once split, its four children (top-left, top-right, bottom-right, bottom-left) hold the rest.
class SplittableLeaf : public QuadTree::Leaf
{
public:
    SplittableLeaf(Leaf* parent, const sf::FloatRect& bounds, std::uint8_t depth);

    /// Hands the body to the parent when it does not fit here (null at the root).
    Leaf* insert(Physical* item) override;
    void remove(Physical* item) override;
    Leaf* update(Physical* item) override;

    /// Splits a node holding more than 9 bodies itself; every tenth tick, merges a subtree
    /// holding fewer than 10.
    void tick() override;

    void getAll(std::vector<Physical*>& out) const override;
    void queryRect(std::vector<Physical*>& out, const sf::FloatRect& rect) const override;
    void queryCircle(std::vector<Physical*>& out, const Plym::Math::Vector2& center,
                     float radius) const override;
    Leaf* place(Physical* item, const sf::FloatRect& square) override;

    bool isSplit() const;

    /// Child 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left; null until split.
    Leaf* getChild(unsigned index) const;

    const std::vector<Physical*>& getItems() const;

private:
    /// True when the square lies in the bounds, allowing 1.0 of difference in width and height.
    bool fits(const sf::FloatRect& square) const;

    /// The child whose quadrant holds the square wholly, or null when it touches a centre line.
    Leaf* chooseChild(const sf::FloatRect& square) const;

    void split();
    void merge(std::vector<Physical*>& items);

    std::uint8_t mTickCounter;
    std::vector<Physical*> mItems;
    bool mSplit;
    std::array<std::unique_ptr<Leaf>, 4> mChildren;
};

} // namespace QEL

#endif
