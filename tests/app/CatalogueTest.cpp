#include "actors/Cactus.hpp"
#include "actors/Man.hpp"
#include "actors/RoadManager.hpp"
#include "actors/Snake.hpp"
#include "actors/Tree.hpp"
#include "actors/Woody.hpp"
#include "app/GameClass.hpp"
#include "app/Startup.hpp"
#include "ecs/EntitySystem.hpp"
#include "physics/Physical.hpp"
#include "ui/Soul.hpp"
#include "ui/UI.hpp"
#include "world/Chunk.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using ::testing::ElementsAreArray;

template <class T>
bool is(Tessaly::Component* component)
{
    return dynamic_cast<T*>(component) != nullptr;
}

// Runs in the data directory with a display: the catalogue as start-up registers it, beside
// the real resources its components' constructors take.
class CatalogueTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        char program[] = "quelmoor";
        char* argv[] = {program, nullptr};
        sGame = std::make_unique<QEL::Startup>(1, argv);
    }

    static void TearDownTestSuite() { sGame.reset(); }

    Tessaly::EntitySystem& system() { return sGame->getSystem(); }

    /// The names of an entity's components in the order they were added.
    std::vector<std::string> namesOn(Tessaly::EntityId entity)
    {
        std::vector<std::string> names;
        for (Tessaly::Component* component : system().getAllComponentsOnEntity(entity, ""))
            names.push_back(component->getName());
        return names;
    }

    static std::unique_ptr<QEL::Startup> sGame;
};

std::unique_ptr<QEL::Startup> CatalogueTest::sGame;

TEST_F(CatalogueTest, EveryComponentNameBuildsItsClass)
{
    const std::pair<const char*, std::function<bool(Tessaly::Component*)>> names[] = {
        {"QEL.Core", is<QEL::GameClass>},
        {"QEL.Game.Chunk", is<QEL::Chunk>},
        {"QEL.Game.Man", is<QEL::Man>},
        {"QEL.Game.Tree", is<QEL::Tree>},
        {"QEL.Game.Snake", is<QEL::Snake>},
        {"QEL.Game.Cactus", is<QEL::Cactus>},
        {"QEL.Game.Woody", is<QEL::Woody>},
        {"QEL.Game.RoadManager", is<QEL::RoadManager>},
        {"QEL.Physical", is<QEL::Physical>},
        {"QEL.Components.UI", is<QEL::Components::UI>},
        {"QEL.Components.Soul", is<QEL::Components::Soul>}};
    for (const auto& [name, hasClass] : names)
    {
        Tessaly::Component* component = system().createComponent(name);
        EXPECT_TRUE(hasClass(component)) << name;
        EXPECT_EQ(component->getName(), name);
        system().destroyComponent(component);
    }
    EXPECT_THROW(system().createComponent("QEL.Game.Dragon"), std::runtime_error);
    EXPECT_THROW(system().createComponent("QEL.Snake"), std::runtime_error) << "a template is not a component";
}

TEST_F(CatalogueTest, TemplatesAddTheirComponentsInOrder)
{
    const std::pair<const char*, std::vector<std::string>> templates[] = {
        {"QEL.Cactus", {"QEL.Game.Cactus", "QEL.Physical"}},
        {"QEL.Tree", {"QEL.Game.Tree", "QEL.Physical"}},
        {"QEL.Woody", {"QEL.Game.Woody", "QEL.Physical"}},
        {"QEL.Man", {"QEL.Game.Man", "QEL.Physical", "QEL.Components.Soul"}},
        {"QEL.Snake", {"QEL.Game.Snake", "QEL.Physical", "QEL.Components.Soul"}}};
    for (const auto& [name, components] : templates)
    {
        const Tessaly::EntityId entity = system().instantiate(name);
        ASSERT_NE(entity, 0u) << name;
        EXPECT_THAT(namesOn(entity), ElementsAreArray(components)) << name;
        system().destroyEntity(entity);
    }
    EXPECT_THROW(system().instantiate("QEL.Game.Man"), std::runtime_error) << "a component is not a template";
}

} // namespace
