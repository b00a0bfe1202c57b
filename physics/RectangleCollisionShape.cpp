#include "physics/RectangleCollisionShape.hpp"

#include <stdexcept>

namespace QEL
{

using Plym::Math::Vector2;

RectangleCollisionShape::RectangleCollisionShape(const Vector2& size) :
mSize(size),
mCorners{Vector2(-size.x / 2, -size.y / 2), Vector2(size.x / 2, -size.y / 2),
         Vector2(size.x / 2, size.y / 2), Vector2(-size.x / 2, size.y / 2)},
mRadius(size.getLength() * 0.5f)
{
}

RectangleCollisionShape::RectangleCollisionShape(float width, float height) :
RectangleCollisionShape(Vector2(width, height))
{
}

unsigned RectangleCollisionShape::getPointCount() const
{
    return 4;
}

Vector2 RectangleCollisionShape::getPoint(unsigned index) const
{
    if (index >= mCorners.size())
        throw std::out_of_range("invalid vector<T> subscript");
    return mCorners[index];
}

unsigned RectangleCollisionShape::getAxisCount() const
{
    return 2;
}

Vector2 RectangleCollisionShape::getAxis(unsigned index) const
{
    return index == 0 ? Vector2(1.f, 0.f) : Vector2(0.f, 1.f);
}

float RectangleCollisionShape::getRadius() const
{
    return mRadius;
}

} // namespace QEL
