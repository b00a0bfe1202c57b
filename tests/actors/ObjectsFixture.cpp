#include "tests/actors/ObjectsFixture.hpp"

#include "app/Catalogue.hpp"
#include "app/SharedPictures.hpp"
#include "app/SharedSounds.hpp"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace ObjectsTest
{
namespace
{

constexpr std::uint8_t IncomingMarkers = 200;
constexpr std::uint8_t OutgoingMarkers = 201;


/// The test map: no biome anywhere except one row of single tiles of each kind.
std::string writeMap()
{
    sf::Image image;
    image.create(MapWidth, MapHeight, sf::Color::Black);
    image.setPixel(DesertX, BiomeRow, sf::Color(167, 179, 108));
    image.setPixel(BeachX, BiomeRow, sf::Color(218, 255, 47));
    image.setPixel(ShallowX, BiomeRow, sf::Color(64, 49, 252));
    image.setPixel(DeepX, BiomeRow, sf::Color(16, 4, 184));
    image.setPixel(GrassX, BiomeRow, sf::Color(30, 255, 0));
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("quelmoor-objects-" + std::to_string(getpid()) + ".png");
    EXPECT_TRUE(image.saveToFile(path.string()));
    return path.string();
}

} // namespace

PlayerStandIn::PlayerStandIn() : Component("Test.Player")
{
}

void PlayerStandIn::addedToEntity()
{
    requestMessage("QEL.Game.Man.GetPosition", &PlayerStandIn::answer);
}

void PlayerStandIn::answer(Tessaly::Message& message)
{
    message.payload = position;
    message.handled = true;
}

Probe::Probe() : Component("Test.Probe")
{
}

void Probe::listen(const std::string& name, int priority, std::function<void(Tessaly::Message&)> callback)
{
    mCallback = std::move(callback);
    requestMessage(name, [this](Tessaly::Message& message) {
        ++calls;
        if (mCallback)
            mCallback(message);
    });
    changeRequestPriority(getMessageRequestId(name), priority);
}

void MarkerHandler::handle(QEL::Network::Packet&, const QEL::Network::Endpoint&)
{
    ++count;
}

ObjectsFixture::ObjectsFixture()
{
    mEngine.addHook("Components", "QEL Components").call(QEL::registerComponents);
    char program[] = "test_world_objects";
    char* argv[] = {program, nullptr};
    mEngine.initialize(1, argv);
    mSystem.registerComponent("Test.Player", [] { return new PlayerStandIn(); });
    mSystem.registerComponent("Test.Probe", [] { return new Probe(); });
    QEL::loadSharedPictures();
    QEL::loadSharedSounds();

    // The world comes first, as at start-up: every body created later finds its quadtree.
    const std::string map = writeMap();
    mChunk = static_cast<QEL::Chunk*>(mSystem.createComponent("QEL.Game.Chunk"));
    mSystem.addComponent(mSystem.createEntity(), mChunk);
    std::srand(1);
    mChunk->load(map);
    std::filesystem::remove(map);

    EXPECT_TRUE(mTarget.create(800, 600));
    EXPECT_TRUE(mExpected.create(800, 600));
}

ObjectsFixture::~ObjectsFixture()
{
    if (mClient)
        mClient->disconnect();
}

std::vector<Tessaly::Component*> ObjectsFixture::allComponents(const std::string& name) const
{
    std::vector<Tessaly::Component*> found;
    for (Tessaly::EntityId entity = 1; entity < mSystem.getNextEntityId(); ++entity)
    {
        if (!mSystem.hasEntity(entity))
            continue;
        for (Tessaly::Component* component : mSystem.getAllComponentsOnEntity(entity, name))
            found.push_back(component);
    }
    return found;
}

Probe& ObjectsFixture::addProbe(const std::string& name, int priority, std::function<void(Tessaly::Message&)> callback)
{
    auto* probe = static_cast<Probe*>(mSystem.createComponent("Test.Probe"));
    mSystem.addComponent(mSystem.createEntity(), probe);
    probe->listen(name, priority, std::move(callback));
    return *probe;
}

Tessaly::Message ObjectsFixture::sendGlobal(const std::string& name, const boost::any& payload)
{
    Tessaly::Message message(Tessaly::Custom, nullptr, payload);
    mSystem.sendGlobalMessage(mSystem.getMessageRequestId(Tessaly::MessageRequest, name), message);
    return message;
}

Tessaly::Message ObjectsFixture::sendTo(Tessaly::EntityId entity, const std::string& name, const boost::any& payload)
{
    Tessaly::Message message(Tessaly::Custom, nullptr, payload);
    mSystem.sendLocalMessage(entity, mSystem.getMessageRequestId(Tessaly::MessageRequest, name), message);
    return message;
}

void ObjectsFixture::step(int count)
{
    for (int i = 0; i < count; ++i)
    {
        sendGlobal("QEL.Game.Update", Step);
        mEngine.update(Step);
    }
}

Tessaly::Message ObjectsFixture::click(float x, float y, bool right)
{
    return sendGlobal("QEL.Game.Click", QEL::ClickEvent{sf::Vector2f(x, y), right});
}

void ObjectsFixture::keyPressed(sf::Keyboard::Key key)
{
    sf::Event event;
    event.type = sf::Event::KeyPressed;
    event.key = sf::Event::KeyEvent{key, false, false, false, false};
    sendGlobal("QEL.Game.Event", event);
}

void ObjectsFixture::draw(const sf::FloatRect& visible)
{
    mTarget.setView(sf::View(visible));
    mTarget.clear(sf::Color::Transparent);
    sendGlobal("QEL.Game.Draw", QEL::DrawEvent{&mTarget, visible, 0.f});
    mTarget.display();
}

sf::Image ObjectsFixture::expectedPicture(const sf::FloatRect& visible, const std::function<void(sf::RenderTarget&)>& paint)
{
    mExpected.setView(sf::View(visible));
    mExpected.clear(sf::Color::Transparent);
    paint(mExpected);
    mExpected.display();
    return mExpected.getTexture().copyToImage();
}

void ObjectsFixture::placePlayer(float x, float y)
{
    if (!mPlayer)
    {
        mPlayer = static_cast<PlayerStandIn*>(mSystem.createComponent("Test.Player"));
        mSystem.addComponent(mSystem.createEntity(), mPlayer);
    }
    mPlayer->position = Plym::Math::Vector2(x, y);
}

void ObjectsFixture::removePlayer()
{
    mSystem.destroyComponent(mPlayer);
    mPlayer = nullptr;
}

void ObjectsFixture::connect()
{
    mPeer = std::make_unique<TestPeer>();
    mClient = std::make_unique<QEL::Network::Client>(mPeer->getEndpoint());
    // Time stands still: no keep-alive joins the packets under test.
    mClient->setClock([] { return std::int64_t(1000000); });
    mEngine.addService<QEL::Network::Client>(*mClient);
    mClient->connect("tester");
    ASSERT_TRUE(mPeer->accept());
    QEL::Network::Packet join;
    ASSERT_TRUE(mPeer->receive(join));
    // As when the join reply has come: world events go out at once.
    mClient->setState(QEL::Network::Joined);
    auto markers = std::make_unique<MarkerHandler>();
    mMarkers = markers.get();
    mClient->setChannelHandler(IncomingMarkers, std::move(markers));
}

std::vector<QEL::Network::Packet> ObjectsFixture::sentPackets()
{
    QEL::Network::Packet marker;
    marker.setChannel(OutgoingMarkers);
    marker.writeU32(++mSentMarkers);
    mClient->send(marker);

    std::vector<QEL::Network::Packet> packets;
    QEL::Network::Packet packet;
    while (mPeer->receive(packet))
    {
        if (packet.getChannel() == OutgoingMarkers)
            return packets;
        packets.push_back(packet);
    }
    ADD_FAILURE() << "the client's marker never came";
    return packets;
}

void ObjectsFixture::relay(Tessaly::EntityId entity, const std::string& name)
{
    QEL::Network::Packet message;
    message.setChannel(0);
    message.writeU8(2).writeU16(0xBEEF).writeU32(entity).writeStr8(name);
    mPeer->send(message);
    mPeer->send(makePacket(IncomingMarkers, ""));

    // The deadline only guards against a client that never delivers.
    const unsigned expected = mMarkers->count + 1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (mMarkers->count < expected && std::chrono::steady_clock::now() < deadline)
    {
        mClient->update();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(mMarkers->count, expected) << "the relayed message never arrived";
}

std::string ObjectsFixture::entityMessage(Tessaly::EntityId entity, const std::string& name)
{
    std::string bytes{'\x00', '\xEF', '\xBE'};
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((entity >> shift) & 0xFF));
    bytes.push_back(static_cast<char>(name.size()));
    return bytes + name;
}

} // namespace ObjectsTest
