#include "app/Startup.hpp"
#include "ecs/EntitySystem.hpp"

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
}

} // namespace
