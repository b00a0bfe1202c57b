#include "server/ServerOptions.hpp"

#include "tools/CommandLine.hpp"

#include <iomanip>
#include <sstream>
#include <stdexcept>

namespace QEL
{
namespace Hosting
{
namespace
{

using Setter = void (*)(ServerOptions&, const std::string& option, const std::string& value);

/// An option that takes a value: its name, the value's placeholder, its help line and how it is stored.
struct ValueOption
{
    const char* name;
    const char* value;
    const char* help;
    Setter set;
};

unsigned long number(const std::string& option, const std::string& value, unsigned long low, unsigned long high)
{
    return CommandLine::readNumber(option, value, low, high);
}

std::chrono::milliseconds seconds(const std::string& option, const std::string& value, unsigned long high)
{
    return std::chrono::seconds(number(option, value, 1, high));
}

const ValueOption ValueOptions[] = {
    {"--port", "N", "TCP port to listen on (default 42242; 0 picks a free one)",
     [](ServerOptions& o, const std::string& n, const std::string& v) {
         o.port = static_cast<std::uint16_t>(number(n, v, 0, 65535));
     }},
    {"--bind", "ADDRESS", "address to listen on (default 0.0.0.0)",
     [](ServerOptions& o, const std::string&, const std::string& v) { o.bind = v; }},
    {"--max-players", "N", "players allowed at once (default 64)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.maxPlayers = number(n, v, 1, 100000); }},
    {"--idle-timeout", "S", "drop a client silent for S seconds (default 30)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.idleTimeout = seconds(n, v, 86400); }},
    {"--heartbeat", "S", "send every player a heartbeat each S seconds (default 5)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.heartbeatInterval = seconds(n, v, 3600); }},
    {"--flush-ms", "N", "gather outgoing records N ms between writes, up to 3 N when busy (default 5)",
     [](ServerOptions& o, const std::string& n, const std::string& v) {
         o.flushInterval = std::chrono::milliseconds(number(n, v, 0, 1000));
     }},
    {"--max-backlog-kib", "N", "drop a player with more than N KiB unsent, as not reading (default 4096)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.maxBacklog = 1024 * number(n, v, 16, 1 << 20); }},
    {"--join-timeout", "S", "close a connection that has not joined after S seconds (default 5)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.joinTimeout = seconds(n, v, 3600); }},
    {"--max-pending", "N", "connections not joined yet allowed at once (default 64)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.maxPending = number(n, v, 1, 100000); }},
    {"--max-pending-per-address", "N", "the same, from one remote address (default 8)",
     [](ServerOptions& o, const std::string& n, const std::string& v) {
         o.maxPendingPerAddress = number(n, v, 1, 100000);
     }},
    {"--chat-lines", "N", "chat lines a player may say per chat window (default 5)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.chatLines = number(n, v, 1, 100000); }},
    {"--chat-window", "S", "length of the chat window in seconds (default 5)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.chatWindow = seconds(n, v, 3600); }},
    {"--max-chat-bytes", "N", "cut chat lines to N bytes of UTF-8 (default 1024)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.maxChatBytes = number(n, v, 4, 65535); }},
    {"--max-world-events", "N", "world events remembered for late joiners (default 65536)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.maxWorldEvents = number(n, v, 0, 1 << 24); }},
    {"--max-entity-id", "N", "ignore world events for entity ids above N (default 70000)",
     [](ServerOptions& o, const std::string& n, const std::string& v) {
         o.maxEntityId = static_cast<std::uint32_t>(number(n, v, 1, 0xFFFFFFFF));
     }},
    {"--event-rate", "N", "world events per second one player may cause (default 4)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.eventRate = number(n, v, 1, 100000); }},
    {"--event-burst", "N", "...of which N at once (default 16)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.eventBurst = number(n, v, 1, 100000); }},
    {"--stream-rate", "N", "movement records per second relayed for one player (default 12)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.streamRate = number(n, v, 1, 100000); }},
    {"--stream-burst", "N", "...of which N at once (default 6)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.streamBurst = number(n, v, 1, 100000); }},
    {"--flood-rate", "N", "drop a player sending more than N movement records per second... (default 60)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.floodRate = number(n, v, 1, 1000000); }},
    {"--flood-seconds", "S", "...for S seconds on end (default 3)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.floodSeconds = number(n, v, 1, 3600); }},
    {"--interest-radius", "N",
     "relay movement only to players within N units (map: 23040; default 2500)",
     [](ServerOptions& o, const std::string& n, const std::string& v) {
         o.interestRadius = static_cast<float>(number(n, v, 100, 40000));
     }},
    {"--log-lines", "N", "console lines of one kind (refusals, drops...) per log interval (default 5)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.logLines = number(n, v, 1, 100000); }},
    {"--log-interval", "S", "length of the log interval in seconds (default 10)",
     [](ServerOptions& o, const std::string& n, const std::string& v) { o.logInterval = seconds(n, v, 3600); }},
};

const ValueOption* findOption(const std::string& name)
{
    for (const ValueOption& option : ValueOptions)
    {
        if (name == option.name)
            return &option;
    }
    return nullptr;
}

} // namespace

ServerOptions ServerOptions::parse(int argc, const char* const* argv, bool& help)
{
    ServerOptions options;
    help = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string name = argv[i];
        if (name == "--help" || name == "-h")
        {
            help = true;
            continue;
        }
        if (name == "--quiet")
        {
            options.quiet = true;
            continue;
        }
        const ValueOption* option = findOption(name);
        if (!option)
            throw std::runtime_error("Unknown option: " + name);
        if (i + 1 >= argc)
            throw std::runtime_error("Missing value for " + name);
        option->set(options, name, argv[++i]);
    }
    return options;
}

std::string ServerOptions::usage()
{
    std::ostringstream text;
    text << "Usage: quelmoor-server [options]\n"
            "The Quelmoor game server: players join over TCP, see each other move, chat and\n"
            "share what they do to the world. It trusts no client: every limit below applies to\n"
            "each connection, and a client that breaks the protocol is dropped alone.\n"
            "\n"
            "Options:\n";
    for (const ValueOption& option : ValueOptions)
    {
        text << "  " << std::left << std::setw(34) << (std::string(option.name) + " " + option.value) << option.help
             << "\n";
    }
    text << "  " << std::setw(34) << "--quiet" << "print no line per join, leave, refusal and drop\n"
         << "  " << std::setw(34) << "--help" << "show this text\n"
         << "\n"
            "SIGINT or SIGTERM stops the server cleanly.\n";
    return text.str();
}

} // namespace Hosting
} // namespace QEL
