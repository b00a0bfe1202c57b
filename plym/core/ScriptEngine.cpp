#include "plym/core/ScriptEngine.hpp"

#include "plym/core/ScriptEntity.hpp"
#include "plym/core/Vector2.hpp"

#include <scriptstdstring.h>

#include <iostream>
#include <new>
#include <stdexcept>

namespace Plym
{
namespace
{

using Math::Vector2;

void constructVector2(void* memory)
{
    new (memory) Vector2();
}

void constructVector2xy(float x, float y, void* memory)
{
    new (memory) Vector2(x, y);
}

void copyVector2(const Vector2& other, void* memory)
{
    new (memory) Vector2(other);
}

void constructEntity(void* memory)
{
    new (memory) ScriptEntity();
}

void constructEntityId(std::uint32_t entity, void* memory)
{
    new (memory) ScriptEntity(entity);
}

const char* messageKind(asEMsgType type)
{
    switch (type)
    {
        case asMSGTYPE_ERROR: return "ERR";
        case asMSGTYPE_WARNING: return "WARN";
        default: return "INFO";
    }
}

} // namespace

ScriptEngine::ScriptEngine() : mEngine(asCreateScriptEngine())
{
    if (!mEngine)
        throw std::runtime_error("ScriptEngine: AngelScript engine could not be created");
    check(mEngine->SetMessageCallback(asFUNCTION(onMessage), this, asCALL_CDECL), "message callback");
    // 2: application-registered get_/set_ functions act as properties without the keyword.
    check(mEngine->SetEngineProperty(asEP_PROPERTY_ACCESSOR_MODE, 2), "accessor mode");
    RegisterStdString(mEngine);
    registerVector2();
    registerEntity();
}

ScriptEngine::~ScriptEngine()
{
    mEngine->ShutDownAndRelease();
}

asIScriptEngine& ScriptEngine::getEngine()
{
    return *mEngine;
}

asIScriptModule& ScriptEngine::buildModule(const std::string& name, const std::string& source)
{
    mMessages.clear();
    asIScriptModule* module = mEngine->GetModule(name.c_str(), asGM_ALWAYS_CREATE);
    if (module->AddScriptSection(name.c_str(), source.data(), source.size()) < 0 || module->Build() < 0)
    {
        module->Discard();
        throw std::runtime_error("Script module \"" + name + "\" failed to build:\n" + mMessages);
    }
    return *module;
}

void ScriptEngine::call(asIScriptModule& module, const std::string& declaration,
                        const ContextFunction& setArguments, const ContextFunction& readResult)
{
    asIScriptFunction* function = module.GetFunctionByDecl(declaration.c_str());
    if (!function)
        throw std::runtime_error("Script function \"" + declaration + "\" not found in module \"" + module.GetName() + "\"");
    asIScriptContext* context = mEngine->RequestContext();
    context->Prepare(function);
    try
    {
        if (setArguments)
            setArguments(*context);
        const int result = context->Execute();
        if (result == asEXECUTION_EXCEPTION)
            throw std::runtime_error("Script exception in \"" + declaration + "\": " + context->GetExceptionString());
        if (result != asEXECUTION_FINISHED)
            throw std::runtime_error("Script function \"" + declaration + "\" did not finish");
        if (readResult)
            readResult(*context);
    }
    catch (...)
    {
        mEngine->ReturnContext(context);
        throw;
    }
    mEngine->ReturnContext(context);
}

void ScriptEngine::onMessage(const asSMessageInfo* message, void* self)
{
    const std::string line = std::string(message->section) + " (" + std::to_string(message->row) + ", "
        + std::to_string(message->col) + ") : " + messageKind(message->type) + " : " + message->message;
    std::cerr << line << std::endl;
    static_cast<ScriptEngine*>(self)->mMessages += line + "\n";
}

void ScriptEngine::registerVector2()
{
    const asDWORD flags = asOBJ_VALUE | asOBJ_POD | asOBJ_APP_CLASS_ALLFLOATS | asGetTypeTraits<Vector2>();
    check(mEngine->RegisterObjectType("Vector2", sizeof(Vector2), flags), "Vector2");
    check(mEngine->RegisterObjectBehaviour("Vector2", asBEHAVE_CONSTRUCT, "void f()", asFUNCTION(constructVector2), asCALL_CDECL_OBJLAST), "Vector2()");
    check(mEngine->RegisterObjectBehaviour("Vector2", asBEHAVE_CONSTRUCT, "void f(float, float)", asFUNCTION(constructVector2xy), asCALL_CDECL_OBJLAST), "Vector2(float, float)");
    check(mEngine->RegisterObjectBehaviour("Vector2", asBEHAVE_CONSTRUCT, "void f(const Vector2 &in)", asFUNCTION(copyVector2), asCALL_CDECL_OBJLAST), "Vector2(const Vector2 &in)");
    check(mEngine->RegisterObjectProperty("Vector2", "float x", asOFFSET(Vector2, x)), "Vector2::x");
    check(mEngine->RegisterObjectProperty("Vector2", "float y", asOFFSET(Vector2, y)), "Vector2::y");

    struct Method
    {
        const char* declaration;
        asSFuncPtr function;
    };
    const Method methods[] = {
        {"Vector2 opAdd(const Vector2 &in) const", asMETHODPR(Vector2, operator+, (const Vector2&) const, Vector2)},
        {"Vector2 opSub(const Vector2 &in) const", asMETHODPR(Vector2, operator-, (const Vector2&) const, Vector2)},
        {"Vector2 opNeg() const", asMETHODPR(Vector2, operator-, () const, Vector2)},
        {"Vector2 opMul(float) const", asMETHODPR(Vector2, operator*, (float) const, Vector2)},
        {"Vector2 opMul_r(float) const", asMETHODPR(Vector2, operator*, (float) const, Vector2)},
        {"Vector2 opDiv(float) const", asMETHODPR(Vector2, operator/, (float) const, Vector2)},
        {"Vector2 &opAddAssign(const Vector2 &in)", asMETHODPR(Vector2, operator+=, (const Vector2&), Vector2&)},
        {"Vector2 &opSubAssign(const Vector2 &in)", asMETHODPR(Vector2, operator-=, (const Vector2&), Vector2&)},
        {"bool opEquals(const Vector2 &in) const", asMETHODPR(Vector2, operator==, (const Vector2&) const, bool)},
        {"float dot(const Vector2 &in) const", asMETHOD(Vector2, dot)},
        {"float length() const", asMETHOD(Vector2, getLength)},
    };
    for (const Method& method : methods)
        check(mEngine->RegisterObjectMethod("Vector2", method.declaration, method.function, asCALL_THISCALL), method.declaration);
}

void ScriptEngine::registerEntity()
{
    const asDWORD flags = asOBJ_VALUE | asOBJ_POD | asOBJ_APP_CLASS_ALLINTS | asGetTypeTraits<ScriptEntity>();
    check(mEngine->RegisterObjectType("Entity", sizeof(ScriptEntity), flags), "Entity");
    check(mEngine->RegisterObjectBehaviour("Entity", asBEHAVE_CONSTRUCT, "void f()", asFUNCTION(constructEntity), asCALL_CDECL_OBJLAST), "Entity()");
    check(mEngine->RegisterObjectBehaviour("Entity", asBEHAVE_CONSTRUCT, "void f(uint)", asFUNCTION(constructEntityId), asCALL_CDECL_OBJLAST), "Entity(uint)");
    check(mEngine->RegisterObjectMethod("Entity", "uint get_id() const", asMETHOD(ScriptEntity, getEntity), asCALL_THISCALL), "Entity::id");
}

void ScriptEngine::check(int result, const std::string& what)
{
    if (result < 0)
        throw std::runtime_error("ScriptEngine: registering " + what + " failed (" + std::to_string(result) + ")");
}

} // namespace Plym
