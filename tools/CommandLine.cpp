#include "tools/CommandLine.hpp"

#include <stdexcept>

namespace QEL
{
namespace CommandLine
{

unsigned long readNumber(const std::string& option, const std::string& text, unsigned long low, unsigned long high)
{
    std::size_t used = 0;
    unsigned long value = 0;
    try
    {
        value = std::stoul(text, &used);
    }
    catch (const std::exception&)
    {
        used = 0;
    }
    if (used == 0 || used != text.size() || text[0] == '-' || value < low || value > high)
        throw std::runtime_error("Invalid value for " + option + ": '" + text + "'");
    return value;
}

} // namespace CommandLine
} // namespace QEL
