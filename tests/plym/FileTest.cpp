#include "plym/core/File.hpp"

#include "tests/plym/TempDirectory.hpp"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <vector>

using Plym::File;

TEST(File, ReadsAndSeeksLikeAStream)
{
    PlymTest::TempDirectory dir;
    std::string content;
    for (int i = 0; i < 1024; ++i)
        content += static_cast<char>(i % 256);
    File file(dir.write("bytes.bin", content));
    ASSERT_FALSE(!file);
    EXPECT_EQ(file.getSize(), 1024);

    std::vector<unsigned char> buffer(100);
    ASSERT_EQ(file.read(buffer.data(), 10), 10);
    EXPECT_EQ(buffer[9], 9);
    EXPECT_EQ(file.tell(), 10);

    EXPECT_EQ(file.seek(1000), 1000);
    EXPECT_EQ(file.read(buffer.data(), 100), 24);    // short read at the end
    EXPECT_EQ(buffer[0], 1000 % 256);

    EXPECT_EQ(file.seek(5), 5);                      // still usable after reaching the end
    ASSERT_EQ(file.read(buffer.data(), 1), 1);
    EXPECT_EQ(buffer[0], 5);
    EXPECT_EQ(file.seek(2000), -1);
}

TEST(File, ReportsFilesThatCannotBeOpened)
{
    PlymTest::TempDirectory dir;
    File missing(dir.file("missing.png"));
    EXPECT_TRUE(!missing);
    char byte;
    EXPECT_EQ(missing.read(&byte, 1), -1);
    EXPECT_EQ(missing.getSize(), -1);

    EXPECT_TRUE(!File(dir.path().string()));                 // a folder is no file
    EXPECT_TRUE(!File(dir.write("data.txt", "x"), 1, true)); // only mode 0 (read) exists
}

TEST(File, FeedsSfmlLoaders)
{
    PlymTest::TempDirectory dir;
    sf::Image image;
    image.create(7, 5, sf::Color(10, 20, 30));
    ASSERT_TRUE(image.saveToFile(dir.file("picture.png")));

    File file(dir.file("picture.png"));
    sf::Image loaded;
    ASSERT_TRUE(loaded.loadFromStream(file));
    EXPECT_EQ(loaded.getSize(), sf::Vector2u(7, 5));
    EXPECT_EQ(loaded.getPixel(6, 4), sf::Color(10, 20, 30));
}
