// The generated data directory: every file decodes and has the size its grid needs, the
// animation file names real frames, the music plays long enough, and the generator repeats itself.
#include "tests/tools/AssetImages.hpp"
#include "tests/tools/AssetSounds.hpp"

#include <gtest/gtest.h>

#include <unistd.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

struct Grid {
    const char* file;
    unsigned columns;
    unsigned rows;
    unsigned cellWidth;   // 0: any size that divides evenly
    unsigned cellHeight;
};

const Grid Grids[] = {
    {"grass.png", 2, 2, 90, 90},          {"desert.png", 1, 1, 90, 90},
    {"beach.png", 1, 2, 90, 90},          {"water.png", 4, 5, 90, 90},
    {"grasswater.png", 3, 4, 90, 90},     {"grasswatersh.png", 3, 4, 90, 90},
    {"grassdesert.png", 3, 4, 90, 90},    {"grassbeach.png", 3, 4, 90, 90},
    {"beachwater.png", 12, 3, 90, 90},    {"Example Chunk.png", 256, 256, 1, 1},
    {"tree.png", 8, 6, 180, 180},         {"QELCactus.png", 3, 6, 30, 30},
    {"QELHair.png", 5, 1, 180, 270},      {"QELPath.png", 8, 4, 90, 90},
    {"QELTorg.png", 8, 5, 90, 90},        {"Snake1.png", 3, 2, 0, 0},
    {"Snake2.png", 3, 2, 0, 0},           {"Volume.png", 3, 2, 64, 64},
    {"GUI_spritesheet.png", 16, 1, 0, 0}, {"MapMask.png", 1, 1, 175, 175},
    {"minimapoverlay.png", 1, 1, 177, 177},
};

class ImageGrid : public ::testing::TestWithParam<Grid> {};

TEST_P(ImageGrid, DecodesAtTheSizeOfItsGrid)
{
    const Grid& grid = GetParam();
    const sf::Image image = AssetImages::load(grid.file);
    if (grid.cellWidth == 0)
    {
        EXPECT_EQ(image.getSize().x % grid.columns, 0u);
        EXPECT_EQ(image.getSize().y % grid.rows, 0u);
        EXPECT_GT(image.getSize().x, 0u);
    }
    else
    {
        EXPECT_EQ(image.getSize().x, grid.columns * grid.cellWidth);
        EXPECT_EQ(image.getSize().y, grid.rows * grid.cellHeight);
    }
}

INSTANTIATE_TEST_SUITE_P(AllSheets, ImageGrid, ::testing::ValuesIn(Grids),
                         [](const ::testing::TestParamInfo<Grid>& info) {
                             std::string name = info.param.file;
                             name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }),
                                        name.end());
                             return name;
                         });

TEST(PlainTextures, DecodeAndAreNotEmpty)
{
    for (const char* name : {"QELmancoll.png", "Treecoll.png", "CactiColl.png", "axe.png", "arrowSilver_right.png",
                             "GUI_new_frame.png", "QELMan.png", "preview.png", "quelmoor.png"})
    {
        SCOPED_TRACE(name);
        const sf::Image image = AssetImages::load(name);
        EXPECT_TRUE(AssetImages::anyOpaque(image, sf::IntRect(0, 0, image.getSize().x, image.getSize().y)));
    }
}

nlohmann::json readAnimation()
{
    std::ifstream file("man.anim");
    return nlohmann::json::parse(file);
}

TEST(ManAnimation, NamesEveryDirectionWithFramesInsideItsSheet)
{
    const nlohmann::json animation = readAnimation();
    const sf::Image sheet = AssetImages::load(animation.at("image").get<std::string>());
    const int width = animation.at("frameWidth").get<int>();
    const int height = animation.at("frameHeight").get<int>();
    EXPECT_EQ(width, 180);
    EXPECT_EQ(height, 270);
    for (const char* name : {"Idle", "Up", "Down", "Left", "Right", "UpLeft", "UpRight", "DownLeft", "DownRight"})
    {
        SCOPED_TRACE(name);
        const nlohmann::json& entry = animation.at("animations").at(name);
        EXPECT_GT(entry.at("fps").get<float>(), 0.0f);
        ASSERT_FALSE(entry.at("frames").empty());
        for (const auto& frame : entry.at("frames"))
        {
            const int column = frame.at(0).get<int>();
            const int row = frame.at(1).get<int>();
            ASSERT_GE(column, 0);
            ASSERT_GE(row, 0);
            ASSERT_LE(static_cast<unsigned>((column + 1) * width), sheet.getSize().x);
            ASSERT_LE(static_cast<unsigned>((row + 1) * height), sheet.getSize().y);
            // Someone stands in it, feet on the frame's bottom around its middle.
            const sf::IntRect body = AssetImages::opaqueBounds(sheet, sf::IntRect(column * width, row * height, width, height));
            ASSERT_GT(body.width, 0);
            EXPECT_GE(body.top + body.height, row * height + height - 6);
            EXPECT_NEAR(body.left + body.width / 2.0, column * width + 90.0, 25.0);
        }
    }
}

using AssetSounds::decode;
using AssetSounds::Track;

class Music : public ::testing::TestWithParam<const char*> {};

TEST_P(Music, IsALoudEnoughPieceOfAtLeast45SecondsUnder1_5MB)
{
    const Track track = decode(GetParam());
    ASSERT_GT(track.rate, 0u);
    EXPECT_GE(static_cast<double>(track.samples.size()) / track.rate, 45.0);
    EXPECT_GT(AssetSounds::rms(track, 0, track.samples.size()), 0.05);
    EXPECT_LT(std::filesystem::file_size(GetParam()), 1500u * 1000u);
}

TEST_P(Music, LoopsWithoutAJump)
{
    // The step from the last sample back to the first is no larger than the music's own steps.
    const Track track = decode(GetParam());
    std::vector<float> steps;
    for (std::size_t i = 1; i < track.samples.size(); ++i)
        steps.push_back(std::fabs(track.samples[i] - track.samples[i - 1]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
    const float typicalLargeStep = steps[steps.size() * 99 / 100];
    EXPECT_LE(std::fabs(track.samples.front() - track.samples.back()), typicalLargeStep);
}

INSTANTIATE_TEST_SUITE_P(BothTracks, Music, ::testing::Values("I Am The Adventuror.ogg", "DSRT.ogg"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.index == 0 ? "Grassland" : "Desert");
                         });

std::vector<char> bytesOf(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(Generator, WritesTheSameBytesOnEveryRun)
{
    const std::filesystem::path fresh = std::filesystem::temp_directory_path() / ("quelmoor-assetgen-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(fresh);
    std::filesystem::create_directories(fresh);
    const std::string command = std::string("\"") + QUELMOOR_ASSETGEN + "\" --output \"" + fresh.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fresh))
    {
        SCOPED_TRACE(entry.path().filename().string());
        const std::filesystem::path existing = entry.path().filename();
        ASSERT_TRUE(std::filesystem::exists(existing));
        EXPECT_TRUE(bytesOf(entry.path()) == bytesOf(existing));
        ++compared;
    }
    EXPECT_GE(compared, 32);
    std::filesystem::remove_all(fresh);
}

TEST(Generator, ExplainsItselfAndRejectsUnknownArguments)
{
    const std::string quiet = " > /dev/null 2>&1";
    EXPECT_EQ(std::system((std::string("\"") + QUELMOOR_ASSETGEN + "\" --help" + quiet).c_str()), 0);
    EXPECT_NE(std::system((std::string("\"") + QUELMOOR_ASSETGEN + "\" --bogus" + quiet).c_str()), 0);
}

} // namespace
