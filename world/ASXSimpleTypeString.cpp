#include "world/ASXSimpleTypeString.hpp"

#include <utility>

namespace Plym
{
namespace Script
{

ASXSimpleTypeString::ASXSimpleTypeString(std::string nameSpace, std::string prefix, std::string suffix,
                                         std::string parameterName)
    : mNamespace(std::move(nameSpace)),
      mPrefix(std::move(prefix)),
      mSuffix(std::move(suffix)),
      mParameterName(std::move(parameterName))
{
}

std::string ASXSimpleTypeString::toString() const
{
    std::string text;
    if (!mPrefix.empty())
        text += mPrefix + " ";
    text += getTypeName();
    if (!mSuffix.empty())
        text += " " + mSuffix;
    if (!mParameterName.empty())
        text += " " + mParameterName;
    return text;
}

void ASXSimpleTypeString::setParameterName(const std::string& parameterName)
{
    mParameterName = parameterName;
}

std::string ASXSimpleTypeString::qualify(const std::string& name) const
{
    return mNamespace.empty() ? "::" + name : mNamespace + "::" + name;
}

} // namespace Script
} // namespace Plym
