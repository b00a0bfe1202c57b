#ifndef QEL_PHYSICS_CIRCLECOLLISIONSHAPE_HPP
#define QEL_PHYSICS_CIRCLECOLLISIONSHAPE_HPP

#include "physics/CollisionShape.hpp"

namespace QEL
{

/// Circle around the local origin; its outline for the edge axes is a 24-gon.
class CircleCollisionShape : public CollisionShape
{
public:
    explicit CircleCollisionShape(float radius);

    Projection project(const Plym::Math::Vector2& position, const Plym::Math::Vector2& axis) const override;
    unsigned getPointCount() const override;

    /// Point 0 is straight up; the points follow clockwise on screen.
    Plym::Math::Vector2 getPoint(unsigned index) const override;

    float getRadius() const override;

private:
    float mRadius;
};

} // namespace QEL

#endif
