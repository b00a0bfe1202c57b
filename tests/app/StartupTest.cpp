#include "app/Startup.hpp"
#include "ecs/EntitySystem.hpp"
#include "physics/Physical.hpp"
#include "plym/game/Engine.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace
{

/// How many entities of the system hold a component of each name.
std::map<std::string, int> countEntities(Tessaly::EntitySystem& system)
{
    std::map<std::string, int> counts;
    for (Tessaly::EntityId entity = 1; entity < system.getNextEntityId(); ++entity)
    {
        if (!system.hasEntity(entity))
            continue;
        for (const char* name : {"QEL.Core", "QEL.Game.Chunk", "QEL.Game.Man", "QEL.Game.Snake", "QEL.Game.RoadManager",
                                 "QEL.Game.Tree", "QEL.Game.Cactus"})
            counts[name] += system.getAllComponentsOnEntity(entity, name).empty() ? 0 : 1;
    }
    return counts;
}

// Runs in the data directory with a display: the real assets, the whole start-up short of the window.
TEST(Startup, TheLoopStartsWithTheWorldOnePlayerAndTwentyFourSnakes)
{
    char program[] = "quelmoor";
    char* argv[] = {program, nullptr};
    QEL::Startup game(1, argv);

    std::map<std::string, int> counts = countEntities(game.getSystem());
    EXPECT_EQ(counts["QEL.Core"], 1);
    EXPECT_EQ(counts["QEL.Game.Chunk"], 1);
    EXPECT_EQ(counts["QEL.Game.Man"], 1);
    EXPECT_EQ(counts["QEL.Game.Snake"], 24);
    EXPECT_EQ(counts["QEL.Game.RoadManager"], 1);
    EXPECT_GT(counts["QEL.Game.Tree"], 0);
    EXPECT_GT(counts["QEL.Game.Cactus"], 0);

    // Another client names the world's objects by their ids: the engine's own entity comes
    // first, then the core and the chunk, then the trees and cacti from entity 4 on.
    Tessaly::EntitySystem& system = game.getSystem();
    EXPECT_EQ(Plym::Engine::getSingleton()->getEntity(), 1u);
    EXPECT_EQ(system.getAllComponentsOnEntity(2, "QEL.Core").size(), 1u);
    EXPECT_EQ(system.getAllComponentsOnEntity(3, "QEL.Game.Chunk").size(), 1u);
    EXPECT_EQ(system.getAllComponentsOnEntity(4, "QEL.Game.Tree").size() +
                  system.getAllComponentsOnEntity(4, "QEL.Game.Cactus").size(), 1u);

    // Every snake is a whole "QEL.Snake": a moving body and a soul beside it.
    for (Tessaly::EntityId entity = 1; entity < system.getNextEntityId(); ++entity)
    {
        if (!system.hasEntity(entity) || system.getAllComponentsOnEntity(entity, "QEL.Game.Snake").empty())
            continue;
        const auto bodies = system.getAllComponentsOnEntity(entity, "QEL.Physical");
        ASSERT_EQ(bodies.size(), 1u) << entity;
        EXPECT_FALSE(static_cast<QEL::Physical*>(bodies.front())->isStatic()) << entity;
        EXPECT_EQ(system.getAllComponentsOnEntity(entity, "QEL.Components.Soul").size(), 1u) << entity;
    }
}

} // namespace
