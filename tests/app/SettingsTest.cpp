#include "app/Desktop.hpp"
#include "app/KeyBindsFile.hpp"
#include "app/Settings.hpp"
#include "plym/game/InputManager.hpp"
#include "tests/plym/TempDirectory.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace
{

namespace fs = std::filesystem;
using QEL::Settings;

std::string contentOf(const fs::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

TEST(Settings, SavedSettingsReadBackAndNothingElseIsLeft)
{
    PlymTest::TempDirectory folder;
    const fs::path file = folder.path() / "quelmoor" / "settings.json";
    Settings settings;
    settings.setVolumeLevel(2);
    settings.setWindowSize(sf::Vector2u(1024, 700));
    settings.setFullscreen(true);
    settings.setServer("play.example.org:4242");
    settings.save(file);

    EXPECT_EQ(Settings::load(file), settings);
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1);

    // A second save replaces the first whole.
    settings.setServer("");
    settings.save(file);
    EXPECT_EQ(Settings::load(file), settings);
}

TEST(Settings, MissingFileOrValuesGiveTheDefaults)
{
    PlymTest::TempDirectory folder;
    EXPECT_EQ(Settings::load(folder.path() / "settings.json"), Settings());
    EXPECT_EQ(Settings::load(folder.write("settings.json", "{}")), Settings());
    EXPECT_FALSE(fs::exists(folder.path() / "settings.json.bad"));
    const Settings defaults;
    EXPECT_EQ(defaults.getWindowSize(), sf::Vector2u(800, 600));
    EXPECT_EQ(defaults.getVolumeLevel(), 4);
    EXPECT_FALSE(defaults.isFullscreen());
}

TEST(Settings, ValuesOutOfBoundsAreHeldWithin)
{
    PlymTest::TempDirectory folder;
    const Settings big = Settings::load(folder.write(
        "big.json", R"({"volume": 99, "window": {"width": 99999999999, "height": 1}, "server": ")" + std::string(300, 'x') + "\"}"));
    EXPECT_EQ(big.getVolumeLevel(), 4);
    EXPECT_EQ(big.getWindowSize(), sf::Vector2u(Settings::MaxWindowSize.x, Settings::MinWindowSize.y));
    EXPECT_EQ(big.getServer(), "");
    const Settings negative = Settings::load(folder.write("negative.json", R"({"volume": -3, "window": {"width": -5}})"));
    EXPECT_EQ(negative.getVolumeLevel(), 0);
    EXPECT_EQ(negative.getWindowSize().x, Settings::MinWindowSize.x);
}

TEST(Settings, ABrokenFileIsKeptAsideAndTheDefaultsUsed)
{
    PlymTest::TempDirectory folder;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"{\"volume\": 2,", "parse error"},
        {"[1, 2]", "not a JSON object"},
        {R"({"volume": "loud"})", "\"volume\" is not a whole number"},
        {R"({"window": 5})", "\"window\" is not an object"},
        {R"({"fullscreen": "yes"})", "type_error"},
        {"{\"server\": \"" + std::string(Settings::MaxFileBytes, 'x') + "\"}", "larger than 64 KiB"},
    };
    for (const auto& [content, reason] : cases)
    {
        const std::string file = folder.write("settings.json", content);
        testing::internal::CaptureStderr();
        EXPECT_EQ(Settings::load(file), Settings()) << content.substr(0, 40);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("Settings file " + file + " is broken ("), std::string::npos) << said;
        EXPECT_NE(said.find(reason), std::string::npos) << said;
        EXPECT_NE(said.find("kept as settings.json.bad, using the defaults\n"), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_FALSE(fs::exists(file));
        EXPECT_EQ(contentOf(file + ".bad"), content);
    }
}

TEST(Settings, TheDesktopWritesWhatChangedWhenItGoes)
{
    PlymTest::TempDirectory folder;
    Plym::InputManager input;
    {
        QEL::Desktop desktop;
        desktop.useFolder(folder.path(), input);
        EXPECT_FALSE(fs::exists(folder.path() / "settings.json"));    // nothing changed yet
        desktop.rememberServer("10.1.2.3:999");
    }
    EXPECT_EQ(Settings::load(folder.path() / "settings.json").getServer(), "10.1.2.3:999");
}

const char* const GoodBinds = R"({ "Binds": [ "Up", "Down", "Left", "Right", "Run", "Jump" ],
  "Primary": [ { "Input": "Up", "Key": { "Key": "Up" } }, { "Input": "Down", "Key": { "Key": "Down" } },
               { "Input": "Left", "Key": { "Key": "Left" } }, { "Input": "Right", "Key": { "Key": "Right" } },
               { "Input": "Run", "Key": { "Key": "RShift" } }, { "Input": "Jump", "Key": { "Key": "RControl" } } ] })";

const char* const DefaultBinds = R"({ "Binds": [ "Up", "Down", "Left", "Right", "Run", "Jump" ],
  "Primary": [ { "Input": "Up", "Key": { "Key": "W" } } ] })";

TEST(KeyBindsFile, AGoodFileReplacesTheBinds)
{
    PlymTest::TempDirectory folder;
    Plym::InputManager input;
    input.parseBinds(DefaultBinds);
    EXPECT_FALSE(QEL::KeyBindsFile::load(folder.path() / "binds.json", input));    // no file: quietly nothing
    ASSERT_TRUE(QEL::KeyBindsFile::load(folder.write("binds.json", GoodBinds), input));
    const auto& up = input.getBind("Up").getBindings();
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up.front().key, sf::Keyboard::Up);
    EXPECT_EQ(input.getBind("Jump").getBindings().front().key, sf::Keyboard::RControl);
}

TEST(KeyBindsFile, ABadFileIsNamedAndTheBindsStay)
{
    PlymTest::TempDirectory folder;
    const std::string withoutJump = R"({ "Binds": [ "Up", "Down", "Left", "Right", "Run" ] })";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"{ \"Binds\": [", "malformed binds"},
        {std::string(GoodBinds).replace(std::string(GoodBinds).find("RControl"), 8, "Ctrl"), "unknown key \"Ctrl\""},
        {withoutJump, "it does not list the input \"Jump\" in \"Binds\""},
        {std::string(QEL::KeyBindsFile::MaxFileBytes + 1, ' '), "larger than 64 KiB"},
    };
    for (const auto& [content, problem] : cases)
    {
        Plym::InputManager input;
        input.parseBinds(DefaultBinds);
        const std::string file = folder.write("binds.json", content);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(QEL::KeyBindsFile::load(file, input));
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.rfind("Key binds file " + file + " not used: ", 0), 0u) << said;
        EXPECT_NE(said.find(problem), std::string::npos) << said;
        EXPECT_NE(said.find("; using the default keys\n"), std::string::npos) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(input.getBind("Up").getBindings().front().key, sf::Keyboard::W);
    }
}

} // namespace
