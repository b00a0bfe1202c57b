#ifndef QEL_PHYSICS_PHYSICAL_HPP
#define QEL_PHYSICS_PHYSICAL_HPP

#include "ecs/Component.hpp"
#include "physics/QuadTree.hpp"
#include "plym/core/Vector3.hpp"

#include <memory>

namespace QEL
{

class CollisionShape;

/// The body of an entity, "QEL.Physical": position, velocity and collision shape. It moves
/// every game update, keeps itself in the world's quadtree and pushes itself out of the bodies
/// it overlaps.
class Physical : public Tessaly::Component
{
public:
    Physical();
    ~Physical() override;

    /// Requests its messages and asks the world for its quadtree ("AddToQuadTree").
    void addedToEntity() override;

    /// Takes ownership of the shape and deletes the previous one.
    void setShape(CollisionShape* shape);
    CollisionShape* getShape() const;

    /// Moves the body and brings its place in the tree up to date.
    void setPosition(const Plym::Math::Vector3& position);
    Plym::Math::Vector3 getPosition() const { return mPosition; }

    void setSpeed(const Plym::Math::Vector3& speed);
    Plym::Math::Vector3 getSpeed() const;

    /// A static body never integrates its speed nor runs the collision step itself.
    void setStatic(bool isStatic);
    bool isStatic() const;

    float getRadiusSquared() const { return mRadiusSquared; }

    /// The square root of the squared radius, kept for the tree's many look-ups.
    float getRadius() const { return mRadius; }

    /// One game update of `dt` seconds: integrate, re-place in the tree, resolve collisions.
    void update(float dt);

    /// The world's tree (not owned); a different tree first takes the body out of the old one.
    void setTree(QuadTree* tree);
    QuadTree* getTree() const;

    /// The node that holds this body; the tree writes it when it moves bodies between nodes.
    void setCurrentNode(QuadTree::Leaf* node);
    QuadTree::Leaf* getCurrentNode() const;

private:
    void onSetPosition(const Tessaly::Message& message);
    void onSetSpeed(const Tessaly::Message& message);
    void onSetTree(const Tessaly::Message& message);
    void onUpdate(const Tessaly::Message& message);

    /// Pushes this body and the moving bodies it overlaps apart.
    void resolveCollisions();

    Plym::Math::Vector3 mPosition;
    Plym::Math::Vector3 mSpeed;
    bool mIsStatic;
    float mRadiusSquared;
    float mRadius;
    QuadTree* mTree;
    QuadTree::Leaf* mCurrentNode;
    std::unique_ptr<CollisionShape> mShape;
};

} // namespace QEL

#endif
