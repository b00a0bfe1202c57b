#ifndef PLYM_CORE_MATH_HPP
#define PLYM_CORE_MATH_HPP

namespace Plym
{
namespace Math
{

constexpr float Pi = 3.14159265358979f;

float degToRad(float degrees);
float radToDeg(float radians);

/// A whole number from low to high, both included (the bounds may come in either order).
/// Draws from the engine's own std::mt19937, seeded once from std::random_device, so it
/// never disturbs the sequence of the standard library's rand().
int randomint(int low, int high);

/// Restarts the engine's generator from a fixed seed (reproducible runs and tests).
void seedRandom(unsigned int seed);

} // namespace Math
} // namespace Plym

#endif
