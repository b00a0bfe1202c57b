#ifndef QEL_WORLD_ASXSIMPLETYPESTRING_HPP
#define QEL_WORLD_ASXSIMPLETYPESTRING_HPP

#include <string>

namespace Plym
{
namespace Script
{

/// How a script declaration spells one native type: an optional prefix ("const"), the bare
/// type name, an optional suffix ("&", "& in", "@") and an optional parameter name.
class ASXSimpleTypeString
{
public:
    explicit ASXSimpleTypeString(std::string nameSpace = {}, std::string prefix = {}, std::string suffix = {},
                                 std::string parameterName = {});
    virtual ~ASXSimpleTypeString() = default;

    /// The bare type name.
    virtual std::string getTypeName() const = 0;

    /// The whole type string: "prefix name suffix parameterName", without the empty parts.
    std::string toString() const;

    void setParameterName(const std::string& parameterName);

protected:
    /// A script name in the namespace: "space::name", or "::name" in the global one.
    std::string qualify(const std::string& name) const;

private:
    std::string mNamespace;
    std::string mPrefix;
    std::string mSuffix;
    std::string mParameterName;
};

} // namespace Script
} // namespace Plym

#endif
