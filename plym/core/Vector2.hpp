#ifndef PLYM_MATH_VECTOR2_HPP
#define PLYM_MATH_VECTOR2_HPP

#include <SFML/System/Vector2.hpp>

namespace Plym
{
namespace Math
{

/// Two-dimensional float vector of the engine: points and directions on the ground plane.
class Vector2
{
public:
    Vector2() = default;
    Vector2(float x, float y) : x(x), y(y) {}
    Vector2(const sf::Vector2f& v) : x(v.x), y(v.y) {}

    operator sf::Vector2f() const { return sf::Vector2f(x, y); }

    Vector2 operator-() const { return Vector2(-x, -y); }
    Vector2 operator+(const Vector2& o) const { return Vector2(x + o.x, y + o.y); }
    Vector2 operator-(const Vector2& o) const { return Vector2(x - o.x, y - o.y); }
    Vector2 operator*(float s) const { return Vector2(x * s, y * s); }
    Vector2 operator/(float s) const { return Vector2(x / s, y / s); }
    Vector2& operator+=(const Vector2& o);
    Vector2& operator-=(const Vector2& o);
    Vector2& operator*=(float s);
    Vector2& operator/=(float s);
    bool operator==(const Vector2& o) const { return x == o.x && y == o.y; }
    bool operator!=(const Vector2& o) const { return !(*this == o); }

    float dot(const Vector2& o) const { return x * o.x + y * o.y; }
    float getLengthSquared() const { return x * x + y * y; }
    float getLength() const;

    /// Unit vector of the same direction; the zero vector stays zero.
    Vector2 getNormalized() const;

    /// The vector turned by a quarter: (-y, x).
    Vector2 getPerpendicular() const { return Vector2(-y, x); }

    /// Scales the vector to the given length, keeping its direction (a zero vector stays zero).
    void setLength(float length);

    /// Angle in radians from the positive x axis, positive towards +y (downwards on screen).
    float getAngle() const;

    float x = 0.f;
    float y = 0.f;
};

inline Vector2 operator*(float s, const Vector2& v) { return v * s; }

} // namespace Math
} // namespace Plym

#endif
