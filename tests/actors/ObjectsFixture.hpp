#ifndef QEL_TESTS_ACTORS_OBJECTSFIXTURE_HPP
#define QEL_TESTS_ACTORS_OBJECTSFIXTURE_HPP

#include "app/GameEvents.hpp"
#include "ecs/Component.hpp"
#include "ecs/EntitySystem.hpp"
#include "network/Client.hpp"
#include "network/MessageHandler.hpp"
#include "network/Packet.hpp"
#include "plym/core/Vector2.hpp"
#include "plym/game/Engine.hpp"
#include "tests/network/TestPeer.hpp"
#include "world/Chunk.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Window/Event.hpp>

#include <gtest/gtest.h>

#include <boost/any.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ObjectsTest
{

constexpr float Step = 1.f / 33.f;

/// Tiles of the test map with a biome; every other tile of its 256 x 8 has none.
constexpr unsigned MapWidth = 256;
constexpr unsigned MapHeight = 8;
constexpr unsigned DesertX = 20, BeachX = 21, ShallowX = 22, DeepX = 23, GrassX = 24, BiomeRow = 2;

/// Answers the player's position question ("QEL.Game.Man.GetPosition", a Vector2 payload,
/// handled) the way the player character does; only that message contract matters here.
class PlayerStandIn : public Tessaly::Component
{
public:
    PlayerStandIn();

    void addedToEntity() override;

    Plym::Math::Vector2 position;

private:
    void answer(Tessaly::Message& message);
};

/// Hears one global message at a chosen priority and runs a callback.
class Probe : public Tessaly::Component
{
public:
    Probe();

    void listen(const std::string& name, int priority, std::function<void(Tessaly::Message&)> callback);

    int calls = 0;

private:
    std::function<void(Tessaly::Message&)> mCallback;
};

/// Counts the packets of its channel (the test's markers).
class MarkerHandler : public QEL::Network::MessageHandler
{
public:
    void handle(QEL::Network::Packet& packet, const QEL::Network::Endpoint& from) override;

    unsigned count = 0;
};

/// The game as start-up builds it, on a small map: the real engine with the real component
/// catalogue, the shared resources, a chunk, and a stand-in for the player's position.
/// Optionally a real network client connected to a loopback peer that plays the server.
class ObjectsFixture : public ::testing::Test
{
protected:
    ObjectsFixture();
    ~ObjectsFixture() override;

    /// A new entity from a template and its component of that name.
    template <class T>
    T& spawn(const std::string& templateName, const std::string& componentName)
    {
        const Tessaly::EntityId entity = mSystem.instantiate(templateName);
        return component<T>(entity, componentName);
    }

    template <class T>
    T& component(Tessaly::EntityId entity, const std::string& name)
    {
        return *static_cast<T*>(mSystem.getAllComponentsOnEntity(entity, name).at(0));
    }

    /// All components of the name over every entity.
    std::vector<Tessaly::Component*> allComponents(const std::string& name) const;

    Probe& addProbe(const std::string& name, int priority, std::function<void(Tessaly::Message&)> callback = {});

    Tessaly::Message sendGlobal(const std::string& name, const boost::any& payload);
    Tessaly::Message sendTo(Tessaly::EntityId entity, const std::string& name, const boost::any& payload);

    /// Game update steps of 1/33 s, as the frame loop runs them.
    void step(int count = 1);

    /// A click at a world point; the returned message tells whether something handled it.
    Tessaly::Message click(float x, float y, bool right = false);

    void keyPressed(sf::Keyboard::Key key);

    /// One "QEL.Game.Draw" of the world rectangle into the 800 x 600 target, one world unit to
    /// a pixel, over a transparent background.
    void draw(const sf::FloatRect& visible);
    void draw(float left, float top) { draw(sf::FloatRect(left, top, 800.f, 600.f)); }
    sf::Image picture() const { return mTarget.getTexture().copyToImage(); }

    /// What `paint` alone draws through the view of draw(visible): the picture to expect.
    sf::Image expectedPicture(const sf::FloatRect& visible, const std::function<void(sf::RenderTarget&)>& paint);
    sf::Image expectedPicture(float left, float top, const std::function<void(sf::RenderTarget&)>& paint)
    {
        return expectedPicture(sf::FloatRect(left, top, 800.f, 600.f), paint);
    }

    /// Makes the player answer (or stop answering) the position question.
    void placePlayer(float x, float y);
    void removePlayer();

    /// A network client joined to the loopback peer and registered with the engine.
    void connect();

    /// The packets the client sent since the last call, in order.
    std::vector<QEL::Network::Packet> sentPackets();

    /// The peer relays an entity message; returns once the client has handled it.
    void relay(Tessaly::EntityId entity, const std::string& name);

    /// The exact payload of an entity message from this client.
    static std::string entityMessage(Tessaly::EntityId entity, const std::string& name);

    Tessaly::EntitySystem mSystem{false};
    Plym::Engine mEngine{mSystem, Plym::Engine::Everything};
    QEL::Chunk* mChunk = nullptr;
    PlayerStandIn* mPlayer = nullptr;
    sf::RenderTexture mTarget;
    sf::RenderTexture mExpected;
    std::unique_ptr<TestPeer> mPeer;
    std::unique_ptr<QEL::Network::Client> mClient;
    MarkerHandler* mMarkers = nullptr;
    std::uint32_t mSentMarkers = 0;
};

} // namespace ObjectsTest

#endif
