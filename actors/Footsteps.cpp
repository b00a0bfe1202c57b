#include "actors/Footsteps.hpp"

#include "actors/ManAnimation.hpp"
#include "world/Biome.hpp"

#include <cmath>

namespace QEL
{
namespace
{

constexpr float StepVolume = 0.45f;
constexpr float WadeVolume = 0.6f;
/// Feet moving up or down faster than this are off the ground: jumping or falling.
constexpr float Airborne = 1.f;
/// Steps alternate through these pitches, so that no two in a row sound alike.
constexpr float Pitches[] = {1.f, 0.94f, 1.05f, 0.97f, 1.02f};

const Footsteps::Sound Silence{nullptr, 0.f, 1.f};

bool isWater(int biome)
{
    return biome == Biome::ShWater || biome == Biome::DeWater;
}

} // namespace

Footsteps::Sound Footsteps::update(int biome, const Plym::Math::Vector3& position, const Plym::Math::Vector3& velocity, float seconds)
{
    const bool wading = isWater(biome) && position.z < WadingDepth;
    const bool splashed = wading && !mWading && mStarted;
    mWading = wading;
    mStarted = true;
    if (splashed)
    {
        mWalked = 0.f;
        return Sound{"Man::Splash", 1.f, 1.f};
    }

    const float groundSpeedSquared = velocity.x * velocity.x + velocity.y * velocity.y;
    if (groundSpeedSquared <= ManAnimation::WalkThreshold)
        return Silence;
    mWalked += std::sqrt(groundSpeedSquared) * seconds;

    if (wading)
        return mWalked >= WadingStride ? step("Man::Wade", WadeVolume) : Silence;
    const char* ground = groundSound(biome);
    if (!ground || std::fabs(velocity.z) >= Airborne || mWalked < Stride)
        return Silence;
    return step(ground, StepVolume);
}

const char* Footsteps::groundSound(int biome)
{
    switch (biome)
    {
        case Biome::Forest:
        case Biome::Grass:
            return "Man::StepGrass";
        case Biome::Desert:
        case Biome::Beach:
            return "Man::StepSand";
        default:
            return nullptr;
    }
}

Footsteps::Sound Footsteps::step(const char* name, float volume)
{
    mWalked = 0.f;
    return Sound{name, volume, Pitches[mSteps++ % (sizeof(Pitches) / sizeof(Pitches[0]))]};
}

} // namespace QEL
