#ifndef QEL_WORLD_ASXTYPESTRING_HPP
#define QEL_WORLD_ASXTYPESTRING_HPP

#include "world/ASXSimpleTypeString.hpp"
#include "world/ScriptTypeRegistry.hpp"

#include <string>
#include <utility>
#include <vector>

namespace Plym
{
namespace Script
{

/// The script spelling of the native type T. This primary form serves the object types
/// registered with the script engine: their name comes from the type registry. The
/// `parameter` flag tells that the string stands in a parameter list.
template <class T>
class ASXTypeString : public ASXSimpleTypeString
{
public:
    explicit ASXTypeString(bool /*parameter*/ = false) {}

    std::string getTypeName() const override { return qualify(ScriptTypeRegistry::get<T>()); }
};

/// std::string is the string add-on's "string".
template <>
class ASXTypeString<std::string> : public ASXSimpleTypeString
{
public:
    explicit ASXTypeString(bool /*parameter*/ = false) {}

    std::string getTypeName() const override { return "::string"; }
};

/// A constant reference: "const T &", or "const T & in" as a parameter.
template <class T>
class ASXTypeString<const T&> : public ASXSimpleTypeString
{
public:
    explicit ASXTypeString(bool parameter = false) : ASXSimpleTypeString({}, "const", parameter ? "& in" : "&") {}

    std::string getTypeName() const override { return ASXTypeString<T>().getTypeName(); }
};

/// A pointer is a handle: "T @".
template <class T>
class ASXTypeString<T*> : public ASXSimpleTypeString
{
public:
    explicit ASXTypeString(bool /*parameter*/ = false) : ASXSimpleTypeString({}, {}, "@") {}

    std::string getTypeName() const override { return ASXTypeString<T>().getTypeName(); }
};

/// A native function seen as a script method: its whole declaration
/// "R name(P1,P2)". With the object-last convention the last native parameter is the
/// object itself and stays out of the list.
template <class R, class... Args>
class ASXTypeString<R(Args...)> : public ASXSimpleTypeString
{
public:
    ASXTypeString(std::string methodName, bool objectLast) : mMethodName(std::move(methodName)), mObjectLast(objectLast)
    {
    }

    std::string getTypeName() const override
    {
        std::vector<std::string> parameters{ASXTypeString<Args>(true).toString()...};
        if (mObjectLast && !parameters.empty())
            parameters.pop_back();

        std::string declaration = ASXTypeString<R>().toString() + " " + mMethodName + "(";
        for (std::size_t i = 0; i < parameters.size(); ++i)
            declaration += (i == 0 ? "" : ",") + parameters[i];
        return declaration + ")";
    }

private:
    std::string mMethodName;
    bool mObjectLast;
};

} // namespace Script
} // namespace Plym

#endif
