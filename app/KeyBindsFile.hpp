#ifndef QEL_APP_KEYBINDSFILE_HPP
#define QEL_APP_KEYBINDSFILE_HPP

#include <cstdint>
#include <filesystem>

namespace Plym
{
class InputManager;
}

namespace QEL
{

/// The player's own key binds (binds.json, in the format of the default binds), which replace
/// the default binds.
class KeyBindsFile
{
public:
    static constexpr std::uintmax_t MaxFileBytes = 64 * 1024;

    /// Installs the binds of `file` when it exists and is good: it parses and declares every
    /// input the game reads. Otherwise `input` keeps its binds and one line on standard error
    /// names the problem. True when the file's binds were installed.
    static bool load(const std::filesystem::path& file, Plym::InputManager& input);
};

} // namespace QEL

#endif
