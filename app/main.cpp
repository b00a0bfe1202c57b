#include "app/CommandLine.hpp"
#include "app/DisplayCheck.hpp"
#include "app/Startup.hpp"
#include "network/ServerAddress.hpp"
#include "plym/game/Engine.hpp"

#include <boost/nowide/iostream.hpp>

#include <cstdio>
#include <exception>
#include <memory>

namespace
{

/// The options, or nothing after telling what is wrong with them.
std::unique_ptr<QEL::CommandLine> readOptions(int argc, char** argv)
{
    try
    {
        return std::make_unique<QEL::CommandLine>(argc, argv);
    }
    catch (const QEL::CommandLine::Error& error)
    {
        const std::string program = QEL::CommandLine::programName(argc, argv);
        boost::nowide::cerr << program << ": " << error.what() << "\n" << Plym::Engine::getUsage(program) << std::flush;
        return nullptr;
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Every console line goes out whole and at once, to a pipe or a log file as to a terminal;
    // the C++ streams write through the same buffer, so lines keep their order.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    const std::unique_ptr<QEL::CommandLine> options = readOptions(argc, argv);
    if (!options)
        return 2;
    if (options->wantsHelp())
    {
        boost::nowide::cout << Plym::Engine::getUsage(options->getProgram()) << std::flush;
        return 0;
    }
    if (options->wantsVersion())
    {
        boost::nowide::cout << "Quelmoor " << QUELMOOR_VERSION << std::endl;
        return 0;
    }
    try
    {
        // A mistyped server is told before anything starts.
        if (!options->getServer().empty())
            QEL::Network::ServerAddress::choose(options->getServer(), "--server", "--server " + options->getServer());
        QEL::DisplayCheck::require();
        QEL::Startup game(argc, argv);
        return game.run();
    }
    catch (const QEL::Network::ServerAddress::Unusable& error)
    {
        boost::nowide::cerr << "Quelmoor stopped: " << error.what() << std::endl;
        return 2;
    }
    catch (const std::exception& error)
    {
        boost::nowide::cerr << "Quelmoor stopped: " << error.what() << std::endl;
        return 1;
    }
}
