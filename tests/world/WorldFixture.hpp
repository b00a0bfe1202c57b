#ifndef QEL_TESTS_WORLD_WORLDFIXTURE_HPP
#define QEL_TESTS_WORLD_WORLDFIXTURE_HPP

#include "actors/Man.hpp"
#include "app/GameEvents.hpp"
#include "app/ResourceManager.hpp"
#include "app/SharedSounds.hpp"
#include "ecs/Component.hpp"
#include "ecs/EntitySystem.hpp"
#include "physics/Physical.hpp"
#include "plym/core/Vector3.hpp"
#include "world/Chunk.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

#include <gtest/gtest.h>

#include <boost/any.hpp>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace WorldTest
{

/// One object the chunk spawned, as its "SetPosition" arrived.
struct Spawn
{
    std::string component;
    Tessaly::EntityId entity;
    Plym::Math::Vector3 position;
};

inline bool operator==(const Spawn& a, const Spawn& b)
{
    return a.component == b.component && a.entity == b.entity && a.position == b.position;
}

/// Stands in for a tree or a cactus: records the position it is sent.
class SpawnRecorder : public Tessaly::Component
{
public:
    SpawnRecorder(const std::string& name, std::vector<Spawn>& log) : Component(name), mLog(log) {}

    void addedToEntity() override { requestMessage("SetPosition", &SpawnRecorder::onSetPosition, true); }

private:
    void onSetPosition(Tessaly::Message& message)
    {
        mLog.push_back({getName(), getOwner(), boost::any_cast<Plym::Math::Vector3>(message.payload)});
    }

    std::vector<Spawn>& mLog;
};

/// Colours of the map letters: F forest, G grass, s shallow water, D deep water, d desert,
/// b beach; '.' is a colour of no biome and 'g' is grass with alpha 254.
inline sf::Color mapColour(char letter)
{
    static const std::map<char, sf::Color> colours = {
        {'F', sf::Color(18, 152, 0, 255)},   {'G', sf::Color(30, 255, 0, 255)},
        {'s', sf::Color(64, 49, 252, 255)},  {'D', sf::Color(16, 4, 184, 255)},
        {'d', sf::Color(167, 179, 108, 255)}, {'b', sf::Color(218, 255, 47, 255)},
        {'.', sf::Color(0, 0, 0, 255)},      {'g', sf::Color(30, 255, 0, 254)},
    };
    return colours.at(letter);
}

/// Registers the chunk, a real "QEL.Physical" and recording stand-ins for trees and cacti
/// under the game's component and template names.
inline void registerWorld(Tessaly::EntitySystem& system, std::vector<Spawn>& spawns)
{
    system.registerComponent("QEL.Game.Chunk", [] { return new QEL::Chunk(); });
    system.registerComponent("QEL.Physical", [] { return new QEL::Physical(); });
    system.registerComponent("QEL.Game.Tree", [&spawns] { return new SpawnRecorder("QEL.Game.Tree", spawns); });
    system.registerComponent("QEL.Game.Cactus", [&spawns] { return new SpawnRecorder("QEL.Game.Cactus", spawns); });
    system.registerComponent("QEL.Game.Man", [] { return new QEL::Man(); });
    system.registerTemplate("QEL.Tree", {"QEL.Game.Tree"});
    system.registerTemplate("QEL.Cactus", {"QEL.Game.Cactus"});
    system.registerTemplate("QEL.Man", {"QEL.Game.Man", "QEL.Physical"});
}

/// The shared pictures and sounds a player and the minimap look up, loaded once per process.
inline void loadPlayerResources()
{
    QEL::loadSharedSounds();
    if (!QEL::gSpritesheets.contains("Man::Hair"))
        QEL::gSpritesheets.load("Man::Hair", "QELHair.png", 5, 1);
    if (!QEL::gTextures.contains("Man::Shadow"))
        QEL::gTextures.load("Man::Shadow", "QELmancoll.png");
    if (!QEL::gTextures.contains("Map::Arrow"))
        QEL::gTextures.load("Map::Arrow", "arrowSilver_right.png");
}

/// A real entity system with a chunk factory, a real "QEL.Physical" and recording stand-ins
/// for trees and cacti under the game's template names. Maps are written as PNG files into
/// a temporary folder.
class WorldFixture : public ::testing::Test
{
protected:
    WorldFixture()
    {
        registerWorld(mSystem, mSpawns);

        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        mFolder = std::filesystem::temp_directory_path()
            / ("quelmoor-world-" + std::string(test->test_suite_name()) + "-" + test->name());
        std::filesystem::create_directories(mFolder);
    }

    ~WorldFixture() override { std::filesystem::remove_all(mFolder); }

    /// A new chunk on its own entity.
    QEL::Chunk& addChunk()
    {
        auto* chunk = static_cast<QEL::Chunk*>(mSystem.createComponent("QEL.Game.Chunk"));
        mSystem.addComponent(mSystem.createEntity(), chunk);
        return *chunk;
    }

    /// Writes a map, one string per row of letters (see mapColour), and returns its path.
    std::string writeMap(const std::vector<std::string>& rows, const std::string& name = "map.png") const
    {
        sf::Image image;
        image.create(static_cast<unsigned>(rows.front().size()), static_cast<unsigned>(rows.size()));
        for (unsigned y = 0; y < rows.size(); ++y)
        {
            for (unsigned x = 0; x < rows[y].size(); ++x)
                image.setPixel(x, y, mapColour(rows[y][x]));
        }
        const std::string path = (mFolder / name).string();
        EXPECT_TRUE(image.saveToFile(path));
        return path;
    }

    /// A chunk built from the map.
    QEL::Chunk& loadMap(const std::vector<std::string>& rows)
    {
        QEL::Chunk& chunk = addChunk();
        chunk.load(writeMap(rows));
        return chunk;
    }

    /// A player (man and body) standing at the position.
    QEL::Man& addPlayer(const Plym::Math::Vector3& position)
    {
        loadPlayerResources();
        const Tessaly::EntityId entity = mSystem.instantiate("QEL.Man");
        auto& man = *static_cast<QEL::Man*>(mSystem.getAllComponentsOnEntity(entity, "QEL.Game.Man").at(0));
        man.getPhysical()->setPosition(position);
        return man;
    }

    void sendGlobal(const std::string& name, const boost::any& payload)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, payload);
        mSystem.sendGlobalMessage(mSystem.getMessageRequestId(Tessaly::MessageRequest, name), message);
    }

    /// Sends "QEL.Game.Draw" for the visible rectangle to the target.
    void drawWorld(sf::RenderTarget& target, const sf::FloatRect& visible)
    {
        sendGlobal("QEL.Game.Draw", QEL::DrawEvent{&target, visible, 0.f});
    }

    std::vector<Spawn> mSpawns;
    Tessaly::EntitySystem mSystem{false};
    std::filesystem::path mFolder;
};

} // namespace WorldTest

#endif
