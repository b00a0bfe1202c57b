#include "app/TextFile.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <unistd.h>

namespace QEL
{
namespace TextFile
{

std::string read(const std::filesystem::path& file, std::uintmax_t maxBytes)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        throw std::runtime_error("cannot be read: " + error.message());
    if (size > maxBytes)
        throw std::runtime_error("larger than " + std::to_string(maxBytes / 1024) + " KiB");
    std::ifstream stream(file, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(stream), {});
    if (!stream && !stream.eof())
        throw std::runtime_error("cannot be read");
    // It may have grown since it was measured.
    if (text.size() > maxBytes)
        throw std::runtime_error("larger than " + std::to_string(maxBytes / 1024) + " KiB");
    return text;
}

void replace(const std::filesystem::path& file, const std::string& text)
{
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error)
        throw std::runtime_error("cannot make the folder " + file.parent_path().string() + ": " + error.message());
    std::filesystem::path temporary = file;
    temporary += ".tmp" + std::to_string(::getpid());
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        stream << text;
        stream.flush();
        if (!stream)
        {
            const std::string reason = std::strerror(errno);
            std::filesystem::remove(temporary, error);
            throw std::runtime_error("cannot write " + temporary.string() + ": " + reason);
        }
    }
    std::filesystem::rename(temporary, file, error);
    if (error)
    {
        const std::string reason = error.message();
        std::filesystem::remove(temporary, error);
        throw std::runtime_error("cannot rename " + temporary.string() + " to " + file.string() + ": " + reason);
    }
}

} // namespace TextFile
} // namespace QEL
