#include "tests/server/ServerHarness.hpp"

namespace QEL
{
namespace Testing
{

Hosting::ServerOptions ServerHarness::testOptions()
{
    Hosting::ServerOptions options;
    options.bind = "127.0.0.1";
    options.port = 0;
    options.quiet = true;
    options.heartbeatInterval = std::chrono::hours(1);
    return options;
}

ServerHarness::ServerHarness(const Hosting::ServerOptions& options) :
mServer(std::make_unique<Hosting::Server>(options))
{
    mServer->start();
    mPort = mServer->getPort();
    mThread = std::thread([this] { mServer->run(); });
}

ServerHarness::~ServerHarness()
{
    stop();
}

std::uint16_t ServerHarness::getPort() const
{
    return mPort;
}

void ServerHarness::stop()
{
    if (!mThread.joinable())
        return;
    mServer->stop();
    mThread.join();
}

} // namespace Testing
} // namespace QEL
