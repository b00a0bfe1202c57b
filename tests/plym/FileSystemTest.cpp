#include "plym/core/FileSystem.hpp"

#include "tests/plym/TempDirectory.hpp"

#include <gtest/gtest.h>

using Plym::FileSystem;

namespace
{

class ScanDirectory : public testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"a.new", "b.png.new", "c.png", "x1.png", "x12.png", "sub/d.new", "sub/deep/e.new"})
            mDir.write(name, name);
        std::filesystem::create_directories(mDir.path() / "folder.new");
        mRoot = mDir.path().string();
    }

    PlymTest::TempDirectory mDir;
    std::string mRoot;
};

} // namespace

TEST_F(ScanDirectory, ListsMatchingFilesDirectlyInTheFolder)
{
    const std::vector<std::string> expected = {mRoot + "/a.new", mRoot + "/b.png.new"};
    EXPECT_EQ(FileSystem::scanDirectory(mRoot, "*.new", false), expected);
}

TEST_F(ScanDirectory, RecursiveSearchAddsSubfoldersSorted)
{
    const std::vector<std::string> expected = {mRoot + "/a.new", mRoot + "/b.png.new", mRoot + "/sub/d.new",
                                               mRoot + "/sub/deep/e.new"};
    EXPECT_EQ(FileSystem::scanDirectory(mRoot, "*.new", true), expected);
}

TEST_F(ScanDirectory, QuestionMarkStandsForOneCharacter)
{
    const std::vector<std::string> expected = {mRoot + "/x1.png"};
    EXPECT_EQ(FileSystem::scanDirectory(mRoot, "x?.png", false), expected);
    EXPECT_EQ(FileSystem::scanDirectory(mRoot, "*", false).size(), 5u);
}

TEST_F(ScanDirectory, TrailingSlashAndMissingFolder)
{
    const std::vector<std::string> expected = {mRoot + "/c.png"};
    EXPECT_EQ(FileSystem::scanDirectory(mRoot + "/", "c.*", false), expected);
    EXPECT_TRUE(FileSystem::scanDirectory(mRoot + "/none", "*", true).empty());
}

TEST(FileSystem, WildcardMatching)
{
    EXPECT_TRUE(FileSystem::matches("", "*"));
    EXPECT_TRUE(FileSystem::matches("abc", "a*c"));
    EXPECT_TRUE(FileSystem::matches("aXbXc", "a*b*c"));
    EXPECT_TRUE(FileSystem::matches("aaab", "*a*b"));
    EXPECT_TRUE(FileSystem::matches("tree.png.new", "*.new"));
    EXPECT_FALSE(FileSystem::matches("ac", "a?c"));
    EXPECT_FALSE(FileSystem::matches("abc", "abcd"));
    EXPECT_FALSE(FileSystem::matches("abcd", "abc"));
    EXPECT_FALSE(FileSystem::matches("new", "*.new"));
    EXPECT_FALSE(FileSystem::matches("a.newer", "*.new"));
}
