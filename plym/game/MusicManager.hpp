#ifndef PLYM_GAME_MUSICMANAGER_HPP
#define PLYM_GAME_MUSICMANAGER_HPP

#include <SFML/Audio/Music.hpp>

#include <memory>
#include <string>
#include <vector>

namespace Plym
{

/// Background music: a playlist of files streamed one at a time through sf::Music.
///
/// The first track added starts playing; a track that ends without looping is followed by
/// the next one of the playlist (wrapping around). play() switches to any file at once.
/// Files that cannot be opened are reported on standard error and skipped; the game goes
/// on in silence rather than failing (also without a sound device).
class MusicManager
{
public:
    MusicManager() = default;
    MusicManager(const MusicManager&) = delete;
    MusicManager& operator=(const MusicManager&) = delete;

    /// Appends a file to the playlist; it starts playing when nothing plays yet.
    void add(const std::string& file);

    /// Switches to `file` at `volume` (a factor on the master volume, 0 to 1), looping or not.
    void play(const std::string& file, float volume, bool loop);

    /// Moves on to the next playlist track when the current one has ended.
    void update(float seconds);

    /// Master volume from 0 (silent) to 1 (full); SFML gets volume x 100 x the track's factor.
    void setVolume(float volume);
    float getVolume() const { return mVolume; }

    /// File of the current track, empty when none is open.
    const std::string& getCurrent() const;

    const std::vector<std::string>& getPlaylist() const { return mPlaylist; }

    /// The current track, null when none is open (for inspection).
    const sf::Music* getMusic() const { return mMusic.get(); }

private:
    bool start(const std::string& file, float factor, bool loop);
    void advance();
    void applyVolume();

    std::vector<std::string> mPlaylist;
    std::size_t mPosition = 0;      // playlist index of the current or last track
    std::unique_ptr<sf::Music> mMusic;
    std::string mCurrent;
    float mVolume = 1.f;
    float mFactor = 1.f;
};

} // namespace Plym

#endif
