#ifndef QEL_PHYSICS_COLLISION_HPP
#define QEL_PHYSICS_COLLISION_HPP

#include "physics/PolygonCollisionShape.hpp"
#include "physics/Projection.hpp"

namespace QEL
{

/// The rectangle of `size` centred on the origin with every corner cut off by `cut` along both
/// edges: 8 points from the left end of the top edge, clockwise on screen. Owned by the caller.
PolygonCollisionShape* makeOctagon(const Plym::Math::Vector2& size, float cut);

/// Separating axis test of `a` at `positionA` against `b` at `positionB`. On a collision,
/// moving `a` by axis * depth separates the two shapes.
bool testCollision(const CollisionShape& a, const CollisionShape& b,
                   const Plym::Math::Vector2& positionA, const Plym::Math::Vector2& positionB,
                   float& depth, Plym::Math::Vector2& axis);

/// True when the intervals overlap; touching intervals overlap.
bool overlaps(const Projection& p, const Projection& q);

/// Length of the common part of two overlapping intervals.
float overlap(const Projection& p, const Projection& q);

/// True when `q` lies within `p`.
bool contains(const Projection& p, const Projection& q);

} // namespace QEL

#endif
