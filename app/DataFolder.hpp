#ifndef QEL_APP_DATAFOLDER_HPP
#define QEL_APP_DATAFOLDER_HPP

#include <filesystem>
#include <optional>

namespace QEL
{
namespace DataFolder
{

/// A file every data folder holds.
extern const char* const Marker;

/// The folder of the game's data beside the program `executable`: ../share/quelmoor when
/// installed, ../data in the build tree; nothing when neither holds the data.
std::optional<std::filesystem::path> besideProgram(const std::filesystem::path& executable);

/// Without data in the working directory, moves into the data folder beside the running
/// program when there is one; otherwise stays (start-up then names the folder it read from).
void enterWhenMissing();

} // namespace DataFolder
} // namespace QEL

#endif
