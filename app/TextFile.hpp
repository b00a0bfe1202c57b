#ifndef QEL_APP_TEXTFILE_HPP
#define QEL_APP_TEXTFILE_HPP

#include <cstdint>
#include <filesystem>
#include <string>

namespace QEL
{
namespace TextFile
{

/// The whole content of a small file the player may have edited; std::runtime_error saying
/// why when it cannot be read or holds more than `maxBytes`.
std::string read(const std::filesystem::path& file, std::uintmax_t maxBytes);

/// Writes `text` to a temporary file beside `file`, then renames it over `file`: a reader
/// sees the old content or the new, never half of it. Creates the folder when missing;
/// std::runtime_error saying why when it fails (nothing half-written is left).
void replace(const std::filesystem::path& file, const std::string& text);

} // namespace TextFile
} // namespace QEL

#endif
