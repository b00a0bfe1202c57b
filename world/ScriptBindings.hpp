#ifndef QEL_WORLD_SCRIPTBINDINGS_HPP
#define QEL_WORLD_SCRIPTBINDINGS_HPP

#include "plym/core/Vector2.hpp"

#include <string>

namespace Plym
{
class ScriptEngine;
class ScriptEntity;
}

namespace QEL
{

class Chunk;

/// Script method "Chunk::GetBiome": the biome name of a tile (coordinates truncated toward
/// zero); empty outside the map.
std::string GetBiome(const Plym::Math::Vector2& tile, Chunk* chunk);

/// Script property "Entity::Biome": the biome one tile below the position the entity reports
/// to the question "GetPosition"; "Unavailable" when nobody answers.
std::string get_Biome(Plym::ScriptEntity* entity);

/// Lends the world to scripts: the object type "Chunk" with "GetBiome" and the property
/// "Biome" of "Entity". Runs once per script engine.
void registerWorldScriptInterface(Plym::ScriptEngine& engine);

} // namespace QEL

#endif
