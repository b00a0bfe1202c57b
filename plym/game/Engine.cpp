#include "plym/game/Engine.hpp"

#include "ecs/EntitySystem.hpp"
#include "plym/core/FileSystem.hpp"
#include "plym/core/ScriptEngine.hpp"
#include "plym/core/ScriptEntity.hpp"
#include "plym/game/EngineComponent.hpp"
#include "plym/game/InputManager.hpp"
#include "plym/game/MusicManager.hpp"
#include "plym/game/SoundManager.hpp"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <stdexcept>

namespace Plym
{
namespace
{

Engine* gSingleton = nullptr;

const char* const DataDirOption = "--data-dir";

[[noreturn]] void failStartup(const std::string& text)
{
    std::cerr << text << std::endl;
    std::exit(1);
}

void changeDirectory(const std::string& directory)
{
    std::error_code error;
    std::filesystem::current_path(directory, error);
    if (error)
        failStartup("Cannot use the data directory \"" + directory + "\": " + error.message());
}

} // namespace

Engine::Engine(Tessaly::EntitySystem& system, int flags) : mSystem(system), mFlags(flags)
{
    if (gSingleton)
        throw std::runtime_error("Plym::Engine - only one engine may exist at a time");
    gSingleton = this;
}

Engine::~Engine()
{
    // The engine's component points back here: it goes first.
    if (mEntity != 0 && mSystem.hasEntity(mEntity))
        mSystem.destroyEntity(mEntity);
    gSingleton = nullptr;
}

Hook Engine::addHook(const std::string& name, const std::string& group)
{
    mHooks.push_back(Hook::Record{name, group, {}});
    return Hook(mHooks.back());
}

void Engine::initialize(int argc, char** argv)
{
    if (mInitialized)
        throw std::runtime_error("Plym::Engine - initialize was already called");
    mInitialized = true;
    readArguments(argc, argv);
    createServices();
    createOwnEntity();
    runHooks();
    std::cout << "Plym engine started: " << mServices.size() << " services, " << mHooks.size()
              << (mHooks.size() == 1 ? " hook" : " hooks") << std::endl;
}

void Engine::update(float seconds)
{
    if (MusicManager* music = getService<MusicManager>())
        music->update(seconds);
    if (SoundManager* sounds = getService<SoundManager>())
        sounds->update(seconds);
}

Engine* Engine::getSingleton()
{
    return gSingleton;
}

void Engine::setFocus(bool focused)
{
    mFocused = focused;
    if (InputManager* input = getService<InputManager>())
        input->setFocus(focused);
}

std::string Engine::getUsage(const std::string& program)
{
    return "Usage: " + program + " [--server HOST[:PORT]] [--name NAME] [--fullscreen] [--data-dir DIR]\n"
           "       [--plain-drawing] [--version] [--help]\n"
           "\n"
           "Quelmoor client: asks for a user name on the console, joins the game server and opens\n"
           "the game window.\n"
           "\n"
           "Options:\n"
           "  --server HOST[:PORT]  join this server (port 42242 when none is given); it is\n"
           "                        remembered and joined again next time without the option\n"
           "  --name NAME      join as NAME (one word) instead of asking for it\n"
           "  --fullscreen     start in fullscreen (F11 switches)\n"
           "  --data-dir DIR   read the game's files (pictures, music, sounds, map) from DIR; default:\n"
           "                   the current directory, else the folder installed with the game\n"
           "  --plain-drawing  draw the whole world afresh every frame instead of keeping\n"
           "                   what stands still in a cache (for comparison, or where a\n"
           "                   graphics card makes drawing cheap)\n"
           "  --version        show the version and exit\n"
           "  --help           show this help and exit\n"
           "A wrong option or a missing value stops the game with exit status 2.\n"
           "\n"
           "Environment:\n"
           "  QUELMOOR_SERVER=host[:port]   join this server when --server is not given;\n"
           "                                a server that does not parse or resolve stops the game (exit 2)\n"
           "  XDG_CONFIG_HOME               settings.json (volume, window, fullscreen, last server) and\n"
           "                                binds.json (your keys) are in $XDG_CONFIG_HOME/quelmoor,\n"
           "                                else ~/.config/quelmoor\n"
           "  XDG_PICTURES_DIR              screenshots go to $XDG_PICTURES_DIR/Quelmoor, else ~/Pictures/Quelmoor\n"
           "\n"
           "Controls:\n"
           "  W A S D, joystick 0 stick         walk\n"
           "  Left Shift, joystick 0 Z axis     run\n"
           "  Space, joystick 0 button 1        jump\n"
           "  Left click                        chop a tree, tie a felled trunk to the rope\n"
           "  Right click                       strip a tree, trim or untie a trunk, pick a cactus\n"
           "  R                                 road building on/off (left click lays, right removes)\n"
           "  Return                            open the chat line, send it\n"
           "  Escape                            close the chat line without sending it\n"
           "  M                                 music off/on, sounds stay (not while typing a chat line)\n"
           "  F3                                frame rate and profiling overlay\n"
           "  F11                               fullscreen on/off\n"
           "  F12                               screenshot\n"
           "  Volume button (bottom right)      music and sounds: right click louder, left quieter\n";
}

void Engine::readArguments(int argc, char** argv)
{
    const std::string program = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "quelmoor";
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--help") == 0)
        {
            std::cout << getUsage(program) << std::flush;
            std::exit(0);
        }
    }
    const std::string prefix = std::string(DataDirOption) + "=";
    for (int i = 1; i < argc; ++i)
    {
        const std::string argument = argv[i];
        if (argument == DataDirOption)
        {
            if (i + 1 >= argc)
                failStartup("The option --data-dir needs a directory (try --help)");
            changeDirectory(argv[++i]);
        }
        else if (argument.compare(0, prefix.size(), prefix) == 0)
            changeDirectory(argument.substr(prefix.size()));
    }
}

void Engine::createServices()
{
    addService(mSystem);
    mFileSystem = std::make_unique<FileSystem>();
    addService(*mFileSystem);
    if (mFlags & WithInput)
    {
        mInput = std::make_unique<InputManager>();
        addService(*mInput);
    }
    if (mFlags & WithAudio)
    {
        mMusic = std::make_unique<MusicManager>();
        addService(*mMusic);
        mSounds = std::make_unique<SoundManager>();
        addService(*mSounds);
    }
    if (mFlags & WithScripting)
    {
        mScripts = std::make_unique<ScriptEngine>();
        addService(*mScripts);
    }
    setFocus(mFocused);
}

void Engine::createOwnEntity()
{
    mSystem.registerComponent(EngineComponent::Name, [] { return new EngineComponent(); });
    auto* component = static_cast<EngineComponent*>(mSystem.createComponent(EngineComponent::Name));
    component->setEngine(this);
    mEntity = mSystem.createEntity();
    mSystem.addComponent(mEntity, component);
    mSystem.finalize(mEntity);
    mScriptEntity = std::make_unique<ScriptEntity>(mEntity);
    addService(*mScriptEntity);
}

void Engine::runHooks()
{
    for (const Hook::Record& hook : mHooks)
    {
        if (hook.function)
            hook.function(*this);
    }
}

} // namespace Plym
