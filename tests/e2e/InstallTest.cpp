#include "tests/plym/TempDirectory.hpp"
#include "tests/support/ChildProcess.hpp"
#include "tests/support/VirtualDisplay.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using QEL::Testing::ChildProcess;
using QEL::Testing::VirtualDisplay;

namespace
{

// What an install holds, below its prefix.
const char* const InstalledFiles[] = {
    "bin/quelmoor", "bin/quelmoor-server", "bin/quelmoor-bot",
    "share/quelmoor/Example Chunk.png", "share/quelmoor/tree.png", "share/quelmoor/man.anim",
    "share/quelmoor/I Am The Adventuror.ogg", "share/quelmoor/quelmoor.png",
    "share/applications/quelmoor.desktop", "share/icons/hicolor/256x256/apps/quelmoor.png",
    "share/man/man6/quelmoor.6.gz", "share/man/man6/quelmoor-server.6.gz", "share/man/man6/quelmoor-bot.6.gz",
    "share/doc/quelmoor/copyright", "share/doc/quelmoor/changelog.gz",
    "lib/systemd/system/quelmoor-server.service"};

std::string buildDirectory()
{
    return fs::path(QEL::Testing::programPath("quelmoor")).parent_path().parent_path().string();
}

/// Runs a program to its end; its output, with the status checked.
std::string run(const std::vector<std::string>& arguments, const std::string& directory = "")
{
    ChildProcess program(arguments, {}, directory);
    const auto status = program.waitForExit(300s);
    const std::string output = status ? program.getWholeOutput() : program.getOutput();
    EXPECT_EQ(status, 0) << arguments.front() << "\n" << output;
    return output;
}

std::string contentOf(const fs::path& file)
{
    std::ifstream stream(file);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

TEST(Install, TheInstalledClientFindsItsDataFromAnotherFolder)
{
    PlymTest::TempDirectory prefix;
    PlymTest::TempDirectory elsewhere;
    run({QUELMOOR_CMAKE, "--install", buildDirectory(), "--prefix", prefix.path().string()});
    for (const char* file : InstalledFiles)
        EXPECT_TRUE(fs::is_regular_file(prefix.path() / file)) << file;
    EXPECT_FALSE(fs::exists(prefix.path() / "share/quelmoor/preview.png"));
    EXPECT_NE(contentOf(prefix.path() / "lib/systemd/system/quelmoor-server.service")
                  .find("ExecStart=" + (prefix.path() / "bin/quelmoor-server").string() + " "),
              std::string::npos);

    VirtualDisplay display;
    ChildProcess client({(prefix.path() / "bin/quelmoor").string()},
                        {{"DISPLAY", display.getName()}, {"QUELMOOR_SERVER", "127.0.0.1:1"},
                         {"XDG_CONFIG_HOME", elsewhere.file("config")}, {"ALSOFT_DRIVERS", "null"}},
                        elsewhere.path().string());
    ASSERT_TRUE(client.waitForOutput("Please enter your preferred username: ", 60s)) << client.getOutput();
    client.writeInput("tester\n");
    ASSERT_TRUE(display.waitForWindow("Quelmoor", 60s)) << client.getOutput();
    ASSERT_TRUE(display.closeWindow("Quelmoor"));
    EXPECT_EQ(client.waitForExit(60s), 0) << client.getOutput();
}

TEST(Install, ThePackageHoldsTheInstallAndNamesWhatItNeeds)
{
    PlymTest::TempDirectory output;
    run({QUELMOOR_CPACK, "--config", buildDirectory() + "/CPackConfig.cmake", "-B", output.path().string()}, buildDirectory());
    fs::path package;
    for (const auto& entry : fs::directory_iterator(output.path()))
        if (entry.path().extension() == ".deb")
            package = entry.path();
    ASSERT_EQ(package.filename().string().rfind("quelmoor_0.2.1_", 0), 0u) << package;

    // Lines of "dpkg-deb -c" end with the path: "./usr/bin/quelmoor".
    std::set<std::string> files;
    std::istringstream listing(run({"/usr/bin/dpkg-deb", "--contents", package.string()}));
    for (std::string line; std::getline(listing, line);)
    {
        if (line.front() != 'd')
            files.insert(line.substr(line.find("./usr/") + 6));
    }
    for (const char* file : InstalledFiles)
        EXPECT_EQ(files.count(file), 1u) << file;
    for (const std::string& file : files)
        EXPECT_TRUE(file.rfind("bin/", 0) == 0 || file.rfind("share/", 0) == 0 || file.rfind("lib/systemd/", 0) == 0) << file;
    EXPECT_EQ(files.count("bin/quelmoor-assetgen") + files.count("share/quelmoor/preview.png"), 0u);

    const std::string depends = run({"/usr/bin/dpkg-deb", "--field", package.string(), "Depends"});
    for (const char* needed : {"fonts-dejavu-core", "libsfml-graphics2.5", "libsfml-audio2.5", "libsfml-network2.5",
                               "libangelscript2.35.1", "libfontconfig1", "libx11-6"})
        EXPECT_NE(depends.find(needed), std::string::npos) << needed << " in " << depends;
}

} // namespace
