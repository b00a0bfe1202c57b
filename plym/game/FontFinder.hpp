#ifndef PLYM_GAME_FONTFINDER_HPP
#define PLYM_GAME_FONTFINDER_HPP

#include <SFML/Graphics/Font.hpp>

#include <string>

namespace Plym
{

/// Finds fonts installed on the system through fontconfig.
class FontFinder
{
public:
    /// The family the default font is looked up by.
    static constexpr const char* DefaultFamily = "DejaVu Sans";

    /// The default sans font ("DejaVu Sans" or fontconfig's best match), loaded on first use
    /// and kept for the whole process. Throws std::runtime_error when no font can be loaded.
    static const sf::Font& getDefaultFont();

    /// Path of the file the default font is loaded from, empty if none.
    static const std::string& getDefaultFontFile();

    /// Path of the file fontconfig picks for `pattern` (e.g. "DejaVu Sans"), empty if none.
    static std::string findFontFile(const std::string& pattern);
};

} // namespace Plym

#endif
