#include "app/Startup.hpp"

#include <boost/nowide/iostream.hpp>

#include <exception>

int main(int argc, char** argv)
{
    try
    {
        QEL::Startup game(argc, argv);
        return game.run();
    }
    catch (const std::exception& error)
    {
        boost::nowide::cerr << "Quelmoor stopped: " << error.what() << std::endl;
        return 1;
    }
}
