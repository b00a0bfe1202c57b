#ifndef QEL_APP_USERFOLDERS_HPP
#define QEL_APP_USERFOLDERS_HPP

#include <filesystem>
#include <optional>

namespace QEL
{
namespace UserFolders
{

/// Where the settings and key binds live: $XDG_CONFIG_HOME/quelmoor, else ~/.config/quelmoor;
/// nothing when neither variable names an absolute folder.
std::optional<std::filesystem::path> config();

/// Where screenshots go: $XDG_PICTURES_DIR/Quelmoor, else ~/Pictures/Quelmoor; nothing when
/// neither variable names an absolute folder.
std::optional<std::filesystem::path> pictures();

} // namespace UserFolders
} // namespace QEL

#endif
