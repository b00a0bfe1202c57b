#ifndef QEL_TESTS_E2E_SERVERPROCESS_HPP
#define QEL_TESTS_E2E_SERVERPROCESS_HPP

#include "tests/support/ChildProcess.hpp"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace QEL
{
namespace Testing
{

/// The real quelmoor-server on loopback, on a free port the system picks or on the one given,
/// with more options if any.
class ServerProcess
{
public:
    explicit ServerProcess(std::uint16_t port = 0, const std::vector<std::string>& options = {});

    /// Waits for the server's "listening" line and reads the port from it; false at the deadline.
    bool waitUntilListening(std::chrono::milliseconds deadline);

    std::uint16_t getPort() const { return mPort; }

    /// "127.0.0.1:<port>", as QUELMOOR_SERVER and the bots' --server take it.
    std::string getAddress() const;

    ChildProcess& getProcess() { return mProcess; }

private:
    ChildProcess mProcess;
    std::uint16_t mPort = 0;
};

} // namespace Testing
} // namespace QEL

#endif
