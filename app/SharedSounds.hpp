#ifndef QEL_APP_SHAREDSOUNDS_HPP
#define QEL_APP_SHAREDSOUNDS_HPP

#include "plym/core/Vector2.hpp"

#include <string>

namespace QEL
{

/// Loads every sound effect into the process-wide store gSounds, from the working directory.
/// Names already loaded are kept, so tools and tests may call it more than once.
void loadSharedSounds();

/// Plays the effect stored under `name` at a world point through the engine's sound service,
/// `volume` (0 to 1) times the effects' volume. Nothing happens without an engine or service.
void playSound(const std::string& name, const Plym::Math::Vector2& position, float volume = 1.f, float pitch = 1.f);

/// Plays the effect stored under `name` at the listener: the interface's own sounds.
void playInterfaceSound(const std::string& name);

/// Moves the listener of the world's sounds (the local player's ears).
void moveListener(const Plym::Math::Vector2& position);

} // namespace QEL

#endif
