#ifndef QEL_PHYSICS_COLLISIONSHAPE_HPP
#define QEL_PHYSICS_COLLISIONSHAPE_HPP

#include "physics/Projection.hpp"
#include "plym/core/Vector2.hpp"

#include <vector>

namespace QEL
{

/// Convex outline of a solid object, in its own coordinates around the object's position.
class CollisionShape
{
public:
    virtual ~CollisionShape() = default;

    /// Extent of the shape placed at `position` along `axis` (a unit vector).
    virtual Projection project(const Plym::Math::Vector2& position, const Plym::Math::Vector2& axis) const;

    virtual unsigned getPointCount() const = 0;

    /// Vertex `index` in local coordinates.
    virtual Plym::Math::Vector2 getPoint(unsigned index) const = 0;

    virtual unsigned getAxisCount() const;

    /// Separating axis candidate `index` (unit length): the normal of the edge from vertex
    /// `index` to the next one.
    virtual Plym::Math::Vector2 getAxis(unsigned index) const;

    /// Radius of a circle around the local origin that contains the shape.
    virtual float getRadius() const = 0;

protected:
    /// Extent along `axis` of the vertices `pointAt(0)` .. `pointAt(count - 1)` placed at
    /// `position`; a shape without vertices projects like the point at its position.
    template <class PointAt>
    static Projection projectVertices(unsigned count, PointAt pointAt, const Plym::Math::Vector2& position,
                                      const Plym::Math::Vector2& axis);

    /// Computes the edge normals once, so that getAxis only looks them up; derived
    /// constructors whose outline never changes call it last.
    void rememberAxes();

private:
    std::vector<Plym::Math::Vector2> mAxes;
};

template <class PointAt>
Projection CollisionShape::projectVertices(unsigned count, PointAt pointAt, const Plym::Math::Vector2& position,
                                           const Plym::Math::Vector2& axis)
{
    Projection result;
    result.min = result.max = count == 0 ? position.dot(axis) : (pointAt(0) + position).dot(axis);
    for (unsigned i = 1; i < count; ++i)
    {
        const float value = (pointAt(i) + position).dot(axis);
        if (value < result.min)
            result.min = value;
        if (value > result.max)
            result.max = value;
    }
    return result;
}

} // namespace QEL

#endif
