#include "plym/core/Math.hpp"

#include <random>
#include <utility>

namespace Plym
{
namespace Math
{
namespace
{

std::mt19937& generator()
{
    static std::mt19937 engine{std::random_device{}()};
    return engine;
}

} // namespace

float degToRad(float degrees)
{
    return degrees * Pi / 180.f;
}

float radToDeg(float radians)
{
    return radians * 180.f / Pi;
}

int randomint(int low, int high)
{
    if (low > high)
        std::swap(low, high);
    return std::uniform_int_distribution<int>(low, high)(generator());
}

void seedRandom(unsigned int seed)
{
    generator().seed(seed);
}

} // namespace Math
} // namespace Plym
