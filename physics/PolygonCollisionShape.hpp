#ifndef QEL_PHYSICS_POLYGONCOLLISIONSHAPE_HPP
#define QEL_PHYSICS_POLYGONCOLLISIONSHAPE_HPP

#include "physics/CollisionShape.hpp"

#include <vector>

namespace QEL
{

/// Convex polygon given by its vertices in order around the outline (convexity is not checked).
class PolygonCollisionShape : public CollisionShape
{
public:
    explicit PolygonCollisionShape(const std::vector<Plym::Math::Vector2>& points);

    Projection project(const Plym::Math::Vector2& position, const Plym::Math::Vector2& axis) const override;

    unsigned getPointCount() const override;

    /// Raises std::out_of_range for an index not below the point count.
    Plym::Math::Vector2 getPoint(unsigned index) const override;

    /// Distance of the farthest vertex from the origin (0 without vertices).
    float getRadius() const override;

private:
    std::vector<Plym::Math::Vector2> mPoints;
    float mRadius;
};

} // namespace QEL

#endif
