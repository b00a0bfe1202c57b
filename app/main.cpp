#include "app/Startup.hpp"

#include <boost/nowide/iostream.hpp>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    // Every console line goes out whole and at once, to a pipe or a log file as to a terminal;
    // the C++ streams write through the same buffer, so lines keep their order.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
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
