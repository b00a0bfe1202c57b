#ifndef PLYM_MATH_VECTOR3_HPP
#define PLYM_MATH_VECTOR3_HPP

#include "plym/core/Vector2.hpp"

namespace Plym
{
namespace Math
{

/// Three-dimensional float vector: a ground position (x, y) and a height z.
class Vector3
{
public:
    Vector3() = default;
    Vector3(float x, float y, float z) : x(x), y(y), z(z) {}
    Vector3(const Vector2& v, float z) : x(v.x), y(v.y), z(z) {}

    Vector3 operator-() const { return Vector3(-x, -y, -z); }
    Vector3 operator+(const Vector3& o) const { return Vector3(x + o.x, y + o.y, z + o.z); }
    Vector3 operator-(const Vector3& o) const { return Vector3(x - o.x, y - o.y, z - o.z); }
    Vector3 operator*(float s) const { return Vector3(x * s, y * s, z * s); }
    Vector3 operator/(float s) const { return Vector3(x / s, y / s, z / s); }
    Vector3& operator+=(const Vector3& o);
    Vector3& operator-=(const Vector3& o);
    bool operator==(const Vector3& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const Vector3& o) const { return !(*this == o); }

    float dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
    float getLengthSquared() const { return x * x + y * y + z * z; }
    float getLength() const;

    /// The ground part (x, y).
    Vector2 xy() const { return Vector2(x, y); }

    /// Linear interpolation: from at t = 0, to at t = 1.
    static Vector3 lerp(const Vector3& from, const Vector3& to, float t);

    float x = 0.f;
    float y = 0.f;
    float z = 0.f;
};

inline Vector3 operator*(float s, const Vector3& v) { return v * s; }

} // namespace Math
} // namespace Plym

#endif
