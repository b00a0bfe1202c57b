#include "app/CommandLine.hpp"

#include <algorithm>
#include <filesystem>

namespace QEL
{
namespace
{

const char* const ValuedOptions[] = {"--server", "--name", "--data-dir"};
const char* const Flags[] = {"--fullscreen", "--plain-drawing", "--help", "--version"};

bool isValued(const std::string& option)
{
    return std::find(std::begin(ValuedOptions), std::end(ValuedOptions), option) != std::end(ValuedOptions);
}

bool isFlag(const std::string& option)
{
    return std::find(std::begin(Flags), std::end(Flags), option) != std::end(Flags);
}

/// A user name is one word, as the prompt reads it.
bool isOneWord(const std::string& name)
{
    return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= ' ' || byte == 0x7f;
    });
}

} // namespace

CommandLine::CommandLine(int argc, char** argv) : mProgram(programName(argc, argv))
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        const std::string option = argument.substr(0, equals);
        if (isValued(option))
        {
            // A value may not look like an option: "--name --fullscreen" forgot the name.
            const bool inlineValue = equals != std::string::npos;
            if (!inlineValue && (i + 1 >= argc || std::string(argv[i + 1]).rfind("--", 0) == 0))
                throw Error("the option " + option + " needs a value");
            readValue(option, inlineValue ? argument.substr(equals + 1) : argv[++i]);
        }
        else if (isFlag(option) && equals == std::string::npos)
            readFlag(option);
        else if (isFlag(option))
            throw Error("the option " + option + " takes no value");
        else if (argument.rfind("-", 0) == 0)
            throw Error("unknown option " + argument);
        else
            throw Error("unexpected argument " + argument);
    }
}

std::string CommandLine::programName(int argc, char** argv)
{
    if (argc > 0 && argv[0] && *argv[0])
        return std::filesystem::path(argv[0]).filename().string();
    return "quelmoor";
}

void CommandLine::readValue(const std::string& option, const std::string& value)
{
    if (value.empty())
        throw Error("the option " + option + " needs a value");
    if (option == "--server")
        mServer = value;
    else if (option == "--data-dir")
        mDataDir = value;
    else if (!isOneWord(value))
        throw Error("the option --name needs one word, without spaces or control characters");
    else
        mName = value;
}

void CommandLine::readFlag(const std::string& option)
{
    if (option == "--fullscreen")
        mFullscreen = true;
    else if (option == "--plain-drawing")
        mPlainDrawing = true;
    else if (option == "--help")
        mHelp = true;
    else
        mVersion = true;
}

} // namespace QEL
