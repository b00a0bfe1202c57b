#include "app/Settings.hpp"

#include "app/TextFile.hpp"

#include <nlohmann/json.hpp>

#include <boost/nowide/iostream.hpp>

#include <algorithm>
#include <limits>

namespace QEL
{
namespace
{

/// A whole number of the document, bounded to unsigned; negative numbers count as 0.
unsigned wholeNumber(const nlohmann::json& document, const char* key, unsigned fallback)
{
    if (!document.contains(key))
        return fallback;
    const nlohmann::json& value = document.at(key);
    if (value.is_number_unsigned())
        return static_cast<unsigned>(std::min<std::uint64_t>(value.get<std::uint64_t>(), std::numeric_limits<unsigned>::max()));
    if (value.is_number_integer())
        return 0;
    throw std::runtime_error(std::string("\"") + key + "\" is not a whole number");
}

} // namespace

const sf::Vector2u Settings::MinWindowSize(320, 240);
const sf::Vector2u Settings::MaxWindowSize(8192, 8192);
const sf::Vector2u Settings::DefaultWindowSize(800, 600);

Settings Settings::load(const std::filesystem::path& file)
{
    std::error_code missing;
    if (!std::filesystem::exists(file, missing))
        return Settings();
    try
    {
        return parse(TextFile::read(file, MaxFileBytes));
    }
    catch (const std::exception& error)
    {
        std::filesystem::path aside = file;
        aside += ".bad";
        std::error_code renamed;
        std::filesystem::rename(file, aside, renamed);
        boost::nowide::cerr << "Settings file " << file.string() << " is broken (" << error.what() << "); "
                            << (renamed ? "it could not be moved aside" : "kept as " + aside.filename().string())
                            << ", using the defaults" << std::endl;
        return Settings();
    }
}

Settings Settings::parse(const std::string& text)
{
    const nlohmann::json document = nlohmann::json::parse(text);
    if (!document.is_object())
        throw std::runtime_error("not a JSON object");
    Settings settings;
    settings.setVolumeLevel(wholeNumber(document, "volume", settings.mVolumeLevel));
    if (document.contains("window"))
    {
        const nlohmann::json& window = document.at("window");
        if (!window.is_object())
            throw std::runtime_error("\"window\" is not an object");
        settings.setWindowSize(sf::Vector2u(wholeNumber(window, "width", settings.mWindowSize.x),
                                            wholeNumber(window, "height", settings.mWindowSize.y)));
    }
    settings.setFullscreen(document.value("fullscreen", false));
    settings.setServer(document.value("server", std::string()));
    return settings;
}

void Settings::save(const std::filesystem::path& file) const
{
    TextFile::replace(file, toJson());
}

std::string Settings::toJson() const
{
    const nlohmann::json document = {
        {"volume", mVolumeLevel},
        {"window", {{"width", mWindowSize.x}, {"height", mWindowSize.y}}},
        {"fullscreen", mFullscreen},
        {"server", mServer}};
    return document.dump(4) + "\n";
}

void Settings::setVolumeLevel(unsigned level)
{
    mVolumeLevel = static_cast<std::uint8_t>(std::min<unsigned>(level, MaxVolumeLevel));
}

void Settings::setWindowSize(sf::Vector2u size)
{
    mWindowSize.x = std::clamp(size.x, MinWindowSize.x, MaxWindowSize.x);
    mWindowSize.y = std::clamp(size.y, MinWindowSize.y, MaxWindowSize.y);
}

void Settings::setServer(const std::string& server)
{
    mServer = server.size() <= MaxServerBytes ? server : std::string();
}

bool Settings::operator==(const Settings& other) const
{
    return mVolumeLevel == other.mVolumeLevel && mWindowSize == other.mWindowSize && mFullscreen == other.mFullscreen &&
           mServer == other.mServer;
}

} // namespace QEL
