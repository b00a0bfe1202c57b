#ifndef QEL_ACTORS_FOOTSTEPS_HPP
#define QEL_ACTORS_FOOTSTEPS_HPP

#include "plym/core/Vector3.hpp"

#include <cstdint>

namespace QEL
{

/// When a man's feet make a sound: a step every stride on grass or sand, a softer step every
/// longer stride while wading, and a splash on wading in. Fed every update step with what any
/// man, local or remote, knows of himself: the biome under him, his position and his velocity.
class Footsteps
{
public:
    /// World units walked between two steps on land, and while wading.
    static constexpr float Stride = 130.f;
    static constexpr float WadingStride = 180.f;
    /// Below this height a man in water wades.
    static constexpr float WadingDepth = -15.f;

    /// A sound to play at the man's feet; `name` is null when there is none.
    struct Sound
    {
        const char* name;
        float volume;
        float pitch;
    };

    /// The sound of this step of `seconds`, if any.
    Sound update(int biome, const Plym::Math::Vector3& position, const Plym::Math::Vector3& velocity, float seconds);

private:
    /// The step sound on the ground of `biome`, null where feet make none.
    static const char* groundSound(int biome);
    Sound step(const char* name, float volume);

    float mWalked = Stride / 2.f;  ///< since the last step; the first comes after half a stride
    bool mWading = false;
    bool mStarted = false;  ///< a man who first appears in water did not splash into it
    std::uint32_t mSteps = 0;
};

} // namespace QEL

#endif
