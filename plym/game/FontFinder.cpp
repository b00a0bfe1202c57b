#include "plym/game/FontFinder.hpp"

#include <fontconfig/fontconfig.h>

#include <memory>
#include <stdexcept>

namespace Plym
{
namespace
{

std::unique_ptr<sf::Font> loadDefaultFont()
{
    const std::string& path = FontFinder::getDefaultFontFile();
    auto font = std::make_unique<sf::Font>();
    if (path.empty() || !font->loadFromFile(path))
        throw std::runtime_error(std::string("FontFinder: no usable sans font found (looked for \"") + FontFinder::DefaultFamily
                                 + "\" through fontconfig; install fonts-dejavu-core)");
    return font;
}

} // namespace

const sf::Font& FontFinder::getDefaultFont()
{
    static const std::unique_ptr<sf::Font> font = loadDefaultFont();
    return *font;
}

const std::string& FontFinder::getDefaultFontFile()
{
    static const std::string path = findFontFile(DefaultFamily);
    return path;
}

std::string FontFinder::findFontFile(const std::string& pattern)
{
    if (!FcInit())
        return {};
    FcPattern* query = FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str()));
    if (!query)
        return {};
    FcConfigSubstitute(nullptr, query, FcMatchPattern);
    FcDefaultSubstitute(query);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, query, &result);
    std::string path;
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = reinterpret_cast<const char*>(file);
    if (match)
        FcPatternDestroy(match);
    FcPatternDestroy(query);
    return path;
}

} // namespace Plym
