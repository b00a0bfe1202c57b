#include "actors/Man.hpp"
#include "app/Catalogue.hpp"
#include "app/GameClass.hpp"
#include "app/GameEvents.hpp"
#include "app/ResourceManager.hpp"
#include "app/SharedSounds.hpp"
#include "ecs/EntitySystem.hpp"
#include "network/Client.hpp"
#include "network/Packet.hpp"
#include "physics/Physical.hpp"
#include "plym/game/Engine.hpp"
#include "plym/game/InputManager.hpp"
#include "plym/game/SoundManager.hpp"
#include "tests/actors/Pictures.hpp"
#include "tests/network/TestPeer.hpp"
#include "world/Chunk.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Window/Event.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <tuple>
#include <unistd.h>

namespace
{

using Plym::Math::Vector2;
using Plym::Math::Vector3;
using QEL::Network::Packet;

constexpr float Step = 1.f / 33.f;
constexpr float Tile = 90.f;
constexpr std::uint8_t MarkerChannel = 9;

sf::String fromUtf8(const std::string& text)
{
    return sf::String::fromUtf8(text.begin(), text.end());
}

/// Centre of a tile in world units.
float centre(unsigned tile)
{
    return tile * Tile + Tile / 2.f;
}

/// Records, ahead of every other listener, the payloads of one global message.
class Recorder : public Tessaly::Component
{
public:
    Recorder() : Component("Test.Recorder") {}

    void listen(const std::string& name)
    {
        requestMessage(name, [this](Tessaly::Message& message) { payloads.push_back(message.payload); });
        changeRequestPriority(getMessageRequestId(name), -1000000);
    }

    std::vector<boost::any> payloads;
};

/// Writes the test map: 256 x 256 tiles of no biome with a few patches of real ones.
std::string writeMap()
{
    sf::Image image;
    image.create(256, 256, sf::Color::Black);
    const auto paint = [&image](unsigned left, unsigned top, unsigned size, sf::Color colour) {
        for (unsigned x = left; x < left + size; ++x)
            for (unsigned y = top; y < top + size; ++y)
                image.setPixel(x, y, colour);
    };
    const sf::Color grass(30, 255, 0), deepWater(16, 4, 184), desert(167, 179, 108), beach(218, 255, 47);
    paint(40, 40, 3, grass);
    paint(60, 60, 10, deepWater);
    paint(80, 80, 1, desert);
    paint(81, 80, 1, beach);
    paint(82, 80, 1, grass);
    paint(80, 82, 1, desert);
    paint(81, 82, 1, grass);

    const std::filesystem::path path = std::filesystem::temp_directory_path() / ("quelmoor-man-" + std::to_string(getpid()) + ".png");
    image.saveToFile(path.string());
    return path.string();
}

/// The game as start-up builds it: engine, catalogue, world, local player, a connected client.
struct World
{
    World()
    {
        char program[] = "test_man";
        char* argv[] = {program, nullptr};
        engine = std::make_unique<Plym::Engine>(system, Plym::Engine::Everything);
        engine->initialize(1, argv);
        QEL::registerComponents(*engine);
        system.registerComponent("Test.Recorder", [] { return new Recorder(); });
        engine->getService<Plym::InputManager>()->parseBinds(QEL::GameClass::DefaultBinds);
        loadResources();

        const std::string map = writeMap();
        chunk = static_cast<QEL::Chunk*>(system.createComponent("QEL.Game.Chunk"));
        system.addComponent(system.createEntity(), chunk);
        std::srand(1);
        chunk->load(map);
        std::filesystem::remove(map);

        player = addMan();
        music = addRecorder("Plym.Music.Play");
        chat = addRecorder("QEL.Chat.Message");

        client = std::make_unique<QEL::Network::Client>(server.getEndpoint());
        engine->addService<QEL::Network::Client>(*client);
        client->connect("tester");
        server.accept();
    }

    static void loadResources()
    {
        QEL::loadSharedSounds();
        if (!QEL::gSpritesheets.contains("Man::Hair"))
            QEL::gSpritesheets.load("Man::Hair", "QELHair.png", 5, 1);
        if (!QEL::gTextures.contains("Man::Shadow"))
            QEL::gTextures.load("Man::Shadow", "QELmancoll.png");
    }

    QEL::Man* addMan()
    {
        const Tessaly::EntityId entity = system.instantiate("QEL.Man");
        return static_cast<QEL::Man*>(system.getAllComponentsOnEntity(entity, "QEL.Game.Man").front());
    }

    Recorder* addRecorder(const std::string& name)
    {
        auto* recorder = static_cast<Recorder*>(system.createComponent("Test.Recorder"));
        system.addComponent(system.createEntity(), recorder);
        recorder->listen(name);
        return recorder;
    }

    Tessaly::EntitySystem system{false};
    std::unique_ptr<Plym::Engine> engine;
    TestPeer server;
    std::unique_ptr<QEL::Network::Client> client;
    QEL::Chunk* chunk = nullptr;
    QEL::Man* player = nullptr;
    Recorder* music = nullptr;
    Recorder* chat = nullptr;
};

class ManWorld : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { sWorld = new World(); }
    static void TearDownTestSuite() { delete sWorld; }

    void TearDown() override
    {
        for (const char* name : {"Up", "Down", "Left", "Right", "Run", "Jump"})
            input(name).stopSimulation();
    }

    Tessaly::EntitySystem& system() { return sWorld->system; }
    QEL::Man& player() { return *sWorld->player; }
    QEL::Physical& body() { return *sWorld->player->getPhysical(); }
    Plym::Input& input(const char* name) { return sWorld->engine->getService<Plym::InputManager>()->getBind(name); }

    Tessaly::RequestId id(const std::string& name) { return system().getMessageRequestId(Tessaly::MessageRequest, name); }

    Tessaly::Message sendGlobal(const std::string& name, const boost::any& payload)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, payload);
        system().sendGlobalMessage(id(name), message);
        return message;
    }

    Tessaly::Message sendTo(Tessaly::EntityId entity, const std::string& name, const boost::any& payload)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, payload);
        system().sendLocalMessage(entity, id(name), message);
        return message;
    }

    /// Game update steps as the frame loop runs them.
    void step(int count = 1)
    {
        for (int i = 0; i < count; ++i)
        {
            sendGlobal("QEL.Game.Update", Step);
            sWorld->engine->update(Step);
        }
    }

    /// Puts the player at rest somewhere and lets one step settle it (biome, ground level).
    void place(float x, float y)
    {
        body().setPosition(Vector3(x, y, 0.f));
        body().setSpeed(Vector3());
        step();
    }

    /// Everything the client sent since the last call: all it sent before a marker queued now.
    std::vector<Packet> sent()
    {
        static std::uint32_t marker = 0;
        Packet packet;
        packet.setChannel(MarkerChannel);
        packet.writeU32(++marker);
        sWorld->client->send(packet);

        std::vector<Packet> packets;
        while (sWorld->server.receive(packet))
        {
            if (packet.getChannel() != MarkerChannel)
            {
                packets.push_back(packet);
                continue;
            }
            std::uint32_t number = 0;
            packet.readU32(number);
            if (number == marker)
                return packets;
        }
        ADD_FAILURE() << "the client stopped sending";
        return packets;
    }

    std::vector<std::string> payloadsOn(std::uint8_t channel)
    {
        std::vector<std::string> payloads;
        for (const Packet& packet : sent())
            if (packet.getChannel() == channel)
                payloads.push_back(packet.getPayload());
        return payloads;
    }

    Tessaly::Message keyReleased(sf::Keyboard::Key key) { return keyEvent(sf::Event::KeyReleased, key); }

    Tessaly::Message keyEvent(sf::Event::EventType type, sf::Keyboard::Key key)
    {
        sf::Event event;
        event.type = type;
        event.key = sf::Event::KeyEvent{key, false, false, false, false};
        return sendGlobal("QEL.Game.Event", event);
    }

    void type(std::uint32_t codePoint)
    {
        sf::Event event;
        event.type = sf::Event::TextEntered;
        event.text.unicode = codePoint;
        sendGlobal("QEL.Game.Event", event);
    }

    /// A remote man standing still at (x, y, z).
    static void put(QEL::Man& man, float x, float y, float z = 0.f)
    {
        man.getPhysical()->setPosition(Vector3(x, y, z));
        man.getPhysical()->setSpeed(Vector3());
    }

    /// One "QEL.Game.Draw" of the world rectangle, one unit to a pixel, over `background`.
    sf::Image drawWorld(const sf::FloatRect& visible, sf::Color background = sf::Color::Transparent)
    {
        sf::RenderTexture screen;
        screen.create(static_cast<unsigned>(visible.width), static_cast<unsigned>(visible.height));
        screen.setView(sf::View(visible));
        screen.clear(background);
        sendGlobal("QEL.Game.Draw", QEL::DrawEvent{&screen, visible, 0.f});
        screen.display();
        return screen.getTexture().copyToImage();
    }

    static World* sWorld;
};

World* ManWorld::sWorld = nullptr;

void expectPosition(const Vector3& actual, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(actual.x, x);
    EXPECT_FLOAT_EQ(actual.y, y);
    EXPECT_FLOAT_EQ(actual.z, z);
}

TEST_F(ManWorld, FirstManIsTheLocalPlayerAndAnswersForIt)
{
    EXPECT_EQ(QEL::Man::getLocalPlayerEntity(), player().getOwner());
    EXPECT_TRUE(player().isLocalPlayer());

    const Tessaly::Message local = sendGlobal("Man.GetLocalPlayer", 0);
    EXPECT_TRUE(local.handled);
    EXPECT_EQ(local.sender, &player());

    place(1000.f, 2000.f);
    const Vector2 position = boost::any_cast<Vector2>(sendGlobal("QEL.Game.Man.GetPosition", 0).payload);
    EXPECT_FLOAT_EQ(position.x, 1000.f);
    EXPECT_FLOAT_EQ(position.y, 2000.f);

    QEL::Man* remote = sWorld->addMan();
    EXPECT_FALSE(remote->isLocalPlayer());
    EXPECT_EQ(QEL::Man::getLocalPlayerEntity(), player().getOwner());
    expectPosition(remote->getPosition(), 11520.f, 11520.f, 0.f);
    EXPECT_FLOAT_EQ(remote->getPhysical()->getRadiusSquared(), 5000.f);
}

TEST_F(ManWorld, RemotePlayerSmoothsSmallCorrectionsAndLeavesLargeOnesToItsBody)
{
    QEL::Man* remote = sWorld->addMan();
    const Tessaly::EntityId entity = remote->getOwner();

    EXPECT_FALSE(sendTo(entity, "SetPosition", Vector3(3000.f, 15000.f, 0.f)).handled);
    expectPosition(remote->getPosition(), 3000.f, 15000.f, 0.f);

    EXPECT_TRUE(sendTo(entity, "SetPosition", Vector3(3030.f, 15000.f, 0.f)).handled);
    expectPosition(remote->getPosition(), 3015.f, 15000.f, 0.f);

    EXPECT_FALSE(sendTo(entity, "SetPosition", Vector3(3095.f, 15000.f, 0.f)).handled);
    expectPosition(remote->getPosition(), 3095.f, 15000.f, 0.f);

    EXPECT_TRUE(sendTo(entity, "SetSpeed", Vector3(100.f, -40.f, 0.f)).handled);
    expectPosition(remote->getPhysical()->getSpeed(), 75.f, -30.f, 0.f);

    sendTo(entity, "Man.SetName", std::make_tuple(7u, sf::String("Bob")));
    const Tessaly::Message name = sendGlobal("Man.GetName", 7u);
    EXPECT_TRUE(name.handled);
    EXPECT_EQ(boost::any_cast<sf::String>(name.payload), "Bob");
    EXPECT_EQ(remote->getDisplayName(), "Bob");
    EXPECT_FALSE(sendGlobal("Man.GetName", 8u).handled);
}

TEST_F(ManWorld, DiagonalWalkIsNoFasterThanAStraightOneAndRunningReaches675)
{
    place(centre(100), centre(150));
    input("Right").simulate(1.f);
    input("Down").simulate(1.f);
    step(60);
    Vector3 speed = body().getSpeed();
    EXPECT_NEAR(speed.xy().getLength(), 270.f, 0.1f);
    EXPECT_FLOAT_EQ(speed.x, speed.y);

    input("Down").stopSimulation();
    input("Run").simulate(1.f);
    place(centre(100), centre(150));
    step(60);
    speed = body().getSpeed();
    EXPECT_NEAR(speed.x, 675.f, 0.1f);
    EXPECT_FLOAT_EQ(speed.y, 0.f);
    EXPECT_EQ(player().getAnimationName(), "Right");
}

TEST_F(ManWorld, JumpRisesAndLandsBackOnFlatGrass)
{
    place(centre(41), centre(41));
    step();
    ASSERT_TRUE(player().isOnGround());

    input("Jump").simulate(1.f);
    step();
    input("Jump").stopSimulation();
    EXPECT_FLOAT_EQ(body().getSpeed().z, 480.f);
    EXPECT_FALSE(player().isOnGround());

    float peak = 0.f;
    for (int i = 0; i < 100 && !player().isOnGround(); ++i)
    {
        step();
        peak = std::max(peak, body().getPosition().z);
    }
    EXPECT_TRUE(player().isOnGround());
    EXPECT_GT(peak, 50.f);
    EXPECT_EQ(body().getPosition().z, 0.f);
    EXPECT_EQ(body().getSpeed().z, 0.f);
}

TEST_F(ManWorld, DeepWaterSinksToItsFloorWithTheRippleBelowFifteen)
{
    place(centre(58), centre(65));
    body().setPosition(Vector3(centre(65), centre(65), 0.f));

    bool shallowWithoutRipple = false;
    for (int i = 0; i < 200 && !(player().isOnGround() && body().getPosition().z < 0.f); ++i)
    {
        step();
        const float z = body().getPosition().z;
        EXPECT_EQ(player().isInWater(), z < -15.f) << z;
        shallowWithoutRipple |= z < 0.f && z > -15.f;
    }
    EXPECT_TRUE(shallowWithoutRipple);
    EXPECT_TRUE(player().isOnGround());
    EXPECT_EQ(body().getPosition().z, -180.f);
    EXPECT_TRUE(player().isInWater());

    // Back on dry land the man stands up at once.
    body().setPosition(Vector3(centre(58), centre(65), -180.f));
    step();
    EXPECT_EQ(body().getPosition().z, 0.f);
    EXPECT_FALSE(player().isInWater());
}

TEST_F(ManWorld, FeetSoundOnGrassSplashIntoWaterWadeAndAreHeardFromThePlayersPlace)
{
    Plym::SoundManager& sounds = *sWorld->engine->getService<Plym::SoundManager>();
    std::vector<std::string> heard;
    sounds.setObserver([&heard](const Plym::SoundManager::Report& report) {
        heard.push_back(report.name + (report.outcome == Plym::SoundManager::Outcome::Played ? "" : " (unheard)"));
    });
    const auto count = [&heard](const std::string& name) { return std::count(heard.begin(), heard.end(), name); };

    // Across the grass patch: a step every stride, heard where the player stands.
    place(centre(40) - 40.f, centre(41));
    input("Right").simulate(1.f);
    step(25);
    input("Right").stopSimulation();
    const float walked = body().getPosition().x - (centre(40) - 40.f);
    EXPECT_EQ(count("Man::StepGrass"), static_cast<long>((walked + QEL::Footsteps::Stride / 2.f) / QEL::Footsteps::Stride)) << walked;
    EXPECT_EQ(heard.size(), static_cast<std::size_t>(count("Man::StepGrass")));
    EXPECT_EQ(sounds.getListener(), body().getPosition().xy());

    // Sinking into deep water splashes once; walking in it wades.
    heard.clear();
    place(centre(58), centre(65));
    body().setPosition(Vector3(centre(65), centre(65), 0.f));
    step(100);
    EXPECT_EQ(heard, std::vector<std::string>{"Man::Splash"});
    input("Right").simulate(1.f);
    step(33);
    input("Right").stopSimulation();
    EXPECT_GE(count("Man::Wade"), 1);
    EXPECT_EQ(count("Man::Wade") + 1, static_cast<long>(heard.size()));

    // Another player walking on the grass far away is not heard; one nearby is.
    heard.clear();
    QEL::Man* remote = sWorld->addMan();
    put(*remote, centre(40), centre(41));
    remote->getPhysical()->setSpeed(Vector3(270.f, 0.f, 0.f));
    step(10);
    EXPECT_EQ(heard, std::vector<std::string>{"Man::StepGrass (unheard)"});
    heard.clear();
    place(centre(40), centre(43));
    put(*remote, centre(40), centre(41));
    remote->getPhysical()->setSpeed(Vector3(270.f, 0.f, 0.f));
    step(20);
    EXPECT_FALSE(heard.empty());
    EXPECT_EQ(count("Man::StepGrass"), static_cast<long>(heard.size()));
    system().destroyEntity(remote->getOwner());
    sounds.setObserver({});
}

TEST_F(ManWorld, DesertTrackKeepsPlayingOverTheBeachButGrassRightAfterDesertSwitches)
{
    const auto visit = [this](unsigned x, unsigned y) { place(centre(x), centre(y)); };
    visit(100, 150);
    sWorld->music->payloads.clear();

    visit(80, 80);  // desert
    step(2);        // standing on it starts nothing new
    visit(81, 80);  // beach
    visit(82, 80);  // grass after beach
    visit(80, 82);  // desert
    visit(81, 82);  // grass right after desert

    using Play = std::tuple<std::string, float, bool>;
    const std::vector<boost::any>& played = sWorld->music->payloads;
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(boost::any_cast<Play>(played[0]), Play("DSRT.ogg", 0.75f, true));
    EXPECT_EQ(boost::any_cast<Play>(played[1]), Play("DSRT.ogg", 0.75f, true));
    EXPECT_EQ(boost::any_cast<Play>(played[2]), Play("I Am The Adventuror.ogg", 0.75f, true));
}

TEST_F(ManWorld, WalksBackOntoTheMapFromEverySide)
{
    body().setPosition(Vector3(-100.f, centre(50), 0.f));
    body().setSpeed(Vector3(-200.f, 0.f, 0.f));
    step();
    expectPosition(body().getPosition(), 0.f, 50 * Tile, 0.f);
    EXPECT_EQ(body().getSpeed().x, 0.f);

    // Beyond the bottom-right corner: the nearest tile is the last one.
    body().setPosition(Vector3(23040.f + 50.f, 23040.f + 50.f, 0.f));
    body().setSpeed(Vector3(200.f, 200.f, 0.f));
    step();
    expectPosition(body().getPosition(), 255 * Tile, 255 * Tile, 0.f);
    expectPosition(body().getSpeed(), 0.f, 0.f, 0.f);

    // Above the top edge, beyond the right one.
    body().setPosition(Vector3(23040.f + 500.f, -300.f, 0.f));
    step();
    expectPosition(body().getPosition(), 255 * Tile, 0.f, 0.f);

    // On the edge tile itself the man stays, but cannot walk on outwards.
    body().setPosition(Vector3(10.f, centre(30), 0.f));
    body().setSpeed(Vector3(-100.f, 0.f, 0.f));
    step();
    EXPECT_EQ(body().getSpeed().x, 0.f);
    EXPECT_GT(body().getPosition().x, 0.f);
}

std::string encode(const std::vector<float>& values)
{
    std::string bytes(1, '\x02');
    for (float value : values)
    {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof(bits));
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<char>((bits >> shift) & 0xFF));
    }
    return bytes;
}

TEST_F(ManWorld, StreamsPositionAndSpeedEveryThirdStep)
{
    place(centre(100), centre(150));
    sent();
    input("Right").simulate(1.f);
    input("Jump").simulate(1.f);

    std::vector<int> sendingSteps;
    for (int i = 0; i < 9; ++i)
    {
        step();
        const Vector3 position = body().getPosition();
        const Vector3 speed = body().getSpeed();
        const std::vector<std::string> records = payloadsOn(1);
        if (records.empty())
            continue;
        sendingSteps.push_back(i);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records.front(), encode({position.x, position.y, position.z, speed.x, speed.y, speed.z}));
    }
    ASSERT_EQ(sendingSteps.size(), 3u);
    EXPECT_EQ(sendingSteps[1] - sendingSteps[0], 3);
    EXPECT_EQ(sendingSteps[2] - sendingSteps[1], 3);
}

TEST_F(ManWorld, EachTypedLineIsSentOnceAndEmptyLinesNever)
{
    const auto chatLine = [this]() { return sendGlobal("ChatMessage", 0); };
    sent();
    sWorld->chat->payloads.clear();

    // The first event only arms the chat keyboard.
    EXPECT_FALSE(keyReleased(sf::Keyboard::Return).handled);
    EXPECT_FALSE(chatLine().handled);

    const Tessaly::Message open = keyReleased(sf::Keyboard::Return);
    EXPECT_TRUE(open.handled);
    EXPECT_TRUE(boost::any_cast<bool>(open.payload));
    input("Right").simulate(1.f);
    EXPECT_EQ(input("Right").getValue(), 0.f);

    for (std::uint32_t codePoint : {U'h', U'x', U'\b', U'\u00e9', U'\t', U'\x7f', U'\u202e'})
        type(codePoint);
    const Tessaly::Message typed = chatLine();
    EXPECT_TRUE(typed.handled);
    EXPECT_EQ(boost::any_cast<sf::String>(typed.payload), fromUtf8("h\xC3\xA9"));

    keyReleased(sf::Keyboard::Return);
    EXPECT_EQ(input("Right").getValue(), 1.f);
    EXPECT_FALSE(chatLine().handled);

    keyReleased(sf::Keyboard::Return);
    keyReleased(sf::Keyboard::Return);
    keyReleased(sf::Keyboard::Return);
    type(U'o');
    type(U'k');
    keyReleased(sf::Keyboard::Return);

    const std::vector<std::string> lines = payloadsOn(2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string("\x03\x00h\xC3\xA9", 5));
    EXPECT_EQ(lines[1], std::string("\x02\x00ok", 4));

    using Line = std::tuple<unsigned int, sf::String>;
    const std::vector<boost::any>& shown = sWorld->chat->payloads;
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(boost::any_cast<Line>(shown[0]), Line(0u, fromUtf8("h\xC3\xA9")));
    EXPECT_EQ(boost::any_cast<Line>(shown[1]), Line(0u, sf::String("ok")));
}

TEST_F(ManWorld, EscapeClosesTheChatLineAndSendsNothing)
{
    type(U'x'); // arms the chat keyboard, if no earlier event did
    sent();
    EXPECT_FALSE(keyEvent(sf::Event::KeyPressed, sf::Keyboard::Escape).handled);

    keyReleased(sf::Keyboard::Return);
    type(U'h');
    type(U'i');
    EXPECT_TRUE(keyEvent(sf::Event::KeyPressed, sf::Keyboard::Escape).handled);
    EXPECT_FALSE(sendGlobal("ChatMessage", 0).handled);
    input("Right").simulate(1.f);
    EXPECT_EQ(input("Right").getValue(), 1.f);
    EXPECT_TRUE(payloadsOn(2).empty());

    // The next line starts empty.
    keyReleased(sf::Keyboard::Return);
    type(U'o');
    keyReleased(sf::Keyboard::Return);
    EXPECT_EQ(payloadsOn(2), std::vector<std::string>{std::string("\x01\x00o", 3)});
    input("Right").simulate(0.f);
}

TEST_F(ManWorld, OnlyRemotePlayersShowTheirNameOutlinedAboveThem)
{
    QEL::Man* remote = sWorld->addMan();
    sendTo(remote->getOwner(), "Man.SetName", std::make_tuple(9u, sf::String("Remote Rita")));
    sendTo(remote->getOwner(), "SetPosition", Vector3(centre(50), centre(120), 0.f));
    sendTo(player().getOwner(), "Man.SetName", std::make_tuple(0u, sf::String("Local Lou")));
    place(centre(55), centre(120));

    const sf::FloatRect visible(centre(52) + 45.f - 450.f, centre(120) - 150.f - 250.f, 900.f, 500.f);
    const sf::Image image = drawWorld(visible, sf::Color::Magenta);

    // White letters and their black outline in the band 280 to 320 units above a man's feet.
    const auto nameColours = [&](const QEL::Man& man) {
        const sf::Vector2i feet(static_cast<int>(man.getPosition().x - visible.left), static_cast<int>(man.getPosition().y - visible.top));
        int white = 0, black = 0;
        for (int y = feet.y - 320; y < feet.y - 280; ++y)
            for (int x = feet.x - 150; x < feet.x + 150; ++x)
            {
                const sf::Color pixel = image.getPixel(x, y);
                white += pixel == sf::Color::White;
                black += pixel == sf::Color::Black;
            }
        return std::make_pair(white, black);
    };
    const auto [remoteWhite, remoteBlack] = nameColours(*remote);
    EXPECT_GT(remoteWhite, 20);
    EXPECT_GT(remoteBlack, 20);
    EXPECT_EQ(nameColours(player()), std::make_pair(0, 0));
}

// The three men below stand far from everything else in this world.
TEST_F(ManWorld, HairShowsTheCellOfTheDirectionMirroredWhenFacingLeft)
{
    const float x = 18000.f, y = 3000.f;
    const sf::FloatRect visible(x - 200.f, y - 400.f, 400.f, 500.f);
    const struct
    {
        Vector3 speed;
        const char* name;
        unsigned column;
        bool mirrored;
    } faces[] = {
        {{0, 0, 0}, "Idle", 0, false},        {{0, 100, 0}, "Down", 0, false},     {{0, -100, 0}, "Up", 4, false},
        {{-100, -100, 0}, "UpLeft", 3, true}, {{100, -100, 0}, "UpRight", 3, false}, {{-100, 100, 0}, "DownLeft", 1, true},
        {{100, 100, 0}, "DownRight", 1, false}, {{100, 0, 0}, "Right", 2, false},  {{-100, 0, 0}, "Left", 2, true}};
    QEL::Man& man = *sWorld->addMan();
    const Plym::Spritesheet& hair = QEL::gSpritesheets.get("Man::Hair");
    for (const auto& face : faces)
    {
        put(man, x, y);
        man.getPhysical()->setSpeed(face.speed);
        step();
        ASSERT_EQ(man.getAnimationName(), face.name);
        put(man, x, y);

        // The hair is drawn last, over the figure, its feet at the man's feet, a pixel higher
        // standing and two walking.
        const int lift = face.name == std::string("Idle") ? 1 : 2;
        const sf::Vector2i corner(200 - 90, 400 - lift - 270);
        unsigned checked = 0;
        EXPECT_EQ(Pictures::cellMismatches(drawWorld(visible), corner, hair, {face.column, 0}, face.mirrored, checked), 0u) << face.name;
        EXPECT_GT(checked, 0u) << face.name;
    }
}

TEST_F(ManWorld, AWadingManSinksByTheDepthAndShowsNothingBelowTheWater)
{
    const float x = 18000.f, y = 4000.f;
    const int depth = 45;
    const sf::FloatRect visible(x - 200.f, y - 400.f, 400.f, 500.f);
    const int feet = 400;
    QEL::Man& man = *sWorld->addMan();
    put(man, x, y, -static_cast<float>(depth));
    const sf::Image wading = drawWorld(visible);
    put(man, x, y);
    const sf::Image dry = drawWorld(visible);

    // Below the feet only the shadow shows, as on dry ground.
    EXPECT_EQ(Pictures::countDiffering(wading, dry, sf::IntRect(0, feet, 400, 100)), 0u);

    // Above them the figure and its hair stand lower by the depth, down to the water line.
    unsigned compared = 0, wrong = 0;
    for (int row = depth; row < feet; ++row)
        for (int column = 0; column < 400; ++column)
        {
            const sf::Color standing = dry.getPixel(column, row - depth);
            if (standing.a != 255)
                continue;
            ++compared;
            wrong += wading.getPixel(column, row) != standing;
        }
    EXPECT_EQ(wrong, 0u);
    EXPECT_GT(compared, 1000u);
}

TEST_F(ManWorld, TheManFurtherDownIsDrawnInFront)
{
    const float x = 18000.f, y = 5000.f, far = 20000.f;
    const sf::FloatRect visible(x - 200.f, y - 400.f, 400.f, 600.f);
    QEL::Man& first = *sWorld->addMan();
    QEL::Man& second = *sWorld->addMan();
    // Either man in front, so that neither the order they came in nor a reversed order passes.
    for (const bool firstInFront : {true, false})
    {
        QEL::Man& front = firstInFront ? first : second;
        QEL::Man& back = firstInFront ? second : first;
        put(back, x, y);
        put(front, x, y + 80.f);  // their bodies do not touch
        step();
        const sf::Image both = drawWorld(visible);
        put(back, far, y);
        const sf::Image frontAlone = drawWorld(visible);
        put(back, x, y);
        put(front, far, y + 80.f);
        const sf::Image backAlone = drawWorld(visible);
        put(front, x, y + 80.f);

        unsigned wrong = 0, hidden = 0;
        for (unsigned row = 0; row < frontAlone.getSize().y; ++row)
            for (unsigned column = 0; column < frontAlone.getSize().x; ++column)
            {
                const sf::Color shown = frontAlone.getPixel(column, row);
                if (shown.a != 255)
                    continue;
                wrong += both.getPixel(column, row) != shown;
                hidden += backAlone.getPixel(column, row).a == 255 && backAlone.getPixel(column, row) != shown;
            }
        EXPECT_EQ(wrong, 0u) << (firstInFront ? "first" : "second") << " man in front";
        EXPECT_GT(hidden, 100u) << "the men must overlap";
    }
}

TEST_F(ManWorld, ConstructionFailsWithoutTheAnimationFile)
{
    const std::filesystem::path data = std::filesystem::current_path();
    const std::filesystem::path empty = std::filesystem::temp_directory_path() / ("quelmoor-empty-" + std::to_string(getpid()));
    std::filesystem::create_directories(empty);
    std::filesystem::current_path(empty);
    try
    {
        system().createComponent("QEL.Game.Man");
        ADD_FAILURE() << "a man was built without man.anim";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), "Oh god why?");
    }
    std::filesystem::current_path(data);
    std::filesystem::remove(empty);
}

} // namespace
