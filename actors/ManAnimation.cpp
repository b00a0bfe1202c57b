#include "actors/ManAnimation.hpp"

#include "plym/core/Vector2.hpp"

namespace QEL
{
namespace ManAnimation
{
namespace
{

const char* verticalPart(float angle)
{
    if (angle > Edge - Pi && angle < -Edge)
        return "Up";
    if (angle > Edge && angle < Pi - Edge)
        return "Down";
    return "";
}

const char* horizontalPart(float angle)
{
    if (angle < -HalfPi - Edge || angle > HalfPi + Edge)
        return "Left";
    if (angle > Edge - HalfPi && angle < HalfPi - Edge)
        return "Right";
    return "";
}

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

} // namespace

std::string getName(float velocityX, float velocityY)
{
    const Plym::Math::Vector2 velocity(velocityX, velocityY);
    return getNameForAngle(velocity.getAngle(), velocity.getLengthSquared());
}

std::string getNameForAngle(float angle, float speedSquared)
{
    if (speedSquared <= WalkThreshold)
        return "Idle";
    return std::string(verticalPart(angle)) + horizontalPart(angle);
}

HairCell getHairCell(const std::string& name)
{
    if (name == "Idle" || name == "Down")
        return {0, false};
    if (name == "Up")
        return {4, false};
    if (startsWith(name, "Up"))
        return {3, name == "UpLeft"};
    if (startsWith(name, "Down"))
        return {1, name == "DownLeft"};
    return {2, name == "Left"};
}

float getStepTime(float velocityX, float velocityY, float seconds)
{
    const float speedSquared = velocityX * velocityX + velocityY * velocityY;
    return speedSquared > FastThreshold ? seconds * 3.f : seconds;
}

} // namespace ManAnimation
} // namespace QEL
