#ifndef PLYM_GAME_HOOK_HPP
#define PLYM_GAME_HOOK_HPP

#include <functional>
#include <string>

namespace Plym
{

class Engine;

/// A named place in the engine's start-up where the game attaches a callback
/// (e.g. "Components" in the group "QEL Components" registers the component catalogue).
/// The Hook object is only a handle: it may be discarded at once, the engine keeps the
/// callback and runs it during Engine::initialize.
class Hook
{
public:
    using Function = std::function<void(Engine&)>;

    /// What the engine keeps per hook.
    struct Record
    {
        std::string name;
        std::string group;
        Function function;
    };

    explicit Hook(Record& record) : mRecord(&record) {}

    /// Sets the callback (replacing an earlier one of this hook).
    Hook& call(Function function);

    const std::string& getName() const { return mRecord->name; }
    const std::string& getGroup() const { return mRecord->group; }

private:
    Record* mRecord;
};

} // namespace Plym

#endif
