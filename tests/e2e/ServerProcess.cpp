#include "tests/e2e/ServerProcess.hpp"

namespace QEL
{
namespace Testing
{
namespace
{

const std::string ListeningLine = "Quelmoor server listening on 127.0.0.1:";

std::vector<std::string> commandLine(std::uint16_t port, const std::vector<std::string>& options)
{
    std::vector<std::string> command{programPath("quelmoor-server"), "--bind", "127.0.0.1", "--port", std::to_string(port)};
    command.insert(command.end(), options.begin(), options.end());
    return command;
}

} // namespace

ServerProcess::ServerProcess(std::uint16_t port, const std::vector<std::string>& options) :
mProcess(commandLine(port, options))
{
}

bool ServerProcess::waitUntilListening(std::chrono::milliseconds deadline)
{
    if (!mProcess.waitForOutput(" players)", deadline))
        return false;
    const std::string output = mProcess.getOutput();
    const std::size_t start = output.find(ListeningLine);
    if (start == std::string::npos)
        return false;
    mPort = static_cast<std::uint16_t>(std::stoul(output.substr(start + ListeningLine.size())));
    return mPort != 0;
}

std::string ServerProcess::getAddress() const
{
    return "127.0.0.1:" + std::to_string(mPort);
}

} // namespace Testing
} // namespace QEL
