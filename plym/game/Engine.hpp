#ifndef PLYM_GAME_ENGINE_HPP
#define PLYM_GAME_ENGINE_HPP

#include "ecs/Types.hpp"
#include "plym/game/Hook.hpp"

#include <list>
#include <memory>
#include <string>
#include <typeindex>
#include <unordered_map>

namespace sf
{
class RenderTarget;
}

namespace Tessaly
{
class EntitySystem;
}

namespace Plym
{

class FileSystem;
class InputManager;
class MusicManager;
class SoundManager;
class ScriptEngine;
class ScriptEntity;

/// The engine object: start-up hooks, the service registry and the built-in services.
///
/// Services are found by type: addService keeps the first object given for a type (later
/// ones are ignored) and never owns it; removeService drops it again; getService returns it
/// or null. initialize creates
/// and registers the built-in services (owned by the engine): the entity system given to the
/// constructor, FileSystem and ScriptEntity (the engine's own entity), plus, by the flags,
/// InputManager (WithInput), MusicManager and SoundManager (WithAudio) and ScriptEngine
/// (WithScripting).
/// A service registered before initialize takes the place of the built-in one.
///
/// At most one engine exists at a time (getSingleton); it must be destroyed before its
/// entity system. Main thread only.
class Engine
{
public:
    static constexpr int WithInput = 1;
    static constexpr int WithAudio = 2;
    static constexpr int WithScripting = 4;
    static constexpr int Everything = 255;

    Engine(Tessaly::EntitySystem& system, int flags);
    ~Engine();

    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    /// A start-up hook; attach its callback with call(). Callbacks run during initialize in
    /// the order their hooks were added; hooks added later never run.
    Hook addHook(const std::string& name, const std::string& group);

    /// Reads the command line, creates the services, puts the engine's own component on a
    /// new entity, runs the hooks and prints one start-up line.
    /// --data-dir DIR (or --data-dir=DIR): change to DIR first; when that fails the reason
    /// goes to standard error and the process exits with status 1.
    /// --help: prints getUsage() to standard output and exits with status 0.
    /// Other arguments are left to the program. Throws when called twice.
    void initialize(int argc, char** argv);
    bool isInitialized() const { return mInitialized; }

    /// One update step: moves the music playlist on and ages the sounding effects.
    void update(float seconds);

    /// The render target of the game window (not owned).
    void storeRT(sf::RenderTarget* target) { mRenderTarget = target; }
    sf::RenderTarget* getRT() const { return mRenderTarget; }

    /// The engine that exists now, null when none.
    static Engine* getSingleton();

    /// Window focus; the input service reads nothing while it is false.
    void setFocus(bool focused);
    bool hasFocus() const { return mFocused; }

    template <class T>
    void addService(T& service)
    {
        mServices.emplace(std::type_index(typeid(T)), &service);
    }

    /// Forgets the service of type T if it is `service`: an object leaving before the engine
    /// takes its entry with it.
    template <class T>
    void removeService(T& service)
    {
        auto found = mServices.find(std::type_index(typeid(T)));
        if (found != mServices.end() && found->second == &service)
            mServices.erase(found);
    }

    template <class T>
    T* getService() const
    {
        auto found = mServices.find(std::type_index(typeid(T)));
        return found == mServices.end() ? nullptr : static_cast<T*>(found->second);
    }

    Tessaly::EntitySystem& getEntitySystem() { return mSystem; }
    int getFlags() const { return mFlags; }

    /// The entity carrying the engine's own component (0 before initialize).
    Tessaly::EntityId getEntity() const { return mEntity; }

    /// Command-line help of the client: options, environment and controls.
    static std::string getUsage(const std::string& program);

private:
    void readArguments(int argc, char** argv);
    void createServices();
    void createOwnEntity();
    void runHooks();

    Tessaly::EntitySystem& mSystem;
    int mFlags;
    bool mInitialized = false;
    bool mFocused = true;
    sf::RenderTarget* mRenderTarget = nullptr;
    Tessaly::EntityId mEntity = 0;
    std::list<Hook::Record> mHooks;
    std::unordered_map<std::type_index, void*> mServices;
    std::unique_ptr<FileSystem> mFileSystem;
    std::unique_ptr<InputManager> mInput;
    std::unique_ptr<MusicManager> mMusic;
    std::unique_ptr<SoundManager> mSounds;
    std::unique_ptr<ScriptEngine> mScripts;
    std::unique_ptr<ScriptEntity> mScriptEntity;
};

} // namespace Plym

#endif
