#include "app/UserFolders.hpp"

#include <cstdlib>

namespace QEL
{
namespace UserFolders
{
namespace
{

/// The folder a variable names; relative paths do not count, as in the XDG base directories.
std::optional<std::filesystem::path> absoluteFrom(const char* variable)
{
    const char* value = std::getenv(variable);
    if (!value || !*value)
        return std::nullopt;
    const std::filesystem::path path(value);
    if (!path.is_absolute())
        return std::nullopt;
    return path;
}

std::optional<std::filesystem::path> userFolder(const char* variable, const char* besideHome, const char* leaf)
{
    if (auto folder = absoluteFrom(variable))
        return *folder / leaf;
    if (auto home = absoluteFrom("HOME"))
        return *home / besideHome / leaf;
    return std::nullopt;
}

} // namespace

std::optional<std::filesystem::path> config()
{
    return userFolder("XDG_CONFIG_HOME", ".config", "quelmoor");
}

std::optional<std::filesystem::path> pictures()
{
    return userFolder("XDG_PICTURES_DIR", "Pictures", "Quelmoor");
}

} // namespace UserFolders
} // namespace QEL
