#include "plym/core/Vector2.hpp"

#include <cmath>

namespace Plym
{
namespace Math
{

Vector2& Vector2::operator+=(const Vector2& o)
{
    x += o.x;
    y += o.y;
    return *this;
}

Vector2& Vector2::operator-=(const Vector2& o)
{
    x -= o.x;
    y -= o.y;
    return *this;
}

Vector2& Vector2::operator*=(float s)
{
    x *= s;
    y *= s;
    return *this;
}

Vector2& Vector2::operator/=(float s)
{
    x /= s;
    y /= s;
    return *this;
}

float Vector2::getLength() const
{
    return std::sqrt(getLengthSquared());
}

Vector2 Vector2::getNormalized() const
{
    const float length = getLength();
    if (length == 0.f)
        return Vector2();
    return *this / length;
}

void Vector2::setLength(float length)
{
    *this = getNormalized() * length;
}

float Vector2::getAngle() const
{
    return std::atan2(y, x);
}

} // namespace Math
} // namespace Plym
