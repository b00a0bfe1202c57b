#include "app/GameEvents.hpp"
#include "app/Startup.hpp"
#include "ecs/Component.hpp"
#include "ecs/EntitySystem.hpp"
#include "network/Client.hpp"
#include "network/channels/Core.hpp"
#include "plym/game/Engine.hpp"
#include "tests/network/TestPeer.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

#include <gtest/gtest.h>

#include <boost/any.hpp>

#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace
{

/// Writes a letter per game message it hears: I(nit), U(pdate), D(raw), d (DrawUi) and
/// P for a message the server addresses to its entity. Closes the window a few frames
/// after that message came (or after many frames without it).
class Recorder : public Tessaly::Component
{
public:
    Recorder() : Component("Test.Recorder") {}

    void addedToEntity() override
    {
        requestMessage("QEL.Game.Init", [this](Tessaly::Message&) { log += 'I'; });
        requestMessage("QEL.Game.Update", [this](Tessaly::Message&) { log += 'U'; });
        requestMessage("QEL.Game.Draw", [this](Tessaly::Message&) { log += 'D'; });
        requestMessage("QEL.Game.DrawUi", [this](Tessaly::Message& message) { frameDrawn(message); });
        requestMessage("Test.Ping", [this](Tessaly::Message&) { log += 'P'; }, true);
    }

    std::string log;

private:
    void frameDrawn(Tessaly::Message& message)
    {
        log += 'd';
        ++mFrames;
        if (log.find('P') != std::string::npos)
            ++mFramesSincePing;
        if (mFramesSincePing > 3 || mFrames > 2000)
            dynamic_cast<sf::RenderWindow&>(*boost::any_cast<QEL::DrawEvent>(message.payload).first).close();
    }

    int mFrames = 0;
    int mFramesSincePing = 0;
};

// Runs in the data directory with a display: the whole game's main loop, its name typed on a
// console, joined to a stand-in server that addresses one message to the recorder.
TEST(MainLoop, ServicesTheClientThenUpdatesThenDrawsTheWorldThenTheScreen)
{
    TestPeer server;
    const std::string address = "127.0.0.1:" + std::to_string(server.getEndpoint().port);
    setenv("QUELMOOR_SERVER", address.c_str(), 1);
    std::istringstream console("tester\n");
    std::streambuf* keyboard = std::cin.rdbuf(console.rdbuf());

    char program[] = "quelmoor";
    char* argv[] = {program, nullptr};
    QEL::Startup game(1, argv);
    Tessaly::EntitySystem& system = game.getSystem();
    system.registerComponent("Test.Recorder", [] { return new Recorder(); });
    const Tessaly::EntityId entity = system.createEntity();
    auto* recorder = static_cast<Recorder*>(system.createComponent("Test.Recorder"));
    system.addComponent(entity, recorder);

    std::thread peer([&server, entity] {
        QEL::Network::Packet joinRequest;
        if (!server.accept() || !server.receive(joinRequest))
            return;
        QEL::Network::Packet ping;
        ping.writeU8(QEL::Network::Channels::Core::Notice).writeU16(QEL::Network::Channels::Core::EntityMessage);
        ping.writeU32(entity).writeStr8(std::string("Test.Ping"));
        server.send(ping);
    });
    const int exitCode = game.run();
    peer.join();
    std::cin.rdbuf(keyboard);
    unsetenv("QUELMOOR_SERVER");

    EXPECT_EQ(exitCode, 0);
    const std::string& log = recorder->log;
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log.find('I'), 0u) << "once, before the first frame: " << log;
    EXPECT_EQ(log.rfind('I'), 0u) << log;
    // Each frame draws the world, then the screen; updates come before the drawing.
    for (std::size_t at = log.find('D'); at != std::string::npos; at = log.find('D', at + 1))
        EXPECT_EQ(log.substr(at, 2), "Dd") << at << " in " << log;
    EXPECT_EQ(log.back(), 'd') << log;
    EXPECT_NE(log.find("dU"), std::string::npos) << log;
    // The client hands over what arrived at the start of an update step, before its update.
    const std::size_t ping = log.find('P');
    ASSERT_NE(ping, std::string::npos) << log;
    EXPECT_EQ(log.substr(ping, 2), "PU") << log;
    EXPECT_NE(log[ping - 1], 'U') << "the step's update came before the client: " << log;

    // The client lived as long as the loop: the engine no longer offers it.
    EXPECT_EQ(Plym::Engine::getSingleton()->getService<QEL::Network::Client>(), nullptr);
}

} // namespace
