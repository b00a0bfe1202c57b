#ifndef PLYM_GAME_ENGINECOMPONENT_HPP
#define PLYM_GAME_ENGINECOMPONENT_HPP

#include "ecs/Component.hpp"

namespace Plym
{

class Engine;

/// The engine's own component "Plym.Engine", on an entity of its own. It answers the
/// global question "Plym.Get.Engine" (payload := Engine*, handled) and passes the global
/// messages "Plym.Music.Add" (std::string file) and "Plym.Music.Play"
/// (std::tuple<std::string, float, bool>: file, volume factor, loop) to the engine's music
/// service. The music messages are left unhandled so that other listeners still see them;
/// without a music service they are ignored.
class EngineComponent : public Tessaly::Component
{
public:
    static const char* const Name;

    EngineComponent();

    void setEngine(Engine* engine) { mEngine = engine; }

    void addedToEntity() override;

private:
    void getEngine(Tessaly::Message& message);
    void addMusic(const Tessaly::Message& message);
    void playMusic(const Tessaly::Message& message);

    Engine* mEngine = nullptr;
};

} // namespace Plym

#endif
