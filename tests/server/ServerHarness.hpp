#ifndef QEL_TESTS_SERVER_SERVERHARNESS_HPP
#define QEL_TESTS_SERVER_SERVERHARNESS_HPP

#include "server/Server.hpp"
#include "server/ServerOptions.hpp"

#include <memory>
#include <thread>

namespace QEL
{
namespace Testing
{

/// A real server on a free loopback port, run by a thread of the test.
class ServerHarness
{
public:
    /// Options for tests: loopback, free port, quiet, and no heartbeat unless asked for.
    static Hosting::ServerOptions testOptions();

    explicit ServerHarness(const Hosting::ServerOptions& options = testOptions());
    ~ServerHarness();

    std::uint16_t getPort() const;

    /// Stops the server and waits until its run() has returned.
    void stop();

private:
    std::unique_ptr<Hosting::Server> mServer;
    std::thread mThread;
    std::uint16_t mPort;
};

} // namespace Testing
} // namespace QEL

#endif
