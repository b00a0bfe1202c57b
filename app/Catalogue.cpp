#include "app/Catalogue.hpp"

#include "actors/Cactus.hpp"
#include "actors/Man.hpp"
#include "actors/RoadManager.hpp"
#include "actors/Snake.hpp"
#include "actors/Tree.hpp"
#include "actors/Woody.hpp"
#include "app/GameClass.hpp"
#include "ecs/EntitySystem.hpp"
#include "physics/Physical.hpp"
#include "plym/game/Engine.hpp"
#include "ui/Soul.hpp"
#include "ui/UI.hpp"
#include "world/Chunk.hpp"

namespace QEL
{
namespace
{

template <class T>
Tessaly::EntitySystem::ComponentFactory make()
{
    return [] { return new T(); };
}

} // namespace

void registerComponents(Plym::Engine& engine)
{
    Tessaly::EntitySystem& system = *engine.getService<Tessaly::EntitySystem>();
    Plym::Engine* core = &engine;

    system.registerComponent("QEL.Core", [core] { return new GameClass(core); });
    system.registerComponent("QEL.Game.Chunk", make<Chunk>());
    system.registerComponent("QEL.Game.Man", make<Man>());
    system.registerComponent("QEL.Game.Tree", make<Tree>());
    system.registerComponent("QEL.Game.Snake", make<Snake>());
    system.registerComponent("QEL.Game.Cactus", make<Cactus>());
    system.registerComponent("QEL.Game.Woody", make<Woody>());
    system.registerComponent("QEL.Game.RoadManager", make<RoadManager>());
    system.registerComponent("QEL.Physical", make<Physical>());
    system.registerComponent("QEL.Components.UI", make<Components::UI>());
    system.registerComponent("QEL.Components.Soul", make<Components::Soul>());

    system.registerTemplate("QEL.Cactus", {"QEL.Game.Cactus", "QEL.Physical"});
    system.registerTemplate("QEL.Tree", {"QEL.Game.Tree", "QEL.Physical"});
    system.registerTemplate("QEL.Woody", {"QEL.Game.Woody", "QEL.Physical"});
    system.registerTemplate("QEL.Man", {"QEL.Game.Man", "QEL.Physical", "QEL.Components.Soul"});
    system.registerTemplate("QEL.Snake", {"QEL.Game.Snake", "QEL.Physical", "QEL.Components.Soul"});
}

} // namespace QEL
