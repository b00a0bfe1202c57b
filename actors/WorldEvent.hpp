#ifndef QEL_ACTORS_WORLDEVENT_HPP
#define QEL_ACTORS_WORLDEVENT_HPP

#include "ecs/Types.hpp"

#include <string>

namespace QEL
{

/// Tells the other players, through the game server, that something happened to one of
/// the world's objects (named by its entity id, which is the same on every client).
/// Does nothing when no network client exists.
void shareWorldEvent(Tessaly::EntityId entity, const std::string& name);

} // namespace QEL

#endif
