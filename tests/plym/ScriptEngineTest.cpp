#include "plym/core/ScriptEngine.hpp"
#include "plym/core/ScriptEntity.hpp"
#include "plym/core/Vector2.hpp"

#include <gtest/gtest.h>

#include <string>

using Plym::ScriptEngine;
using Plym::ScriptEntity;
using Plym::Math::Vector2;

namespace
{

std::string describe(ScriptEntity* entity)
{
    return "entity " + std::to_string(entity->getEntity());
}

} // namespace

TEST(ScriptEngine, Vector2ArithmeticInScripts)
{
    ScriptEngine scripts;
    asIScriptModule& module = scripts.buildModule("vectors", R"(
        Vector2 combine() { Vector2 a(1, 2); Vector2 b(3, 5); return (a + b) * 2 - Vector2(1, 1); }
        Vector2 mirrored(const Vector2 &in v) { Vector2 w = -v; w += 0.5f * v; return w / 2; }
        bool same() { Vector2 a(1, 2); Vector2 c = a; return a == c && !(a == Vector2()); }
        float length(const Vector2 &in v) { return v.length() + v.dot(Vector2(1, 0)); }
    )");

    Vector2 result;
    scripts.call(module, "Vector2 combine()", {}, [&](asIScriptContext& c) { result = *static_cast<Vector2*>(c.GetReturnObject()); });
    EXPECT_EQ(result, Vector2(7, 13));

    Vector2 argument(4, -8);
    auto pass = [&](asIScriptContext& c) { c.SetArgObject(0, &argument); };
    scripts.call(module, "Vector2 mirrored(const Vector2 &in)", pass,
                 [&](asIScriptContext& c) { result = *static_cast<Vector2*>(c.GetReturnObject()); });
    EXPECT_EQ(result, Vector2(-1, 2));

    bool same = false;
    scripts.call(module, "bool same()", {}, [&](asIScriptContext& c) { same = c.GetReturnByte() != 0; });
    EXPECT_TRUE(same);

    argument = Vector2(3, 4);
    float length = 0;
    scripts.call(module, "float length(const Vector2 &in)", pass, [&](asIScriptContext& c) { length = c.GetReturnFloat(); });
    EXPECT_FLOAT_EQ(length, 8.f);
}

TEST(ScriptEngine, StringsAndEntities)
{
    ScriptEngine scripts;
    asIScriptEngine& engine = scripts.getEngine();
    // The way game code adds methods to "Entity": object last, as a property getter.
    ASSERT_GE(engine.RegisterObjectMethod("Entity", "string get_Description()", asFUNCTION(describe), asCALL_CDECL_OBJLAST), 0);

    asIScriptModule& module = scripts.buildModule("entities", R"(
        uint idOf() { Entity e(42); return e.id; }
        string greet(const string &in name) { return "Hello " + name + ", " + Entity(7).Description; }
    )");
    unsigned id = 0;
    scripts.call(module, "uint idOf()", {}, [&](asIScriptContext& c) { id = c.GetReturnDWord(); });
    EXPECT_EQ(id, 42u);

    std::string name = "Ada";
    std::string greeting;
    scripts.call(module, "string greet(const string &in)", [&](asIScriptContext& c) { c.SetArgObject(0, &name); },
                 [&](asIScriptContext& c) { greeting = *static_cast<std::string*>(c.GetReturnObject()); });
    EXPECT_EQ(greeting, "Hello Ada, entity 7");
}

TEST(ScriptEngine, ReportsBuildErrorsMissingFunctionsAndExceptions)
{
    ScriptEngine scripts;
    testing::internal::CaptureStderr();
    try
    {
        scripts.buildModule("broken", "void f() { undefinedThing(); }");
        ADD_FAILURE() << "a broken script built";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_NE(std::string(error.what()).find("undefinedThing"), std::string::npos) << error.what();
    }
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ERR"), std::string::npos);

    asIScriptModule& module = scripts.buildModule("faulty", "int divide(int a) { return 10 / a; }");
    EXPECT_THROW(scripts.call(module, "void absent()"), std::runtime_error);
    int argument = 0;
    try
    {
        scripts.call(module, "int divide(int)", [&](asIScriptContext& c) { c.SetArgDWord(0, argument); });
        ADD_FAILURE() << "division by zero did not raise";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_NE(std::string(error.what()).find("Divide by zero"), std::string::npos) << error.what();
    }
    int quotient = 0;
    argument = 5;
    scripts.call(module, "int divide(int)", [&](asIScriptContext& c) { c.SetArgDWord(0, argument); },
                 [&](asIScriptContext& c) { quotient = static_cast<int>(c.GetReturnDWord()); });
    EXPECT_EQ(quotient, 2);
}
