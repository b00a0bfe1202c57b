#include "plym/core/Vector3.hpp"

#include <cmath>

namespace Plym
{
namespace Math
{

Vector3& Vector3::operator+=(const Vector3& o)
{
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
}

Vector3& Vector3::operator-=(const Vector3& o)
{
    x -= o.x;
    y -= o.y;
    z -= o.z;
    return *this;
}

float Vector3::getLength() const
{
    return std::sqrt(getLengthSquared());
}

Vector3 Vector3::lerp(const Vector3& from, const Vector3& to, float t)
{
    return from + (to - from) * t;
}

} // namespace Math
} // namespace Plym
