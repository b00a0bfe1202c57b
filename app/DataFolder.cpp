#include "app/DataFolder.hpp"

namespace QEL
{
namespace DataFolder
{

const char* const Marker = "Example Chunk.png";

std::optional<std::filesystem::path> besideProgram(const std::filesystem::path& executable)
{
    const std::filesystem::path prefix = executable.parent_path().parent_path();
    for (const std::filesystem::path& folder : {prefix / "share" / "quelmoor", prefix / "data"})
    {
        std::error_code error;
        if (std::filesystem::exists(folder / Marker, error))
            return folder;
    }
    return std::nullopt;
}

void enterWhenMissing()
{
    std::error_code error;
    if (std::filesystem::exists(Marker, error))
        return;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return;
    if (const auto folder = besideProgram(executable))
        std::filesystem::current_path(*folder, error);
}

} // namespace DataFolder
} // namespace QEL
