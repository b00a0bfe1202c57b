#include "tools/bot/BotOptions.hpp"
#include "tools/bot/BotSwarm.hpp"

#include <boost/asio/signal_set.hpp>

#include <csignal>
#include <iostream>
#include <stdexcept>

int main(int argc, char** argv)
{
    using QEL::Bots::BotOptions;
    BotOptions options;
    try
    {
        bool help = false;
        options = BotOptions::parse(argc, argv, help);
        if (help)
        {
            std::cout << BotOptions::usage();
            return 0;
        }
    }
    catch (const std::runtime_error& error)
    {
        std::cerr << error.what() << "\n\n" << BotOptions::usage();
        return 2;
    }

    try
    {
        QEL::Bots::BotSwarm swarm(options);
        boost::asio::signal_set signals(swarm.getContext(), SIGINT, SIGTERM);
        signals.async_wait([&swarm](const boost::system::error_code& error, int) {
            if (!error)
                swarm.stop();
        });
        std::cout << "Starting " << options.count << (options.count == 1 ? " bot" : " bots") << " against " << options.host << ":" << options.port
                  << std::endl;
        swarm.run();
        std::cout << swarm.getSummary();
        return swarm.getTotals().joins > 0 ? 0 : 1;
    }
    catch (const std::exception& error)
    {
        std::cerr << error.what() << std::endl;
        return 1;
    }
}
