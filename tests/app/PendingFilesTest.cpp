#include "app/PendingFiles.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace
{

class PendingFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mDir = fs::temp_directory_path() / ("quelmoor-pending-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(mDir);
        fs::create_directories(mDir);
    }

    void TearDown() override { fs::remove_all(mDir); }

    void write(const fs::path& path, const std::string& text) const
    {
        std::ofstream(mDir / path, std::ios::binary) << text;
    }

    std::string read(const fs::path& path) const
    {
        std::ifstream in(mDir / path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    bool exists(const fs::path& path) const { return fs::exists(mDir / path); }

    fs::path mDir;
};

TEST_F(PendingFilesTest, ReplacesExistingFileAndLeavesNoLeftovers)
{
    write("X.png", "old");
    write("X.png.new", "new");
    QEL::replacePendingFiles(mDir.string());
    EXPECT_EQ(read("X.png"), "new");
    EXPECT_FALSE(exists("X.png.new"));
    EXPECT_FALSE(exists("X.png.old"));
}

TEST_F(PendingFilesTest, CreatesMissingTarget)
{
    write("Y.ogg.new", "fresh");
    QEL::replacePendingFiles(mDir.string());
    EXPECT_EQ(read("Y.ogg"), "fresh");
    EXPECT_FALSE(exists("Y.ogg.new"));
}

TEST_F(PendingFilesTest, LeavesSubdirectoriesAndOtherFilesAlone)
{
    fs::create_directories(mDir / "sub");
    write("sub/Z.png", "inner old");
    write("sub/Z.png.new", "inner new");
    write("notes.newer", "kept");
    QEL::replacePendingFiles(mDir.string());
    EXPECT_EQ(read("sub/Z.png"), "inner old");
    EXPECT_EQ(read("sub/Z.png.new"), "inner new");
    EXPECT_EQ(read("notes.newer"), "kept");
}

} // namespace
