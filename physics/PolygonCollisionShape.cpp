#include "physics/PolygonCollisionShape.hpp"

#include <algorithm>
#include <stdexcept>

namespace QEL
{

using Plym::Math::Vector2;

PolygonCollisionShape::PolygonCollisionShape(const std::vector<Vector2>& points) :
mPoints(points),
mRadius(0.f)
{
    for (const Vector2& point : mPoints)
        mRadius = std::max(mRadius, point.getLength());
    rememberAxes();
}

Projection PolygonCollisionShape::project(const Vector2& position, const Vector2& axis) const
{
    // The base projection without a virtual call per vertex.
    return projectVertices(getPointCount(), [this](unsigned i) { return mPoints[i]; }, position, axis);
}

unsigned PolygonCollisionShape::getPointCount() const
{
    return static_cast<unsigned>(mPoints.size());
}

Vector2 PolygonCollisionShape::getPoint(unsigned index) const
{
    if (index >= mPoints.size())
        throw std::out_of_range("invalid vector<T> subscript");
    return mPoints[index];
}

float PolygonCollisionShape::getRadius() const
{
    return mRadius;
}

} // namespace QEL
