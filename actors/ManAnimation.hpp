#ifndef QEL_ACTORS_MANANIMATION_HPP
#define QEL_ACTORS_MANANIMATION_HPP

#include <string>

namespace QEL
{
namespace ManAnimation
{

/// The angle constants the walking bands are cut with.
constexpr float Pi = 3.14159f;
constexpr float HalfPi = 1.570795f;
constexpr float Edge = 27.f * Pi / 180.f;  // 27 degrees

/// Squared ground speed above which a man walks (below it he idles).
constexpr float WalkThreshold = 270.f;

/// Squared ground speed above which the walk plays three times as fast.
constexpr float FastThreshold = 300.f;

/// A cell of the hair sheet: the column (row 0) and whether it is drawn mirrored.
struct HairCell
{
    unsigned column;
    bool mirrored;
};

/// The animation for a ground velocity: "Idle" when slow, else the direction name
/// ("Up", "DownLeft", ...), or empty when no band holds the angle.
std::string getName(float velocityX, float velocityY);

/// The same from the velocity's angle (radians, 0 right, positive downward) and squared length.
std::string getNameForAngle(float angle, float speedSquared);

/// The hair cell that matches an animation name.
HairCell getHairCell(const std::string& name);

/// The time to advance the animation by for one step of `seconds`.
float getStepTime(float velocityX, float velocityY, float seconds);

} // namespace ManAnimation
} // namespace QEL

#endif
