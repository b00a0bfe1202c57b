#ifndef QEL_TOOLS_COMMANDLINE_HPP
#define QEL_TOOLS_COMMANDLINE_HPP

#include <string>

namespace QEL
{
namespace CommandLine
{

/// Whole number in [low, high] from a command-line value; throws
/// "Invalid value for <option>: '<text>'" otherwise.
unsigned long readNumber(const std::string& option, const std::string& text, unsigned long low, unsigned long high);

} // namespace CommandLine
} // namespace QEL

#endif
