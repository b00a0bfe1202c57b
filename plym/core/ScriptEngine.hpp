#ifndef PLYM_CORE_SCRIPTENGINE_HPP
#define PLYM_CORE_SCRIPTENGINE_HPP

#include <angelscript.h>

#include <functional>
#include <string>

// The system's AngelScript lives in the namespace AngelScript (AS_USE_NAMESPACE); its names
// all start with "as", so they are made available under their usual unqualified names.
using namespace AngelScript;

namespace Plym
{

/// Owns the AngelScript engine with the types every script can use: "string"
/// (std::string), "Vector2" (Plym::Math::Vector2: x, y, constructors, + - * / and
/// comparison) and "Entity" (Plym::ScriptEntity). Compiler messages are printed to
/// standard error. Property accessors (get_X / set_X) registered by the application work
/// without the "property" keyword.
class ScriptEngine
{
public:
    using ContextFunction = std::function<void(asIScriptContext&)>;

    ScriptEngine();
    ~ScriptEngine();

    ScriptEngine(const ScriptEngine&) = delete;
    ScriptEngine& operator=(const ScriptEngine&) = delete;

    asIScriptEngine& getEngine();

    /// Compiles `source` into the module `name` (replacing an earlier one of that name).
    /// Throws std::runtime_error carrying the compiler's messages when it does not build.
    asIScriptModule& buildModule(const std::string& name, const std::string& source);

    /// Runs the function with this declaration ("int f(int)") of `module`. `setArguments`
    /// is called on the prepared context, `readResult` after a finished run. Throws when the
    /// function is missing or the script raises an exception.
    void call(asIScriptModule& module, const std::string& declaration,
              const ContextFunction& setArguments = {}, const ContextFunction& readResult = {});

    /// Messages of the last build, one per line.
    const std::string& getMessages() const { return mMessages; }

private:
    static void onMessage(const asSMessageInfo* message, void* self);

    void registerVector2();
    void registerEntity();

    /// Registration failures are programming errors: they are thrown with the declaration.
    static void check(int result, const std::string& what);

    asIScriptEngine* mEngine;
    std::string mMessages;
};

} // namespace Plym

#endif
