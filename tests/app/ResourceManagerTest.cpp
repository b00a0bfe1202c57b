#include "app/ResourceManager.hpp"

#include <SFML/Audio/OutputSoundFile.hpp>
#include <SFML/Graphics/Image.hpp>

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace
{

class ResourceManagerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // One folder per process: ctest runs the tests of this suite side by side.
        sDir = fs::temp_directory_path() / ("quelmoor-resources-test-" + std::to_string(::getpid()));
        fs::create_directories(sDir);
        writeImage("red.png", sf::Color::Red, 4, 2);
        writeImage("blue.png", sf::Color::Blue, 6, 6);
        std::ofstream(sDir / "broken.png", std::ios::binary) << "this is not a picture";
        writeTone("tone.ogg");
    }

    static void TearDownTestSuite() { fs::remove_all(sDir); }

    static void writeImage(const std::string& name, sf::Color colour, unsigned width, unsigned height)
    {
        sf::Image image;
        image.create(width, height, colour);
        ASSERT_TRUE(image.saveToFile((sDir / name).string()));
    }

    static void writeTone(const std::string& name)
    {
        std::vector<sf::Int16> samples(22050);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<sf::Int16>((i % 50) * 400);
        sf::OutputSoundFile file;
        ASSERT_TRUE(file.openFromFile((sDir / name).string(), 22050, 1));
        file.write(samples.data(), samples.size());
    }

    static std::string path(const std::string& name) { return (sDir / name).string(); }

    static fs::path sDir;
};

fs::path ResourceManagerTest::sDir;

TEST_F(ResourceManagerTest, SecondLoadUnderOneNameFailsAndKeepsTheFirst)
{
    QEL::ResourceManager<sf::Texture> textures;
    textures.load("Tree", path("red.png"));
    try
    {
        textures.load("Tree", path("blue.png"));
        FAIL() << "loading a name twice must throw";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Assertion \"resource.second\" failed!");
    }
    EXPECT_EQ(textures.get("Tree").getSize(), sf::Vector2u(4, 2));
}

TEST_F(ResourceManagerTest, UnknownNamesAreCaseSensitiveFailures)
{
    QEL::ResourceManager<sf::Texture> textures;
    textures.load("Tree", path("red.png"));
    try
    {
        textures.get("tree");
        FAIL() << "an unknown name must throw";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Assertion \"find != mResources.end()\" failed!");
    }
}

TEST_F(ResourceManagerTest, UndecodableAndMissingFilesStoreNothing)
{
    QEL::ResourceManager<sf::Texture> textures;
    for (const std::string& file : {path("broken.png"), path("missing.png")})
    {
        try
        {
            textures.load("Broken", file);
            FAIL() << "loading " << file << " must throw";
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_EQ(std::string(error.what()), "ResourceManager::load - Failed to load from " + file);
        }
        EXPECT_FALSE(textures.contains("Broken"));
    }
}

TEST_F(ResourceManagerTest, SpritesheetsAreCutIntoCells)
{
    QEL::ResourceManager<Plym::Spritesheet> sheets;
    sheets.load("Sheet", path("blue.png"), 3, 2);
    EXPECT_EQ(sheets.get("Sheet").getSize(), sf::Vector2u(2, 3));
}

TEST_F(ResourceManagerTest, MusicKeepsItsStreamWhilePlaying)
{
    QEL::ResourceManager<sf::Music> musics;
    musics.load("Tone", path("tone.ogg"));
    sf::Music& music = musics.get("Tone");
    EXPECT_NEAR(music.getDuration().asSeconds(), 1.f, 0.05f);
    // Seeking reads from the source stream again: it must still be open.
    music.setPlayingOffset(sf::seconds(0.5f));
    music.play();
    EXPECT_NE(music.getStatus(), sf::Music::Stopped);
    music.stop();
}

} // namespace
