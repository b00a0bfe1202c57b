#include "tools/bot/BotOptions.hpp"

#include "tools/CommandLine.hpp"

#include <stdexcept>

namespace QEL
{
namespace Bots
{
namespace
{

double readSeconds(const std::string& option, const std::string& text)
{
    std::size_t used = 0;
    double value = -1.0;
    try
    {
        value = std::stod(text, &used);
    }
    catch (const std::exception&)
    {
        used = 0;
    }
    if (used == 0 || used != text.size() || !(value >= 0.0 && value <= 86400.0 * 365))
        throw std::runtime_error("Invalid value for " + option + ": '" + text + "'");
    return value;
}

/// host:port, host alone, or :port.
void readServer(const std::string& text, BotOptions& options)
{
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos)
    {
        options.host = text;
        return;
    }
    if (colon > 0)
        options.host = text.substr(0, colon);
    options.port = static_cast<std::uint16_t>(CommandLine::readNumber("--server", text.substr(colon + 1), 1, 65535));
}

bool takesValue(const std::string& option)
{
    return option == "--count" || option == "--duration" || option == "--server" || option == "--seed" ||
           option == "--prefix" || option == "--chat-every" || option == "--data-dir";
}

} // namespace

BotOptions BotOptions::parse(int argc, const char* const* argv, bool& help)
{
    BotOptions options;
    help = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h")
            help = true;
        else if (option == "--chat")
            options.chat = true;
        else if (option == "--quiet")
            options.quiet = true;
        else if (option == "--spread")
            options.spread = true;
        else if (!takesValue(option))
            throw std::runtime_error("Unknown option: " + option);
        else if (i + 1 >= argc)
            throw std::runtime_error("Missing value for " + option);
        else if (option == "--count")
            options.count = static_cast<unsigned>(CommandLine::readNumber(option, argv[++i], 1, 4096));
        else if (option == "--duration")
            options.duration = readSeconds(option, argv[++i]);
        else if (option == "--server")
            readServer(argv[++i], options);
        else if (option == "--chat-every")
        {
            options.chatEvery = readSeconds(option, argv[++i]);
            options.chat = options.chat || options.chatEvery > 0.0;
        }
        else if (option == "--data-dir")
            options.dataDir = argv[++i];
        else if (option == "--seed")
            options.seed = static_cast<std::uint32_t>(CommandLine::readNumber(option, argv[++i], 0, 0xFFFFFFFFul));
        else
            options.prefix = argv[++i];
    }
    if (options.prefix.empty())
        throw std::runtime_error("Invalid value for --prefix: ''");
    return options;
}

std::string BotOptions::usage()
{
    return "Usage: quelmoor-bot [options]\n"
           "Headless Quelmoor players: they join a server, walk about the island near the\n"
           "world's centre (with --spread: all over it, on land) at walking speed and, with\n"
           "--chat, now and then say a line.\n"
           "\n"
           "Options:\n"
           "  --count N          number of bots (default 4)\n"
           "  --duration S       seconds to play before leaving (default 60; 0 = until interrupted)\n"
           "  --server HOST:PORT server to join (default 127.0.0.1:42242)\n"
           "  --chat             let the bots chat\n"
           "  --chat-every S     each bot says a line every S seconds (implies --chat)\n"
           "  --spread           start anywhere on the island and walk all over it, never into\n"
           "                     water (reads the world map, \"Example Chunk.png\")\n"
           "  --data-dir DIR     folder holding the world map (default: the working folder)\n"
           "  --prefix NAME      bots are called NAME-1, NAME-2, ... (default bot)\n"
           "  --seed N           seed of the bots' walks and lines (default 1)\n"
           "  --quiet            print only the summary\n"
           "  --help             show this text\n"
           "\n"
           "Exit status: 0 when at least one bot joined, 1 otherwise, 2 on a bad option.\n";
}

} // namespace Bots
} // namespace QEL
