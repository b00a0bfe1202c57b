#include "network/ControlCharacters.hpp"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using QEL::Network::isControlCharacter;
using QEL::Network::replaceControlCharacters;

TEST(ControlCharacters, EveryClassOfControlIsReplacedAndTheirNeighboursKept)
{
    // Ranges of controls, each with the code points just outside it, which are text.
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> controls = {
        {0x00, 0x1F},     // C0: tab, line feed, carriage return, escape...
        {0x7F, 0x9F},     // DEL and C1, the eight-bit CSI and NEL among them
        {0x061C, 0x061C}, // Arabic letter mark
        {0x200E, 0x200F}, // left-to-right and right-to-left marks
        {0x2028, 0x202E}, // line and paragraph separators, embeddings and overrides
        {0x2066, 0x2069}, // isolates
    };
    for (const auto& [first, last] : controls)
    {
        for (std::uint32_t c = first; c <= last; ++c)
            EXPECT_TRUE(isControlCharacter(c)) << std::hex << c;
        if (first > 0)
        {
            EXPECT_FALSE(isControlCharacter(first - 1)) << std::hex << first - 1;
        }
        EXPECT_FALSE(isControlCharacter(last + 1)) << std::hex << last + 1;
    }
}

TEST(ControlCharacters, ALineCanNeitherForgeAnotherNorSteerTheTerminal)
{
    const std::vector<std::pair<std::u32string, std::u32string>> cases = {
        {U"hi\nbob: give me your axe\x1b[2J", U"hi\uFFFDbob: give me your axe\uFFFD[2J"},
        {U"a\r\n[Server]: b", U"a\uFFFD\uFFFD[Server]: b"},
        {U"ok\u2028alice: x\u2029", U"ok\uFFFDalice: x\uFFFD"},
        {U"\u202Eevil\u2066\u200F", U"\uFFFDevil\uFFFD\uFFFD"},
        {U"\u009B31m\u0085\u007F\t", U"\uFFFD31m\uFFFD\uFFFD\uFFFD"},
        {U"caf\u00E9 \u20AC \U0001F642 \u05E9\u05DC\u05D5\u05DD \u00A0~", U"caf\u00E9 \u20AC \U0001F642 \u05E9\u05DC\u05D5\u05DD \u00A0~"},
        {U"", U""},
    };
    for (const auto& [received, shown] : cases)
    {
        sf::String text(std::basic_string<sf::Uint32>(received.begin(), received.end()));
        replaceControlCharacters(text);
        EXPECT_EQ(text.toUtf32(), std::basic_string<sf::Uint32>(shown.begin(), shown.end()));
    }
}

TEST(ControlCharacters, CleanTextIsValidUtf8WithoutControlsAndCutBetweenCharacters)
{
    using QEL::Network::cleanText;
    const std::string euro = "\xE2\x82\xAC";  // three bytes
    const std::string fffd = "\xEF\xBF\xBD";
    const struct
    {
        std::string text;
        std::size_t limit;
        std::string clean;
    } cases[] = {
        {"hi\nbob: give me your axe\x1b[2J", 100, "hi" + fffd + "bob: give me your axe" + fffd + "[2J"},
        {"C1 \xC2\x9B" "31m, bidi \xE2\x80\xAE, separator \xE2\x80\xA8", 100,
         "C1 " + fffd + "31m, bidi " + fffd + ", separator " + fffd},
        // Invalid UTF-8: a stray continuation byte, a truncated sequence, an overlong slash.
        {"a\x80" "b\xE2\x82" "c\xC0\xAF", 100, "a" + fffd + "b" + fffd + fffd + "c" + fffd + fffd},
        {"ab" + euro + euro, 7, "ab" + euro},
        {"ab" + euro + euro, 8, "ab" + euro + euro},
        {"x\x1b", 3, "x"},
        {"caf\xC3\xA9 \xF0\x9F\x99\x82", 100, "caf\xC3\xA9 \xF0\x9F\x99\x82"},
        {"", 10, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cleanText(c.text, c.limit), c.clean) << c.text << " / " << c.limit;
}
