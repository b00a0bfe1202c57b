#include "plym/game/SoundManager.hpp"

#include <SFML/Audio/Listener.hpp>
#include <SFML/Audio/Sound.hpp>
#include <SFML/Audio/SoundBuffer.hpp>

#include <algorithm>

namespace Plym
{

SoundManager::SoundManager() = default;

SoundManager::~SoundManager() = default;

SoundManager::Outcome SoundManager::play(const std::string& name, const sf::SoundBuffer& buffer, const Math::Vector2& position,
                                         float volume, float pitch)
{
    Report request{name, position, true, Outcome::Played};
    if ((position - mListener).getLengthSquared() <= Reach * Reach)
        return start(request, buffer, volume, pitch);
    request.outcome = Outcome::OutOfReach;
    return tell(request);
}

SoundManager::Outcome SoundManager::playFlat(const std::string& name, const sf::SoundBuffer& buffer, float volume)
{
    return start(Report{name, mListener, false, Outcome::Played}, buffer, volume, 1.f);
}

SoundManager::Outcome SoundManager::start(Report request, const sf::SoundBuffer& buffer, float volume, float pitch)
{
    Voice* voice = findFreeVoice();
    if (!voice)
    {
        request.outcome = Outcome::Dropped;
        return tell(request);
    }

    if (!voice->sound)
        voice->sound = std::make_unique<sf::Sound>();
    sf::Sound& sound = *voice->sound;
    sound.stop();
    sound.setBuffer(buffer);
    sound.setPitch(pitch);
    voice->volume = std::clamp(volume, 0.f, 1.f);
    sound.setVolume(voice->volume * mVolume * 100.f);
    // Interface sounds sit on the listener; world sounds at their point, fading with distance.
    sound.setRelativeToListener(!request.placed);
    sound.setPosition(request.placed ? request.position.x : 0.f, request.placed ? request.position.y : 0.f, 0.f);
    sound.setMinDistance(MinDistance);
    sound.setAttenuation(request.placed ? Attenuation : 0.f);
    sound.play();
    voice->remaining = buffer.getDuration().asSeconds() / pitch;
    return tell(request);
}

SoundManager::Voice* SoundManager::findFreeVoice()
{
    const auto free = std::find_if(mVoices.begin(), mVoices.end(), [](const Voice& voice) { return voice.remaining <= 0.f; });
    return free == mVoices.end() ? nullptr : &*free;
}

SoundManager::Outcome SoundManager::tell(const Report& report)
{
    switch (report.outcome)
    {
        case Outcome::Played:
            ++mPlayed;
            break;
        case Outcome::OutOfReach:
            ++mOutOfReach;
            break;
        case Outcome::Dropped:
            ++mDropped;
            break;
    }
    if (mObserver)
        mObserver(report);
    return report.outcome;
}

void SoundManager::setListener(const Math::Vector2& position)
{
    mListener = position;
    sf::Listener::setPosition(position.x, position.y, 0.f);
}

void SoundManager::update(float seconds)
{
    for (Voice& voice : mVoices)
        voice.remaining = std::max(0.f, voice.remaining - seconds);
}

void SoundManager::setVolume(float volume)
{
    mVolume = std::clamp(volume, 0.f, 1.f);
    for (Voice& voice : mVoices)
    {
        if (voice.sound && voice.remaining > 0.f)
            voice.sound->setVolume(voice.volume * mVolume * 100.f);
    }
}

std::size_t SoundManager::getLiveVoices() const
{
    return static_cast<std::size_t>(std::count_if(mVoices.begin(), mVoices.end(), [](const Voice& voice) { return voice.remaining > 0.f; }));
}

void SoundManager::setObserver(std::function<void(const Report&)> observer)
{
    mObserver = std::move(observer);
}

} // namespace Plym
