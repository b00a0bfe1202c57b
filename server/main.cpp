#include "server/Server.hpp"
#include "server/ServerOptions.hpp"

#include <boost/asio/signal_set.hpp>

#include <csignal>
#include <iostream>
#include <stdexcept>

int main(int argc, char** argv)
{
    using QEL::Hosting::ServerOptions;
    ServerOptions options;
    try
    {
        bool help = false;
        options = ServerOptions::parse(argc, argv, help);
        if (help)
        {
            std::cout << ServerOptions::usage();
            return 0;
        }
    }
    catch (const std::runtime_error& error)
    {
        std::cerr << error.what() << "\n\n" << ServerOptions::usage();
        return 2;
    }

    try
    {
        QEL::Hosting::Server server(options);
        server.start();
        boost::asio::signal_set signals(server.getContext(), SIGINT, SIGTERM);
        signals.async_wait([&server](const boost::system::error_code& error, int) {
            if (!error)
                server.stop();
        });
        std::cout << "Quelmoor server listening on " << options.bind << ":" << server.getPort() << " (up to "
                  << options.maxPlayers << " players)" << std::endl;
        server.run();
        std::cout << "Quelmoor server stopped" << std::endl;
    }
    catch (const std::exception& error)
    {
        std::cerr << error.what() << std::endl;
        return 1;
    }
    return 0;
}
