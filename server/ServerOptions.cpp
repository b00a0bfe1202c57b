#include "server/ServerOptions.hpp"

#include "tools/CommandLine.hpp"

#include <stdexcept>

namespace QEL
{
namespace Hosting
{
namespace
{

bool takesValue(const std::string& option)
{
    return option == "--port" || option == "--bind" || option == "--max-players" || option == "--idle-timeout" ||
           option == "--heartbeat" || option == "--flush-ms";
}

} // namespace

ServerOptions ServerOptions::parse(int argc, const char* const* argv, bool& help)
{
    ServerOptions options;
    help = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h")
        {
            help = true;
            continue;
        }
        if (option == "--quiet")
        {
            options.quiet = true;
            continue;
        }
        if (!takesValue(option))
            throw std::runtime_error("Unknown option: " + option);
        if (i + 1 >= argc)
            throw std::runtime_error("Missing value for " + option);
        const std::string value = argv[++i];
        if (option == "--port")
            options.port = static_cast<std::uint16_t>(CommandLine::readNumber(option, value, 0, 65535));
        else if (option == "--bind")
            options.bind = value;
        else if (option == "--max-players")
            options.maxPlayers = CommandLine::readNumber(option, value, 1, 100000);
        else if (option == "--idle-timeout")
            options.idleTimeout = std::chrono::seconds(CommandLine::readNumber(option, value, 1, 86400));
        else if (option == "--heartbeat")
            options.heartbeatInterval = std::chrono::seconds(CommandLine::readNumber(option, value, 1, 3600));
        else
            options.flushInterval = std::chrono::milliseconds(CommandLine::readNumber(option, value, 0, 1000));
    }
    return options;
}

std::string ServerOptions::usage()
{
    return "Usage: quelmoor-server [options]\n"
           "The Quelmoor game server: players join over TCP, see each other move, chat and\n"
           "share what they do to the world.\n"
           "\n"
           "Options:\n"
           "  --port N          TCP port to listen on (default 42242; 0 picks a free one)\n"
           "  --bind ADDRESS    address to listen on (default 0.0.0.0)\n"
           "  --max-players N   players allowed at once (default 64)\n"
           "  --idle-timeout S  drop a client silent for S seconds (default 30)\n"
           "  --heartbeat S     send every player a heartbeat each S seconds (default 5)\n"
           "  --flush-ms N      gather outgoing records for up to N ms before writing (default 5)\n"
           "  --quiet           print no line per join, leave and drop\n"
           "  --help            show this text\n"
           "\n"
           "SIGINT or SIGTERM stops the server cleanly.\n";
}

} // namespace Hosting
} // namespace QEL
