#ifndef QEL_APP_SETTINGS_HPP
#define QEL_APP_SETTINGS_HPP

#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <filesystem>
#include <string>

namespace QEL
{

/// What the game remembers between runs: the volume step, the window's size, fullscreen and
/// the server last chosen. Every value is held within its bounds, whatever the file says.
class Settings
{
public:
    static constexpr std::uintmax_t MaxFileBytes = 64 * 1024;
    static constexpr std::size_t MaxServerBytes = 255;
    static constexpr std::uint8_t MaxVolumeLevel = 4;
    static const sf::Vector2u MinWindowSize;
    static const sf::Vector2u MaxWindowSize;
    static const sf::Vector2u DefaultWindowSize;

    /// The settings of `file`. A missing file gives the defaults quietly; one that cannot be
    /// read or parsed gives the defaults with one line on standard error, and is kept aside
    /// as <file>.bad so that the next save does not lose it.
    static Settings load(const std::filesystem::path& file);

    /// Writes the settings to `file` atomically; std::runtime_error saying why when it fails.
    void save(const std::filesystem::path& file) const;

    /// The same settings as JSON text.
    std::string toJson() const;

    std::uint8_t getVolumeLevel() const { return mVolumeLevel; }
    /// Levels above the top step count as the top step.
    void setVolumeLevel(unsigned level);

    sf::Vector2u getWindowSize() const { return mWindowSize; }
    /// Each side is clamped to [MinWindowSize, MaxWindowSize].
    void setWindowSize(sf::Vector2u size);

    bool isFullscreen() const { return mFullscreen; }
    void setFullscreen(bool fullscreen) { mFullscreen = fullscreen; }

    /// host[:port] as the player gave it; empty when none was chosen.
    const std::string& getServer() const { return mServer; }
    /// A text longer than MaxServerBytes is not a server: it is forgotten.
    void setServer(const std::string& server);

    bool operator==(const Settings& other) const;
    bool operator!=(const Settings& other) const { return !(*this == other); }

private:
    /// Reads the values of a JSON text; throws when it is not JSON or a value has the wrong type.
    static Settings parse(const std::string& text);

    std::uint8_t mVolumeLevel = MaxVolumeLevel;
    sf::Vector2u mWindowSize = DefaultWindowSize;
    bool mFullscreen = false;
    std::string mServer;
};

} // namespace QEL

#endif
