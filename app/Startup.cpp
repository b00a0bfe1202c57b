#include "app/Startup.hpp"

#include "app/Catalogue.hpp"
#include "app/CommandLine.hpp"
#include "app/DataFolder.hpp"
#include "app/GameClass.hpp"
#include "app/PendingFiles.hpp"
#include "app/ResourceManager.hpp"
#include "app/SharedPictures.hpp"
#include "app/UserFolders.hpp"
#include "app/SharedSounds.hpp"
#include "ecs/EntitySystem.hpp"
#include "network/ServerAddress.hpp"
#include "plym/core/CRC32.hpp"
#include "plym/core/FileSystem.hpp"
#include "plym/core/Profiling.hpp"
#include "plym/game/Engine.hpp"
#include "plym/game/InputManager.hpp"
#include "world/Chunk.hpp"

#include <boost/nowide/iostream.hpp>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>

namespace QEL
{
namespace
{

void loadMusic()
{
    gMusics.load("Grassy", "I Am The Adventuror.ogg");
    gMusics.load("Sandy", "DSRT.ogg");
}

GameClass* createCore(Tessaly::EntitySystem& system)
{
    auto* core = static_cast<GameClass*>(system.createComponent("QEL.Core"));
    system.addComponent(system.createEntity(), core);
    return core;
}

void createWorld(Tessaly::EntitySystem& system)
{
    const Tessaly::EntityId world = system.createEntity();
    Plym::Profiling::start("Loading world");
    auto* chunk = static_cast<Chunk*>(system.createComponent("QEL.Game.Chunk"));
    system.addComponent(world, chunk);
    chunk->load("Example Chunk.png");
    Plym::Profiling::end("Loading world");
}

void createActors(Tessaly::EntitySystem& system)
{
    const Plym::Profiling::Id man = Plym::Profiling::getId("Creating Man");
    Plym::Profiling::start(man);
    system.instantiate("QEL.Man");
    Plym::Profiling::end(man);

    // Everything drawn before this point (the world's decoration) is the same on every client.
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    Plym::Profiling::start("Creating snakes");
    for (int i = 0; i < 24; ++i)
        system.instantiate("QEL.Snake");
    Plym::Profiling::end("Creating snakes");

    const Tessaly::EntityId roads = system.createEntity();
    system.addComponent(roads, system.createComponent("QEL.Game.RoadManager"));
    system.finalize(roads);
}

void queueMusic(Tessaly::EntitySystem& system, const char* section, const std::string& file)
{
    const Plym::Profiling::Id id = Plym::Profiling::getId(section);
    Plym::Profiling::start(id);
    Tessaly::Message message(Tessaly::Custom, nullptr, file);
    system.sendGlobalMessage(system.getMessageRequestId(Tessaly::MessageRequest, "Plym.Music.Add"), message);
    Plym::Profiling::end(id);
}

/// The options of the command line, the settings and key binds of the player's folder.
void configureCore(GameClass& core, const CommandLine& options, Plym::InputManager& input)
{
    core.setPlainDrawing(options.wantsPlainDrawing());
    core.setUserName(options.getName());
    Desktop& desktop = core.getDesktop();
    if (const auto folder = UserFolders::config())
        desktop.useFolder(*folder, input);
    if (options.wantsFullscreen())
        desktop.startFullscreen();
}

/// A server given on the command line (already checked) is kept for the next runs; without
/// it, or QUELMOOR_SERVER, the game joins the server it joined last.
void chooseServer(const CommandLine& options, Desktop& desktop)
{
    if (!options.getServer().empty())
    {
        desktop.rememberServer(options.getServer());
        return;
    }
    const std::string& last = desktop.getSettings().getServer();
    const char* variable = std::getenv("QUELMOOR_SERVER");
    if (last.empty() || (variable && *variable))
        return;
    try
    {
        Network::ServerAddress::choose(last, "the settings", "the last server " + last);
    }
    catch (const Network::ServerAddress::Unusable& error)
    {
        boost::nowide::cerr << error.what() << "; joining the built-in server" << std::endl;
    }
}

} // namespace

Startup::Startup(int argc, char** argv)
{
    const CommandLine options(argc, argv);
    if (options.getDataDir().empty())
        DataFolder::enterWhenMissing();
    std::setlocale(LC_ALL, "");
    Plym::Profiling::reset();
    Plym::Profiling::start(Plym::Profiling::getId("Init"));

    mSystem = std::make_unique<Tessaly::EntitySystem>(false);
    mEngine = std::make_unique<Plym::Engine>(*mSystem, 255);
    mEngine->addHook("Components", "QEL Components").call(registerComponents);
    mEngine->initialize(argc, argv);

    Plym::FastMath::CRC32::setPolynomial(0xEDB88320);
    mEngine->getService<Plym::FileSystem>()->setApplicationInformation("Brindlewick Studios", "Quelmoor", "QEL");
    try
    {
        replacePendingFiles(".");
        loadSharedPictures();
        loadMusic();
        loadSharedSounds();

        mCore = createCore(*mSystem);
        configureCore(*mCore, options, *mEngine->getService<Plym::InputManager>());
        chooseServer(options, mCore->getDesktop());
        Plym::Profiling::Block block("Creating Components");
        createWorld(*mSystem);
        createActors(*mSystem);
    }
    catch (const std::runtime_error& error)
    {
        // Nearly always a data file that is not where the game looks for it.
        throw std::runtime_error(std::string(error.what()) + "\nThe game reads its data files from " +
                                 std::filesystem::current_path().string() +
                                 "; if one is missing there, start it with --data-dir DIR naming the folder that holds them");
    }
    queueMusic(*mSystem, "Adding Music #1", "I Am The Adventuror.ogg");
    queueMusic(*mSystem, "Adding Music #2", "DSRT.ogg");

    Plym::Profiling::end("Init");
    Plym::Profiling::print();
    Plym::Profiling::clear();

    mEngine->storeRT(mCore->getRenderTarget());
}

Startup::~Startup()
{
    mEngine.reset();
    mSystem.reset();
}

int Startup::run()
{
    // A mistyped server is told before the prompt, and never quietly swapped for another.
    try
    {
        Network::ServerAddress::check();
    }
    catch (const Network::ServerAddress::Unusable& error)
    {
        boost::nowide::cerr << "Quelmoor stopped: " << error.what() << std::endl;
        return 2;
    }
    boost::nowide::cout << "Launching Quelmoor v" << "0.2.1" << " client..." << std::endl;
    return mCore->run();
}

} // namespace QEL
