#ifndef QEL_APP_STARTUP_HPP
#define QEL_APP_STARTUP_HPP

#include <memory>

namespace Plym
{
class Engine;
}

namespace Tessaly
{
class EntitySystem;
}

namespace QEL
{

class GameClass;

/// The whole game as start-up builds it, in its fixed order: engine, components, pending
/// updates, resources, world, player, snakes, roads and music, then the profiling report.
/// Start-up errors are thrown from the constructor.
class Startup
{
public:
    /// Reads the command line (throws CommandLine::Error when it is wrong), then builds the game.
    Startup(int argc, char** argv);
    ~Startup();

    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    /// Prints the banner and runs the main loop; its exit code, or 2 when QUELMOOR_SERVER names no server.
    int run();

    Tessaly::EntitySystem& getSystem() { return *mSystem; }

private:
    // Declared in this order so that the engine goes before the entity system.
    std::unique_ptr<Tessaly::EntitySystem> mSystem;
    std::unique_ptr<Plym::Engine> mEngine;
    GameClass* mCore;
};

} // namespace QEL

#endif
