#include "physics/CircleCollisionShape.hpp"

#include <algorithm>
#include <cmath>

namespace QEL
{

using Plym::Math::Vector2;

CircleCollisionShape::CircleCollisionShape(float radius) :
mRadius(radius)
{
    rememberAxes();
}

Projection CircleCollisionShape::project(const Vector2& position, const Vector2& axis) const
{
    const float c = (position - axis * mRadius).dot(axis);
    const float d = (position + axis * mRadius).dot(axis);
    Projection result;
    result.min = std::min(c, d);
    result.max = std::max(c, d);
    return result;
}

unsigned CircleCollisionShape::getPointCount() const
{
    return 24;
}

Vector2 CircleCollisionShape::getPoint(unsigned index) const
{
    // The game's outline uses these rounded single-precision constants for pi and pi/2.
    const float angle = static_cast<float>(2 * index) * 3.14159f / 24.f - 1.570795f;
    return Vector2(std::cos(angle) * mRadius, std::sin(angle) * mRadius);
}

float CircleCollisionShape::getRadius() const
{
    return mRadius;
}

} // namespace QEL
