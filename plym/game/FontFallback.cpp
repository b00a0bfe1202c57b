#include "plym/game/FontFallback.hpp"

#include "plym/game/FontFinder.hpp"

#include <fontconfig/fontconfig.h>

#include <cstdint>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace Plym
{
namespace
{

constexpr sf::Uint32 CharacterCount = 0x110000;

/// Marks drawn over the character before them, and the joiners and selectors that shape it.
bool isCombining(sf::Uint32 c)
{
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
           (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xFE20 && c <= 0xFE2F) ||
           c == 0x200D || c == 0x3099 || c == 0x309A || (c >= 0xE0100 && c <= 0xE01EF);
}

/// One font file fontconfig offers, in its order of preference after the default.
struct Candidate
{
    std::string file;
    FcCharSet* charset = nullptr;  ///< owned by the sorted set
    int loaded = -1;               ///< its index in the loaded fonts, once loaded
    bool unusable = false;         ///< SFML could not load it
};

/// One loaded font file.
struct Loaded
{
    const sf::Font* font = nullptr;
    FcCharSet* charset = nullptr;
    std::unique_ptr<sf::Font> owned;  ///< empty for the default font, which FontFinder keeps
};

class Fallbacks
{
public:
    Fallbacks()
    {
        FcInit();
        rank();
        mLoaded.push_back({&FontFinder::getDefaultFont(), findDefaultCharset(), nullptr});
    }

    ~Fallbacks()
    {
        if (mRanked)
            FcFontSetDestroy(mRanked);
    }

    Fallbacks(const Fallbacks&) = delete;
    Fallbacks& operator=(const Fallbacks&) = delete;

    const sf::Font& getFont(sf::Uint32 c)
    {
        if (c >= CharacterCount)
            return *mLoaded[0].font;
        std::uint8_t& slot = mSlots[c];
        if (slot == 0)
            slot = static_cast<std::uint8_t>(find(c) + 1);
        return *mLoaded[slot - 1].font;
    }

    bool hasGlyph(const sf::Font& font, sf::Uint32 c) const
    {
        for (const Loaded& loaded : mLoaded)
            if (loaded.font == &font)
                return loaded.charset && FcCharSetHasChar(loaded.charset, c);
        return false;
    }

private:
    /// Every font fontconfig knows, nearest to the default first, that SFML can draw:
    /// outlines only, and the first face of a collection.
    void rank()
    {
        FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(FontFinder::DefaultFamily));
        if (!pattern)
            return;
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        mRanked = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
        FcPatternDestroy(pattern);
        if (!mRanked)
            return;
        for (int i = 0; i < mRanked->nfont; ++i)
        {
            FcPattern* font = mRanked->fonts[i];
            FcChar8* file = nullptr;
            FcCharSet* charset = nullptr;
            int index = 0;
            FcBool outline = FcFalse;
            FcBool color = FcFalse;
            if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch ||
                FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch)
                continue;
            FcPatternGetInteger(font, FC_INDEX, 0, &index);
            FcPatternGetBool(font, FC_OUTLINE, 0, &outline);
            FcPatternGetBool(font, FC_COLOR, 0, &color);
            if (index == 0 && outline && !color)
                mCandidates.push_back({reinterpret_cast<const char*>(file), charset});
        }
    }

    /// The character set of the file the default font came from.
    FcCharSet* findDefaultCharset()
    {
        const std::string& file = FontFinder::getDefaultFontFile();
        for (Candidate& candidate : mCandidates)
            if (candidate.file == file)
            {
                candidate.loaded = 0;
                return candidate.charset;
            }
        return nullptr;
    }

    /// Index in the loaded fonts of the font that draws `c`.
    int find(sf::Uint32 c)
    {
        if (mLoaded[0].charset && FcCharSetHasChar(mLoaded[0].charset, c))
            return 0;
        for (Candidate& candidate : mCandidates)
            if (!candidate.unusable && FcCharSetHasChar(candidate.charset, c) && load(candidate))
                return candidate.loaded;
        return 0;
    }

    bool load(Candidate& candidate)
    {
        if (candidate.loaded >= 0)
            return true;
        // The slots hold an index in a byte; past that many files, the rest stay unused.
        auto font = std::make_unique<sf::Font>();
        if (mLoaded.size() >= 254 || !font->loadFromFile(candidate.file))
        {
            candidate.unusable = true;
            std::cerr << "FontFallback: cannot use " << candidate.file << "; its characters draw as boxes\n";
            return false;
        }
        candidate.loaded = static_cast<int>(mLoaded.size());
        mLoaded.push_back({font.get(), candidate.charset, std::move(font)});
        return true;
    }

    FcFontSet* mRanked = nullptr;
    std::vector<Candidate> mCandidates;
    std::vector<Loaded> mLoaded;  ///< the default font first
    /// For each character, 1 + the index of its font in the loaded fonts; 0 until looked up.
    std::vector<std::uint8_t> mSlots = std::vector<std::uint8_t>(CharacterCount, 0);
};

Fallbacks& getFallbacks()
{
    static Fallbacks fallbacks;
    return fallbacks;
}

} // namespace

const sf::Font& FontFallback::getFont(sf::Uint32 character, const sf::Font* previous)
{
    Fallbacks& fallbacks = getFallbacks();
    if (previous && isCombining(character) && fallbacks.hasGlyph(*previous, character))
        return *previous;
    return fallbacks.getFont(character);
}

bool FontFallback::hasGlyph(const sf::Font& font, sf::Uint32 character)
{
    return getFallbacks().hasGlyph(font, character);
}

} // namespace Plym
