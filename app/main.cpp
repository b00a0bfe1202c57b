#include "app/Startup.hpp"

#include <boost/nowide/iostream.hpp>

#include <exception>

int main(int argc, char** argv)
{
    try
    {
        return QEL::runGame(argc, argv);
    }
    catch (const std::exception& error)
    {
        boost::nowide::cerr << "Quelmoor stopped: " << error.what() << std::endl;
        return 1;
    }
}
