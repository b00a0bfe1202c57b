#ifndef PLYM_TESTS_TEMPDIRECTORY_HPP
#define PLYM_TESTS_TEMPDIRECTORY_HPP

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace PlymTest
{

/// A fresh directory under the system's temporary folder, removed with its contents.
class TempDirectory
{
public:
    TempDirectory()
    {
        static int counter = 0;
        mPath = std::filesystem::temp_directory_path()
            / ("plym-test-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        std::filesystem::remove_all(mPath);
        std::filesystem::create_directories(mPath);
    }

    ~TempDirectory()
    {
        std::error_code error;
        std::filesystem::remove_all(mPath, error);
    }

    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return mPath; }

    /// Full path of a file inside, as text.
    std::string file(const std::string& relative) const { return (mPath / relative).string(); }

    /// Writes a file (creating its folders) and returns its full path.
    std::string write(const std::string& relative, const std::string& content) const
    {
        const std::filesystem::path target = mPath / relative;
        std::filesystem::create_directories(target.parent_path());
        std::ofstream(target, std::ios::binary) << content;
        return target.string();
    }

private:
    std::filesystem::path mPath;
};

} // namespace PlymTest

#endif
