#ifndef QEL_WORLD_ASXOBJECTTYPE_HPP
#define QEL_WORLD_ASXOBJECTTYPE_HPP

#include "plym/core/ScriptEngine.hpp"
#include "world/ASXTypeString.hpp"
#include "world/ScriptTypeRegistry.hpp"

#include <stdexcept>
#include <string>
#include <type_traits>
#include <typeindex>

namespace Plym
{
namespace Script
{

/// Registers the native type T as the script object type `name`: the name goes into the
/// type registry, and the script engine learns the type unless it knows it already.
/// Methods are then bound with declarations built from their native signatures.
template <class T>
class ASXObjectType
{
public:
    /// Object type flags from T's traits: asOBJ_REF for a reference; else asOBJ_VALUE with
    /// the application-class flags of its constructor, destructor, assignment and copy
    /// constructor, and asOBJ_POD for a plain type.
    static asDWORD getTraitFlags()
    {
        if (std::is_reference<T>::value)
            return asOBJ_REF;
        const asDWORD plain = std::is_trivial<T>::value && std::is_standard_layout<T>::value ? asDWORD(asOBJ_POD) : 0u;
        if (!std::is_class<T>::value)
            return asOBJ_VALUE | plain;
        return asOBJ_VALUE | asGetTypeTraits<T>() | plain;
    }

    ASXObjectType(const std::string& name, ScriptEngine& engine, asDWORD flags = getTraitFlags(),
                  int size = static_cast<int>(sizeof(T)))
        : mName(name), mEng(engine)
    {
        ScriptTypeRegistry::add(std::type_index(typeid(T)), name);
        // The engine may have registered the type itself; a failure here goes unnoticed.
        if (!mEng.getEngine().GetTypeInfoByName(name.c_str()))
            mEng.getEngine().RegisterObjectType(name.c_str(), size, flags);
    }

    const std::string& getName() const { return mName; }

    /// Binds `f` as the method `methodName`; a negative convention means asCALL_CDECL.
    template <class R, class... Args>
    void registerMethod(const std::string& methodName, R (*f)(Args...), int call = -1)
    {
        const std::string& objectName = mName;
        const std::string decl = ASXTypeString<R(Args...)>(methodName, call == asCALL_CDECL_OBJLAST).toString();
        if (mEng.getEngine().RegisterObjectMethod(objectName.c_str(), decl.c_str(), asFUNCTION(f),
                                                  (call >= 0 ? call : asCALL_CDECL)) < 0)
        {
            throw std::runtime_error("Assertion \"mEng.getEngine().RegisterObjectMethod(objectName.c_str(), "
                                     "decl.c_str(), asFUNCTION(f), (call>=0?call:asCALL_CDECL)) >= 0\" failed!");
        }
    }

private:
    std::string mName;
    ScriptEngine& mEng;
};

} // namespace Script
} // namespace Plym

#endif
