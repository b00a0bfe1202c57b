#include "app/DisplayCheck.hpp"

#include <X11/Xlib.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace QEL
{
namespace DisplayCheck
{

void require()
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        throw std::runtime_error("cannot open a window: no display (DISPLAY is not set)");
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        throw std::runtime_error("cannot open a window: cannot connect to the X display \"" + std::string(name) + "\"");
    XCloseDisplay(display);
}

} // namespace DisplayCheck
} // namespace QEL
