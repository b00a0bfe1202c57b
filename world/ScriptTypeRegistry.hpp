#ifndef QEL_WORLD_SCRIPTTYPEREGISTRY_HPP
#define QEL_WORLD_SCRIPTTYPEREGISTRY_HPP

#include <string>
#include <typeindex>
#include <typeinfo>
#include <unordered_map>

namespace Plym
{
namespace Script
{

/// The script name of every native type registered as a script object type, process-wide.
class ScriptTypeRegistry
{
public:
    /// Records (or renames) the script name of a native type.
    static void add(std::type_index type, const std::string& name);

    /// The script name of a native type; throws "invalid unordered_map<K, T> key" for a
    /// type that was never registered.
    static const std::string& get(std::type_index type);

    template <class T>
    static const std::string& get()
    {
        return get(std::type_index(typeid(T)));
    }

private:
    static std::unordered_map<std::type_index, std::string>& getNames();
};

} // namespace Script
} // namespace Plym

#endif
