#ifndef QEL_APP_CATALOGUE_HPP
#define QEL_APP_CATALOGUE_HPP

namespace Plym
{
class Engine;
}

namespace QEL
{

/// Registers every component factory and entity template of the game with the engine's
/// entity system. Start-up hands it to the engine's "Components" hook.
void registerComponents(Plym::Engine& engine);

} // namespace QEL

#endif
