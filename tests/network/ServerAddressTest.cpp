#include "network/ServerAddress.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

using QEL::Network::Endpoint;
using QEL::Network::ServerAddress;

namespace
{

/// Sets QUELMOOR_SERVER for one test and removes it afterwards.
class ServerVariable
{
public:
    explicit ServerVariable(const char* value) { setenv("QUELMOOR_SERVER", value, 1); }
    ~ServerVariable() { unsetenv("QUELMOOR_SERVER"); }
};

} // namespace

TEST(ServerAddress, ParsesHostAndOptionalPort)
{
    Endpoint endpoint;
    ASSERT_TRUE(ServerAddress::parse("10.1.2.3:5000", endpoint));
    EXPECT_EQ(endpoint.address, sf::IpAddress(10, 1, 2, 3));
    EXPECT_EQ(endpoint.port, 5000);

    ASSERT_TRUE(ServerAddress::parse("192.168.0.9", endpoint));
    EXPECT_EQ(endpoint.address, sf::IpAddress(192, 168, 0, 9));
    EXPECT_EQ(endpoint.port, 42242);

    ASSERT_TRUE(ServerAddress::parse("localhost:65535", endpoint));
    EXPECT_EQ(endpoint.address, sf::IpAddress::LocalHost);
    EXPECT_EQ(endpoint.port, 65535);
}

TEST(ServerAddress, RejectsMalformedText)
{
    Endpoint endpoint(sf::IpAddress(1, 2, 3, 4), 99);
    for (const char* text : {"", ":42242", "10.0.0.1:", "10.0.0.1:0", "10.0.0.1:65536", "10.0.0.1:12ab",
                             "10.0.0.1:-5", "10.0.0.1:4224200"})
        EXPECT_FALSE(ServerAddress::parse(text, endpoint)) << text;
    EXPECT_EQ(endpoint.port, 99);
}

TEST(ServerAddress, AVariableNamingNoServerIsAnErrorNamingIt)
{
    for (const char* value : {"nohost.invalid", "127.0.0.2:port", "127.0.0.1:", ":42242"})
    {
        ServerVariable variable(value);
        EXPECT_THROW(ServerAddress::check(), ServerAddress::Unusable) << value;
        try
        {
            ServerAddress::resolve();
            ADD_FAILURE() << value << " fell back to a server";
        }
        catch (const ServerAddress::Unusable& error)
        {
            EXPECT_EQ(std::string(error.what()).find(std::string("QUELMOOR_SERVER=") + value + " "), 0u) << error.what();
        }
    }
    ServerVariable variable("127.0.0.2");
    EXPECT_NO_THROW(ServerAddress::check());
}

TEST(ServerAddress, TheVariableOverridesTheBuiltInAddress)
{
    {
        ServerVariable variable("127.0.0.2:4000");
        testing::internal::CaptureStdout();
        const Endpoint endpoint = ServerAddress::resolve();
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Using server 127.0.0.2:4000 from QUELMOOR_SERVER\n");
        EXPECT_EQ(endpoint.address, sf::IpAddress(127, 0, 0, 2));
        EXPECT_EQ(endpoint.port, 4000);
    }
    testing::internal::CaptureStdout();
    const Endpoint builtIn = ServerAddress::resolve();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(builtIn.port, 42242);
    EXPECT_NE(builtIn.address, sf::IpAddress::None);
}
