#ifndef QEL_PHYSICS_FINALLEAF_HPP
#define QEL_PHYSICS_FINALLEAF_HPP

#include "physics/QuadTreeLeaf.hpp"

namespace QEL
{

/// Bottom node of the quadtree: holds bodies and never splits.
class FinalLeaf : public QuadTree::Leaf
{
public:
    FinalLeaf(Leaf* parent, const sf::FloatRect& bounds, std::uint8_t depth);

    /// Appends the body: the parent has already found it inside this node.
    Leaf* insert(Physical* item) override;
    void remove(Physical* item) override;
    Leaf* update(Physical* item) override;
    void tick() override;
    void getAll(std::vector<Physical*>& out) const override;
    void queryRect(std::vector<Physical*>& out, const sf::FloatRect& rect) const override;

    /// Finds the bodies with radius² + item radius² > distance² (a tighter test than an inner
    /// node's).
    void queryCircle(std::vector<Physical*>& out, const Plym::Math::Vector2& center,
                     float radius) const override;

    Leaf* place(Physical* item, const sf::FloatRect& square) override;

    const std::vector<Physical*>& getItems() const;

private:
    std::vector<Physical*> mItems;
};

} // namespace QEL

#endif
