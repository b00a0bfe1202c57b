#include "plym/game/FontFallback.hpp"
#include "plym/game/FontFinder.hpp"
#include "plym/game/TextRuns.hpp"

#include "tests/plym/DisplayGuard.hpp"

#include <SFML/Graphics/RenderTexture.hpp>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Plym::FontFallback;
using Plym::FontFinder;
using Plym::TextRuns;

namespace
{

/// A run as the table writes it: its characters, and whether the default font draws them.
struct ExpectedRun
{
    std::u32string text;
    bool byDefault;
};

struct SplitCase
{
    const char* what;
    std::u32string text;
    std::vector<ExpectedRun> runs;
};

// Noto CJK (or whatever fontconfig offers) draws what DejaVu Sans lacks; U+0378 and U+FDD0
// are in no font, so they stay with the default font and draw as its box.
const std::vector<SplitCase> SplitCases = {
    {"Latin only", U"Gr\u00fc\u00dfe, wanderer!", {{U"Gr\u00fc\u00dfe, wanderer!", true}}},
    {"CJK only", U"\u4f60\u597d\u4e16\u754c", {{U"\u4f60\u597d\u4e16\u754c", false}}},
    {"mixed", U"[Bob]: \u4f60\u597d ok \u3053\u3093", {{U"[Bob]: ", true}, {U"\u4f60\u597d", false}, {U" ok ", true}, {U"\u3053\u3093", false}}},
    {"in no font", U"a\u0378\ufdd0b", {{U"a\u0378\ufdd0b", true}}},
    {"combining mark on Latin", U"e\u0301a", {{U"e\u0301a", true}}},
    {"combining mark stays with its CJK base", U"\u304b\u3099\u65e5\u0301x", {{U"\u304b\u3099\u65e5\u0301", false}, {U"x", true}}},
    {"emoji the default font has", U"hi \U0001F600", {{U"hi \U0001F600", true}}},
    {"astral CJK", U"a\U00020B9F", {{U"a", true}, {U"\U00020B9F", false}}},
    {"empty", U"", {}},
};

sf::String toString(const std::u32string& text)
{
    return sf::String(std::basic_string<sf::Uint32>(text.begin(), text.end()));
}

TEST(TextRuns, SplitsTextIntoRunsOfOneFontEach)
{
    const sf::Font* defaultFont = &FontFinder::getDefaultFont();
    for (const SplitCase& test : SplitCases)
    {
        const sf::String text = toString(test.text);
        const std::vector<TextRuns::Run> runs = TextRuns::split(text);
        ASSERT_EQ(runs.size(), test.runs.size()) << test.what;
        for (std::size_t index = 0; index < runs.size(); ++index)
        {
            const TextRuns::Run& run = runs[index];
            EXPECT_EQ(text.substring(run.begin, run.length), toString(test.runs[index].text)) << test.what << ", run " << index;
            EXPECT_EQ(run.font == defaultFont, test.runs[index].byDefault) << test.what << ", run " << index;
            // A run's font has the glyph of the character that opened it.
            if (run.font != defaultFont)
            {
                EXPECT_TRUE(FontFallback::hasGlyph(*run.font, text[run.begin])) << test.what << ", run " << index;
            }
        }
    }
}

TEST(TextRuns, OneFallbackFontServesAScriptAndCharactersInNoFontGetTheDefault)
{
    const sf::Font& han = FontFallback::getFont(U'\u4f60');
    EXPECT_NE(&han, &FontFinder::getDefaultFont());
    EXPECT_EQ(&FontFallback::getFont(U'\u754c'), &han);
    EXPECT_EQ(&FontFallback::getFont(U'\u3053'), &han);
    EXPECT_NE(han.getInfo().family.find("Sans"), std::string::npos) << "nearest to DejaVu Sans: " << han.getInfo().family;
    EXPECT_EQ(&FontFallback::getFont(0x0378), &FontFinder::getDefaultFont());
    EXPECT_EQ(&FontFallback::getFont(0x110000), &FontFinder::getDefaultFont());
}

class TextRunsPicture : public ::testing::Test
{
protected:
    static constexpr unsigned Width = 400;
    static constexpr unsigned Height = 60;

    void SetUp() override
    {
        PLYM_REQUIRE_DISPLAY();
        ASSERT_TRUE(mTarget.create(Width, Height));
    }

    template <typename Drawable>
    sf::Image picture(Drawable& text)
    {
        mTarget.clear(sf::Color(30, 90, 40));
        text.setFillColor(sf::Color::White);
        text.setPosition(10.3f, 12.6f);
        mTarget.draw(text);
        mTarget.display();
        return mTarget.getTexture().copyToImage();
    }

    sf::RenderTexture mTarget;
};

TEST_F(TextRunsPicture, TextTheDefaultFontDrawsLooksAsOneTextOfItsOwn)
{
    for (const sf::String& line : {sf::String("[Unknown]: hello there"), sf::String(L"Gr\u00fc\u00dfe \u20ac, wanderer!"), sf::String("|")})
        for (unsigned size : {12u, 30u})
        {
            sf::Text text(line, FontFinder::getDefaultFont(), size);
            TextRuns runs(line, size);
            ASSERT_EQ(runs.getPieces().size(), 1u);
            EXPECT_EQ(runs.getLocalBounds(), text.getLocalBounds());
            EXPECT_EQ(runs.getGlobalBounds(), text.getGlobalBounds());
            const sf::Image expected = picture(text);
            const sf::Image shown = picture(runs);
            EXPECT_EQ(std::vector<sf::Uint8>(shown.getPixelsPtr(), shown.getPixelsPtr() + Width * Height * 4),
                      std::vector<sf::Uint8>(expected.getPixelsPtr(), expected.getPixelsPtr() + Width * Height * 4))
                << line.toAnsiString() << " at " << size;
        }
}

TEST_F(TextRunsPicture, RunsFollowOneAnotherOnOneBaseline)
{
    TextRuns runs(toString(U"ab \u4f60\u597d cd"), 30);
    const std::vector<sf::Text>& pieces = runs.getPieces();
    ASSERT_EQ(pieces.size(), 3u);
    for (std::size_t index = 1; index < pieces.size(); ++index)
    {
        const sf::Text& before = pieces[index - 1];
        EXPECT_FLOAT_EQ(pieces[index].getPosition().x, before.findCharacterPos(before.getString().getSize()).x);
        EXPECT_FLOAT_EQ(pieces[index].getPosition().y, 0.f);
    }
    // The ideographs stand on the Latin letters' baseline: their feet within a few pixels.
    const float latinBottom = pieces[0].getGlobalBounds().top + pieces[0].getGlobalBounds().height;
    const float hanBottom = pieces[1].getGlobalBounds().top + pieces[1].getGlobalBounds().height;
    EXPECT_NEAR(hanBottom, latinBottom, 4.f);
    const sf::FloatRect bounds = runs.getLocalBounds();
    EXPECT_FLOAT_EQ(bounds.left + bounds.width, pieces[2].getGlobalBounds().left + pieces[2].getGlobalBounds().width);
}

} // namespace
