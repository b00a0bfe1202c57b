#include "plym/game/Spritesheet.hpp"

#include "plym/core/File.hpp"
#include "tests/plym/DisplayGuard.hpp"
#include "tests/plym/TestFiles.hpp"

#include <gtest/gtest.h>

using Plym::Spritesheet;

using PlymTest::writeImage;

TEST(Spritesheet, CutsTheTextureIntoEqualCells)
{
    PLYM_REQUIRE_DISPLAY();
    PlymTest::TempDirectory dir;
    Spritesheet sheet;
    ASSERT_TRUE(sheet.loadFromFile(writeImage(dir, "sheet.png", 90, 60), 3, 2));
    EXPECT_EQ(sheet.getSize(), sf::Vector2u(30, 30));
    EXPECT_EQ(sheet.getRect(0, 0), sf::IntRect(0, 0, 30, 30));
    EXPECT_EQ(sheet.getRect(2, 1), sf::IntRect(60, 30, 30, 30));
    EXPECT_EQ(sheet.getTexture().getSize(), sf::Vector2u(90, 60));

    Plym::File file(writeImage(dir, "strip.png", 160, 10));
    ASSERT_TRUE(sheet.loadFromStream(file, 16, 1));
    EXPECT_EQ(sheet.getColumns(), 16u);
    EXPECT_EQ(sheet.getRect(15, 0), sf::IntRect(150, 0, 10, 10));
}

TEST(Spritesheet, FailedLoadsKeepTheSheet)
{
    PLYM_REQUIRE_DISPLAY();
    PlymTest::TempDirectory dir;
    Spritesheet sheet;
    const std::string image = writeImage(dir, "sheet.png", 40, 20);
    ASSERT_TRUE(sheet.loadFromFile(image, 2, 1));
    EXPECT_FALSE(sheet.loadFromFile(dir.file("missing.png"), 2, 1));
    EXPECT_FALSE(sheet.loadFromFile(dir.write("text.png", "not a picture"), 2, 1));
    EXPECT_FALSE(sheet.loadFromFile(image, 0, 1));
    EXPECT_EQ(sheet.getSize(), sf::Vector2u(20, 20));
}
