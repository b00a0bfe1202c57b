#include "tests/server/ServerFixture.hpp"

namespace QEL
{
namespace Testing
{

void ServerFixture::start(const Hosting::ServerOptions& options)
{
    mServer = std::make_unique<ServerHarness>(options);
}

std::unique_ptr<TestClient> ServerFixture::connect(const std::string& from)
{
    return std::make_unique<TestClient>(mServer->getPort(), 0, from);
}

std::unique_ptr<TestClient> ServerFixture::joined(const std::string& name, const std::string& from)
{
    auto client = connect(from);
    EXPECT_TRUE(client->join(name)) << name;
    for (int i = 0; i < 2; ++i)
    {
        const auto opened = client->next();
        EXPECT_TRUE(opened && opened->isOpenChannel()) << name;
    }
    return client;
}

std::uint32_t ServerFixture::idOf(TestClient& observer, const std::string& name)
{
    const auto info = observer.waitFor([&name](const Received& r) { return r.isPlayerInfo() && r.text == name; });
    EXPECT_TRUE(info.has_value()) << name;
    return info ? info->id : 0;
}

std::vector<Received> ServerFixture::readUntilChat(TestClient& client, const std::string& marker)
{
    std::vector<Received> records;
    while (auto record = client.next())
    {
        records.push_back(*record);
        if (record->isChat() && record->text == marker)
            return records;
    }
    ADD_FAILURE() << "no chat line '" << marker << "'";
    return records;
}

} // namespace Testing
} // namespace QEL
