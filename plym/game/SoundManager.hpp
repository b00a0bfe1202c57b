#ifndef PLYM_GAME_SOUNDMANAGER_HPP
#define PLYM_GAME_SOUNDMANAGER_HPP

#include "plym/core/Vector2.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace sf
{
class Sound;
class SoundBuffer;
}

namespace Plym
{

/// Short sound effects placed in the world around a listener, through SFML's positional audio.
///
/// An effect farther from the listener than the reach is not played; a nearer one is placed at
/// its world point and attenuated with distance. At most MaxVoices effects sound at once: one
/// asked for while every voice is busy is dropped and counted, so a flood of requests neither
/// exhausts the audio device's sources nor piles up. A voice is busy for its buffer's length,
/// counted in update steps, so what plays never depends on the device: without one (or with
/// ALSOFT_DRIVERS=null) everything runs the same, silently. Main thread only.
class SoundManager
{
public:
    enum class Outcome
    {
        Played,
        OutOfReach,  ///< too far from the listener to be heard
        Dropped      ///< every voice was busy
    };

    /// One effect asked for, as observers are told of it.
    struct Report
    {
        std::string name;
        Math::Vector2 position;
        bool placed;  ///< false for the interface's own sounds, heard at the listener
        Outcome outcome;
    };

    /// The most effects sounding at once, well under OpenAL's 256 sources.
    static constexpr std::size_t MaxVoices = 32;
    /// World units beyond which nothing is heard: from the screen's centre to its corner.
    static constexpr float Reach = 1000.f;
    /// World units within which an effect is heard at full loudness.
    static constexpr float MinDistance = 200.f;
    /// How quickly loudness falls beyond MinDistance (OpenAL's roll-off factor).
    static constexpr float Attenuation = 2.f;

    SoundManager();
    ~SoundManager();

    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    /// Plays `buffer` (mono) at a world point, `volume` (0 to 1) times the master volume.
    Outcome play(const std::string& name, const sf::SoundBuffer& buffer, const Math::Vector2& position,
                 float volume = 1.f, float pitch = 1.f);

    /// Plays `buffer` at the listener, unattenuated: the interface's own sounds.
    Outcome playFlat(const std::string& name, const sf::SoundBuffer& buffer, float volume = 1.f);

    /// Where the player hears from; SFML's listener follows.
    void setListener(const Math::Vector2& position);
    const Math::Vector2& getListener() const { return mListener; }

    /// Ages the sounding effects: a voice whose effect has ended is free again.
    void update(float seconds);

    /// Master volume of the effects from 0 (silent) to 1 (full).
    void setVolume(float volume);
    float getVolume() const { return mVolume; }

    std::size_t getLiveVoices() const;
    std::uint64_t getPlayed() const { return mPlayed; }
    std::uint64_t getOutOfReach() const { return mOutOfReach; }
    std::uint64_t getDropped() const { return mDropped; }

    /// Told of every effect asked for, with its outcome; an empty function stops the reports.
    void setObserver(std::function<void(const Report&)> observer);

private:
    struct Voice
    {
        std::unique_ptr<sf::Sound> sound;  // made on first use: each holds an OpenAL source
        float remaining = 0.f;             // seconds until the effect has ended
        float volume = 0.f;                // the effect's own factor on the master volume
    };

    Outcome start(Report request, const sf::SoundBuffer& buffer, float volume, float pitch);
    Voice* findFreeVoice();
    Outcome tell(const Report& report);

    std::array<Voice, MaxVoices> mVoices;
    Math::Vector2 mListener;
    float mVolume = 1.f;
    std::uint64_t mPlayed = 0;
    std::uint64_t mOutOfReach = 0;
    std::uint64_t mDropped = 0;
    std::function<void(const Report&)> mObserver;
};

} // namespace Plym

#endif
