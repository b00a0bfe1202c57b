#include "physics/Collision.hpp"

#include "physics/CircleCollisionShape.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace QEL
{

using Plym::Math::Vector2;

namespace
{

// One step of the separating axis test: false when `n` separates the shapes; otherwise keeps
// the smallest overlap seen so far in depth and axis.
bool testAxis(const CollisionShape& a, const CollisionShape& b, const Vector2& positionA,
              const Vector2& positionB, Vector2 n, float& depth, Vector2& axis)
{
    const Projection p = a.project(positionA, n);
    const Projection q = b.project(positionB, n);
    if (!overlaps(p, q))
        return false;

    float o = overlap(p, q);
    if (contains(p, q) || contains(q, p))
        o += std::min(std::abs(p.min - q.min), std::abs(p.max - q.max));

    if (o < depth)
    {
        depth = o;
        if (q.min > p.min)
            n = -n;
        axis = n;
    }
    return true;
}

bool isCircle(const CollisionShape& shape)
{
    return dynamic_cast<const CircleCollisionShape*>(&shape) != nullptr;
}

} // namespace

PolygonCollisionShape* makeOctagon(const Vector2& size, float cut)
{
    const float hx = size.x / 2;
    const float hy = size.y / 2;
    return new PolygonCollisionShape({Vector2(cut - hx, -hy), Vector2(hx - cut, -hy),
                                      Vector2(hx, cut - hy), Vector2(hx, hy - cut),
                                      Vector2(hx - cut, hy), Vector2(cut - hx, hy),
                                      Vector2(-hx, hy - cut), Vector2(-hx, cut - hy)});
}

bool testCollision(const CollisionShape& a, const CollisionShape& b, const Vector2& positionA,
                   const Vector2& positionB, float& depth, Vector2& axis)
{
    depth = FLT_MAX;
    axis = Vector2(0.f, 0.f);

    if (isCircle(a) && isCircle(b))
        return testAxis(a, b, positionA, positionB, (positionB - positionA).getNormalized(), depth, axis);

    for (unsigned i = 0; i < a.getAxisCount(); ++i)
        if (!testAxis(a, b, positionA, positionB, a.getAxis(i), depth, axis))
            return false;
    for (unsigned i = 0; i < b.getAxisCount(); ++i)
        if (!testAxis(a, b, positionA, positionB, b.getAxis(i), depth, axis))
            return false;
    return true;
}

bool overlaps(const Projection& p, const Projection& q)
{
    if (!(q.min > p.min))
        return q.max >= p.min;
    return p.max >= q.min;
}

float overlap(const Projection& p, const Projection& q)
{
    if (!(q.min > p.min))
        return q.max - p.min;
    return p.max - q.min;
}

bool contains(const Projection& p, const Projection& q)
{
    return q.min >= p.min && p.max >= q.max;
}

} // namespace QEL
