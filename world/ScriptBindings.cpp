#include "world/ScriptBindings.hpp"

#include "ecs/EntitySystem.hpp"
#include "plym/core/ScriptEngine.hpp"
#include "plym/core/ScriptEntity.hpp"
#include "world/ASXObjectType.hpp"
#include "world/Chunk.hpp"

#include <boost/any.hpp>

namespace QEL
{
namespace
{

// Outside the range of int the tile cannot be on the map.
bool isTileCoordinate(float value)
{
    return value > -2147483648.f && value < 2147483648.f;
}

// Scripts reach a chunk the host lends them; they may not create their own.
void refuseChunk(void*)
{
    if (asIScriptContext* context = asGetActiveContext())
        context->SetException("A Chunk can't be created by a script");
}

void releaseNothing(void*)
{
}

} // namespace

std::string GetBiome(const Plym::Math::Vector2& tile, Chunk* chunk)
{
    if (!isTileCoordinate(tile.x) || !isTileCoordinate(tile.y))
        return Chunk::getBiomeName(None);
    const int x = static_cast<int>(tile.x);
    const int y = static_cast<int>(tile.y);
    return Chunk::getBiomeName(chunk->getBiomeAt(static_cast<unsigned>(x), static_cast<unsigned>(y)));
}

std::string get_Biome(Plym::ScriptEntity* entity)
{
    Tessaly::EntitySystem* system = Chunk::getCurrentSystem();
    Chunk* chunk = Chunk::getCurrent();
    if (!system || !chunk || !system->hasEntity(entity->getEntity()))
        return "Unavailable";

    Tessaly::Message question(Tessaly::Custom, nullptr, Plym::Math::Vector2());
    system->sendLocalMessage(entity->getEntity(),
                             system->getMessageRequestId(Tessaly::MessageRequest, "GetPosition"), question);
    if (!question.handled)
        return "Unavailable";
    const Plym::Math::Vector2 position = boost::any_cast<Plym::Math::Vector2>(question.payload);
    return GetBiome(Plym::Math::Vector2(position.x, position.y + 90.f) / 90.f, chunk);
}

void registerWorldScriptInterface(Plym::ScriptEngine& engine)
{
    // The engine registers "Vector2" itself; this only records its name for declarations.
    Plym::Script::ASXObjectType<Plym::Math::Vector2> vector2("Vector2", engine);

    Plym::Script::ASXObjectType<Chunk> chunk("Chunk", engine, Plym::Script::ASXObjectType<Chunk>::getTraitFlags(),
                                             Chunk::ScriptSize);
    // A value type without these behaviours would leave the engine unable to build any script.
    engine.getEngine().RegisterObjectBehaviour("Chunk", asBEHAVE_CONSTRUCT, "void f()", asFUNCTION(refuseChunk),
                                               asCALL_CDECL_OBJLAST);
    engine.getEngine().RegisterObjectBehaviour("Chunk", asBEHAVE_DESTRUCT, "void f()", asFUNCTION(releaseNothing),
                                               asCALL_CDECL_OBJLAST);
    chunk.registerMethod("GetBiome", &GetBiome, asCALL_CDECL_OBJLAST);

    Plym::Script::ASXObjectType<Plym::ScriptEntity> entity("Entity", engine);
    entity.registerMethod("get_Biome", &get_Biome, asCALL_CDECL_OBJLAST);
}

} // namespace QEL
