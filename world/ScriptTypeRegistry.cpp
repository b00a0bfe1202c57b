#include "world/ScriptTypeRegistry.hpp"

#include <stdexcept>

namespace Plym
{
namespace Script
{

void ScriptTypeRegistry::add(std::type_index type, const std::string& name)
{
    getNames()[type] = name;
}

const std::string& ScriptTypeRegistry::get(std::type_index type)
{
    const auto& names = getNames();
    const auto name = names.find(type);
    if (name == names.end())
        throw std::runtime_error("invalid unordered_map<K, T> key");
    return name->second;
}

std::unordered_map<std::type_index, std::string>& ScriptTypeRegistry::getNames()
{
    static std::unordered_map<std::type_index, std::string> names;
    return names;
}

} // namespace Script
} // namespace Plym
