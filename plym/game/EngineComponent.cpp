#include "plym/game/EngineComponent.hpp"

#include "plym/game/Engine.hpp"
#include "plym/game/MusicManager.hpp"

#include <boost/any.hpp>

#include <string>
#include <tuple>

namespace Plym
{

const char* const EngineComponent::Name = "Plym.Engine";

EngineComponent::EngineComponent() : Tessaly::Component(Name)
{
}

void EngineComponent::addedToEntity()
{
    requestMessage("Plym.Get.Engine", &EngineComponent::getEngine);
    requestMessage("Plym.Music.Add", &EngineComponent::addMusic);
    requestMessage("Plym.Music.Play", &EngineComponent::playMusic);
}

void EngineComponent::getEngine(Tessaly::Message& message)
{
    if (!mEngine)
        return;
    message.payload = mEngine;
    message.handled = true;
}

void EngineComponent::addMusic(const Tessaly::Message& message)
{
    const auto& file = boost::any_cast<const std::string&>(message.payload);
    if (MusicManager* music = mEngine ? mEngine->getService<MusicManager>() : nullptr)
        music->add(file);
}

void EngineComponent::playMusic(const Tessaly::Message& message)
{
    const auto& [file, volume, loop] = boost::any_cast<const std::tuple<std::string, float, bool>&>(message.payload);
    if (MusicManager* music = mEngine ? mEngine->getService<MusicManager>() : nullptr)
        music->play(file, volume, loop);
}

} // namespace Plym
