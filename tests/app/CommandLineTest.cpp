#include "app/CommandLine.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using QEL::CommandLine;

CommandLine parse(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "/usr/games/quelmoor");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return CommandLine(static_cast<int>(arguments.size()), argv.data());
}

TEST(CommandLine, ReadsEveryOptionInBothForms)
{
    const CommandLine none = parse({});
    EXPECT_EQ(none.getProgram(), "quelmoor");
    EXPECT_TRUE(none.getServer().empty() && none.getName().empty() && none.getDataDir().empty());
    EXPECT_FALSE(none.wantsFullscreen() || none.wantsPlainDrawing() || none.wantsHelp() || none.wantsVersion());

    const CommandLine spaced = parse({"--server", "example.org:4000", "--name", "Ada", "--data-dir", "/d", "--fullscreen",
                                      "--plain-drawing", "--help", "--version"});
    EXPECT_EQ(spaced.getServer(), "example.org:4000");
    EXPECT_EQ(spaced.getName(), "Ada");
    EXPECT_EQ(spaced.getDataDir(), "/d");
    EXPECT_TRUE(spaced.wantsFullscreen() && spaced.wantsPlainDrawing() && spaced.wantsHelp() && spaced.wantsVersion());

    const CommandLine joined = parse({"--server=10.0.0.1", "--name=Bö", "--data-dir=a=b"});
    EXPECT_EQ(joined.getServer(), "10.0.0.1");
    EXPECT_EQ(joined.getName(), "Bö");
    EXPECT_EQ(joined.getDataDir(), "a=b");
}

TEST(CommandLine, EachMistakeIsNamed)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"-x"}, "unknown option -x"},
        {{"--bogus=1"}, "unknown option --bogus=1"},
        {{"stray"}, "unexpected argument stray"},
        {{"--server"}, "the option --server needs a value"},
        {{"--name"}, "the option --name needs a value"},
        {{"--data-dir"}, "the option --data-dir needs a value"},
        {{"--server="}, "the option --server needs a value"},
        {{"--name", "--fullscreen"}, "the option --name needs a value"},
        {{"--name", "two words"}, "the option --name needs one word, without spaces or control characters"},
        {{"--name", "tab\there"}, "the option --name needs one word, without spaces or control characters"},
        {{"--fullscreen=yes"}, "the option --fullscreen takes no value"},
        {{"--version", "--bogus"}, "unknown option --bogus"},
    };
    for (const auto& [arguments, text] : cases)
    {
        try
        {
            parse(arguments);
            ADD_FAILURE() << "accepted " << arguments.front();
        }
        catch (const CommandLine::Error& error)
        {
            EXPECT_EQ(error.what(), text);
        }
    }
}

} // namespace
