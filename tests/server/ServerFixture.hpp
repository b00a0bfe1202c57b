#ifndef QEL_TESTS_SERVER_SERVERFIXTURE_HPP
#define QEL_TESTS_SERVER_SERVERFIXTURE_HPP

#include "tests/server/ServerHarness.hpp"
#include "tests/server/TestClient.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace QEL
{
namespace Testing
{

/// A test with a real server and bare clients that join it.
class ServerFixture : public ::testing::Test
{
protected:
    void start(const Hosting::ServerOptions& options = ServerHarness::testOptions());

    /// A client connected from `from` (any of 127.0.0.0/8 stands for another host).
    std::unique_ptr<TestClient> connect(const std::string& from = "127.0.0.1");

    /// A client admitted under `name`, with the welcome's channel announcements read.
    std::unique_ptr<TestClient> joined(const std::string& name, const std::string& from = "127.0.0.1");

    /// The id `observer` learns for the player called `name`.
    static std::uint32_t idOf(TestClient& observer, const std::string& name);

    /// Everything `client` receives up to and including the chat line `marker`.
    static std::vector<Received> readUntilChat(TestClient& client, const std::string& marker);

    std::unique_ptr<ServerHarness> mServer;
};

} // namespace Testing
} // namespace QEL

#endif
