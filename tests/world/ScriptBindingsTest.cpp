#include "tests/world/WorldFixture.hpp"

#include "plym/core/ScriptEngine.hpp"
#include "plym/core/ScriptEntity.hpp"
#include "plym/game/Engine.hpp"
#include "world/ASXObjectType.hpp"
#include "world/ASXTypeString.hpp"
#include "world/ScriptBindings.hpp"

#include <gmock/gmock.h>

#include <stdexcept>

namespace WorldTest
{
namespace
{

using Plym::Math::Vector2;
using QEL::Chunk;
using ::testing::HasSubstr;

/// Answers the entity-local question "GetPosition" with a fixed point.
class PositionReporter : public Tessaly::Component
{
public:
    explicit PositionReporter(const Vector2& position) : Component("Test.PositionReporter"), mPosition(position) {}

    void addedToEntity() override { requestMessage("GetPosition", &PositionReporter::onGetPosition, true); }

private:
    void onGetPosition(Tessaly::Message& message)
    {
        message.payload = mPosition;
        message.handled = true;
    }

    Vector2 mPosition;
};

const char* const Source = R"(
string tileBiome(float x, float y) { return world.GetBiome(Vector2(x, y)); }
string entityBiome(uint id) { Entity entity(id); return entity.Biome; }
void makeChunk() { Chunk chunk; }
)";

class ScriptBindingsTest : public WorldFixture
{
protected:
    void SetUp() override
    {
        mSystem.registerComponent("Test.PositionReporter", [this] { return new PositionReporter(mNextPosition); });
        mChunk = &loadMap({"FGs", "Ddb"});
        QEL::registerWorldScriptInterface(mScripts);
        // The host lends its chunk to scripts as a global.
        ASSERT_GE(mScripts.getEngine().RegisterGlobalProperty("Chunk world", mChunk), 0);
        mModule = &mScripts.buildModule("world", Source);
    }

    std::string tileBiome(float x, float y)
    {
        return callForString("string tileBiome(float, float)", [x, y](asIScriptContext& context) {
            context.SetArgFloat(0, x);
            context.SetArgFloat(1, y);
        });
    }

    std::string entityBiome(Tessaly::EntityId entity)
    {
        return callForString("string entityBiome(uint)",
                             [entity](asIScriptContext& context) { context.SetArgDWord(0, entity); });
    }

    /// An entity answering "GetPosition" with the point.
    Tessaly::EntityId addReporter(const Vector2& position)
    {
        const Tessaly::EntityId entity = mSystem.createEntity();
        mNextPosition = position;
        mSystem.addComponent(entity, mSystem.createComponent("Test.PositionReporter"));
        return entity;
    }

    Plym::ScriptEngine mScripts;
    Chunk* mChunk = nullptr;
    asIScriptModule* mModule = nullptr;
    Vector2 mNextPosition;

private:
    std::string callForString(const std::string& declaration, const Plym::ScriptEngine::ContextFunction& arguments)
    {
        std::string result;
        mScripts.call(*mModule, declaration, arguments, [&result](asIScriptContext& context) {
            result = *static_cast<std::string*>(context.GetReturnObject());
        });
        return result;
    }
};

TEST_F(ScriptBindingsTest, GetBiomeNamesTheTileTruncatedTowardZero)
{
    EXPECT_EQ(tileBiome(0.f, 0.f), "Forest");
    EXPECT_EQ(tileBiome(1.99f, 0.5f), "Grass");
    EXPECT_EQ(tileBiome(2.f, 1.99f), "Beach");
    EXPECT_EQ(tileBiome(-0.9f, 1.5f), "DeWater") << "-0.9 truncates to 0";
}

TEST_F(ScriptBindingsTest, GetBiomeOutsideTheMapIsEmpty)
{
    EXPECT_EQ(tileBiome(3.f, 0.f), "");
    EXPECT_EQ(tileBiome(0.f, 2.f), "");
    EXPECT_EQ(tileBiome(-1.f, 0.f), "");
    EXPECT_EQ(tileBiome(1e20f, 0.f), "");
    EXPECT_EQ(tileBiome(0.f, -1e20f), "");
}

TEST_F(ScriptBindingsTest, EntityBiomeIsOneTileBelowItsPosition)
{
    EXPECT_EQ(entityBiome(addReporter(Vector2(0.f, 0.f))), "DeWater");
    EXPECT_EQ(entityBiome(addReporter(Vector2(95.f, -60.f))), "Grass");
    EXPECT_EQ(entityBiome(addReporter(Vector2(200.f, 10.f))), "Beach");
    EXPECT_EQ(entityBiome(addReporter(Vector2(0.f, 100.f))), "");
}

TEST_F(ScriptBindingsTest, EntityBiomeIsUnavailableWithoutAnAnswer)
{
    const Tessaly::EntityId silent = mSystem.createEntity();
    EXPECT_EQ(entityBiome(silent), "Unavailable");
    EXPECT_EQ(entityBiome(mSystem.getNextEntityId() + 5), "Unavailable") << "an entity that does not exist";
}

TEST_F(ScriptBindingsTest, ScriptsCannotCreateAChunk)
{
    try
    {
        mScripts.call(*mModule, "void makeChunk()");
        ADD_FAILURE() << "a script created a chunk";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_THAT(error.what(), HasSubstr("A Chunk can't be created by a script"));
    }
}

TEST_F(ScriptBindingsTest, ChunkIsAValueTypeOfTraitFlagsAndFixedSize)
{
    asITypeInfo* chunk = mScripts.getEngine().GetTypeInfoByName("Chunk");
    ASSERT_NE(chunk, nullptr);
    EXPECT_EQ(chunk->GetSize(), 120u);
    // Registered with the flags of its traits: a chunk cannot be assigned or copied.
    EXPECT_EQ(chunk->GetFlags() & 0xFFFF, asDWORD(asOBJ_VALUE | asOBJ_APP_CLASS_CD));
    ASSERT_NE(chunk->GetMethodByName("GetBiome"), nullptr);

    asITypeInfo* entity = mScripts.getEngine().GetTypeInfoByName("Entity");
    ASSERT_NE(entity, nullptr);
    EXPECT_NE(entity->GetMethodByName("get_Biome"), nullptr);
}

TEST_F(ScriptBindingsTest, RegisteringTwiceFailsOnTheFirstMethod)
{
    try
    {
        QEL::registerWorldScriptInterface(mScripts);
        ADD_FAILURE() << "no error";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Assertion \"mEng.getEngine().RegisterObjectMethod(objectName.c_str(), "
                                   "decl.c_str(), asFUNCTION(f), (call>=0?call:asCALL_CDECL)) >= 0\" failed!");
    }
}

TEST_F(ScriptBindingsTest, TheFirstChunkOfAnEngineLendsTheWorldToItsScripts)
{
    Tessaly::EntitySystem system(false);
    std::vector<Spawn> spawns;
    registerWorld(system, spawns);
    Plym::Engine engine(system, Plym::Engine::WithScripting);
    char program[] = "test_world";
    char* arguments[] = {program, nullptr};
    engine.initialize(1, arguments);
    Plym::ScriptEngine& scripts = *engine.getService<Plym::ScriptEngine>();
    ASSERT_EQ(scripts.getEngine().GetTypeInfoByName("Chunk"), nullptr);

    for (int i = 0; i < 2; ++i)
        system.addComponent(system.createEntity(), system.createComponent("QEL.Game.Chunk"));
    asITypeInfo* chunk = scripts.getEngine().GetTypeInfoByName("Chunk");
    ASSERT_NE(chunk, nullptr);
    EXPECT_NE(chunk->GetMethodByName("GetBiome"), nullptr);
    EXPECT_NO_THROW(scripts.buildModule("check", "string f(Entity e) { return e.Biome; }"));
}

// Declarations and type names built from native types.

struct Unregistered
{
};

struct FullClass
{
    FullClass() {}
    FullClass(const FullClass&) {}
    FullClass& operator=(const FullClass&) { return *this; }
    ~FullClass() {}
};

struct PlainClass
{
    int value;
};

class Named : public Plym::Script::ASXSimpleTypeString
{
public:
    Named(const std::string& nameSpace, const std::string& prefix, const std::string& suffix)
        : ASXSimpleTypeString(nameSpace, prefix, suffix)
    {
    }

    std::string getTypeName() const override { return qualify("Tile"); }
};

TEST(ScriptTypeStrings, DeclarationsLeaveTheObjectOutWhenItComesLast)
{
    using Plym::Script::ASXTypeString;
    Plym::Script::ScriptTypeRegistry::add(typeid(Vector2), "Vector2");
    Plym::Script::ScriptTypeRegistry::add(typeid(Chunk), "Chunk");
    Plym::Script::ScriptTypeRegistry::add(typeid(Plym::ScriptEntity), "Entity");

    EXPECT_EQ((ASXTypeString<std::string(const Vector2&, Chunk*)>("GetBiome", true).toString()),
              "::string GetBiome(const ::Vector2 & in)");
    EXPECT_EQ((ASXTypeString<std::string(Plym::ScriptEntity*)>("get_Biome", true).toString()),
              "::string get_Biome()");
    EXPECT_EQ((ASXTypeString<std::string(const Vector2&, Chunk*)>("GetBiome", false).toString()),
              "::string GetBiome(const ::Vector2 & in,::Chunk @)");
}

TEST(ScriptTypeStrings, TypeStringsJoinTheirNonEmptyParts)
{
    using Plym::Script::ASXTypeString;
    Plym::Script::ScriptTypeRegistry::add(typeid(Vector2), "Vector2");
    EXPECT_EQ(ASXTypeString<const Vector2&>().toString(), "const ::Vector2 &");
    EXPECT_EQ(ASXTypeString<std::string>().toString(), "::string");

    ASXTypeString<const Vector2&> parameter(true);
    parameter.setParameterName("tile");
    EXPECT_EQ(parameter.toString(), "const ::Vector2 & in tile");

    EXPECT_EQ(Named("Game", "const", "&").toString(), "const Game::Tile &");
    EXPECT_EQ(Named("", "", "@").toString(), "::Tile @");
}

TEST(ScriptTypeStrings, UnregisteredTypesHaveNoName)
{
    try
    {
        Plym::Script::ASXTypeString<Unregistered*>().toString();
        ADD_FAILURE() << "no error";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "invalid unordered_map<K, T> key");
    }
}

TEST(ScriptTypeStrings, FlagsFollowTheNativeTraits)
{
    using Plym::Script::ASXObjectType;
    EXPECT_EQ(ASXObjectType<FullClass>::getTraitFlags(), asDWORD(asOBJ_VALUE | asOBJ_APP_CLASS_CDAK));
    EXPECT_EQ(ASXObjectType<FullClass>::getTraitFlags(), 0x1F02u);
    EXPECT_EQ(ASXObjectType<PlainClass>::getTraitFlags(), asDWORD(asOBJ_VALUE | asOBJ_APP_CLASS | asOBJ_POD));
    EXPECT_EQ(ASXObjectType<int>::getTraitFlags(), asDWORD(asOBJ_VALUE | asOBJ_POD));
    EXPECT_EQ(ASXObjectType<FullClass&>::getTraitFlags(), asDWORD(asOBJ_REF));
    // Components cannot be copied: a chunk has a constructor and a destructor only.
    EXPECT_EQ(ASXObjectType<Chunk>::getTraitFlags(), asDWORD(asOBJ_VALUE | asOBJ_APP_CLASS_CD));
}

} // namespace
} // namespace WorldTest
