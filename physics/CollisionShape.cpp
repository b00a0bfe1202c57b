#include "physics/CollisionShape.hpp"

namespace QEL
{

using Plym::Math::Vector2;

Projection CollisionShape::project(const Vector2& position, const Vector2& axis) const
{
    return projectVertices(getPointCount(), [this](unsigned i) { return getPoint(i); }, position, axis);
}

unsigned CollisionShape::getAxisCount() const
{
    return getPointCount();
}

Vector2 CollisionShape::getAxis(unsigned index) const
{
    if (index < mAxes.size())
        return mAxes[index];
    const unsigned next = index + 1 < getPointCount() ? index + 1 : 0;
    return (getPoint(index) - getPoint(next)).getPerpendicular().getNormalized();
}

void CollisionShape::rememberAxes()
{
    std::vector<Vector2> axes;
    for (unsigned i = 0; i < getAxisCount(); ++i)
        axes.push_back(getAxis(i));
    mAxes = std::move(axes);
}

} // namespace QEL
