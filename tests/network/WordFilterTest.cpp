#include "network/WordFilter.hpp"
#include "plym/core/Math.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

using QEL::Network::filterText;
using QEL::Network::getFilteredWords;

namespace
{

const std::set<sf::Uint32> MaskSymbols = {0xA7, '!', '@', '#', 0xA3, 0xA4, '$', '%', '&', 0xA1, 0xBF, '*'};

bool isMask(const sf::String& text)
{
    for (sf::Uint32 c : text)
        if (MaskSymbols.count(c) == 0)
            return false;
    return !text.isEmpty();
}

/// Filters "<before><word><after>" and checks that the text around the word is kept;
/// returns what became of the word.
sf::String filterBetween(const sf::String& before, const sf::String& word, const sf::String& after)
{
    sf::String text = before + word + after;
    filterText(text);
    EXPECT_EQ(text.substring(0, before.getSize()), before);
    EXPECT_EQ(text.substring(text.getSize() - after.getSize()), after);
    return text.substring(before.getSize(), text.getSize() - before.getSize() - after.getSize());
}

/// The text with every run of mask symbols replaced by one "X".
std::string skeleton(const sf::String& text)
{
    std::string result;
    for (sf::Uint32 c : text)
    {
        if (MaskSymbols.count(c) == 0)
            result += static_cast<char>(c);
        else if (result.empty() || result.back() != 'X')
            result += 'X';
    }
    return result;
}

/// True when the word holds an entry listed before it, which the filter masks first.
bool holdsEarlierEntry(const sf::String& word)
{
    for (const sf::String& entry : getFilteredWords())
    {
        if (entry == word)
            return false;
        if (word.find(entry) != sf::String::InvalidPos)
            return true;
    }
    return false;
}

class WordFilter : public ::testing::Test
{
protected:
    void SetUp() override { Plym::Math::seedRandom(1234); }
};

} // namespace

TEST_F(WordFilter, ListHasTheAgreedShape)
{
    const std::vector<sf::String>& words = getFilteredWords();
    ASSERT_EQ(words.size(), 57u);
    std::size_t bytes = words.size() - 1;
    std::size_t twoWords = 0;
    std::set<std::string> distinct;
    for (const sf::String& word : words)
    {
        const std::string text = word.toAnsiString();
        bytes += text.size();
        EXPECT_GE(text.size(), 3u) << text;
        EXPECT_LE(text.size(), 12u) << text;
        EXPECT_EQ(text.find_first_not_of("abcdefghijklmnopqrstuvwxyz "), std::string::npos) << text;
        twoWords += text.find(' ') != std::string::npos;
        distinct.insert(text);
    }
    EXPECT_EQ(bytes, 376u);
    EXPECT_EQ(twoWords, 5u);
    EXPECT_EQ(distinct.size(), words.size());
}

TEST_F(WordFilter, EveryListedWordIsMaskedAndTheRestKept)
{
    for (const sf::String& word : getFilteredWords())
    {
        const sf::String result = filterBetween("Oh <", word, "> no");
        EXPECT_EQ(result.find(word), sf::String::InvalidPos) << word.toAnsiString();
        if (holdsEarlierEntry(word))
            continue; // "bullshit" keeps "bull": the shorter entry was masked first
        EXPECT_TRUE(isMask(result)) << word.toAnsiString();
        EXPECT_GE(result.getSize(), word.getSize() - word.getSize() / 2);
        EXPECT_LE(result.getSize(), word.getSize());
    }
    // The last entry of the built-in list is masked whole.
    EXPECT_TRUE(isMask(filterBetween("", getFilteredWords().back(), "")));
}

TEST_F(WordFilter, MatchingIgnoresCaseAndKeepsTheCaseAround)
{
    EXPECT_TRUE(isMask(filterBetween("You ", "ShIt", " HEAD-Case")));
    EXPECT_TRUE(isMask(filterBetween("ALL CAPS ", "BASTARD", "!")));
    EXPECT_TRUE(isMask(filterBetween("", "Screw You", " Too")));
}

TEST_F(WordFilter, RepeatedAndEmbeddedWordsAreAllMasked)
{
    sf::String text = "twat twat, TWAT";
    filterText(text);
    EXPECT_EQ(skeleton(text), "X X, X");

    sf::String town = "Scunthorpe";
    filterText(town);
    EXPECT_EQ(skeleton(town), "SXhorpe");
}

TEST_F(WordFilter, AFiveLetterWordGetsThreeToFiveSymbols)
{
    std::set<std::size_t> lengths;
    std::set<sf::Uint32> symbols;
    for (int i = 0; i < 300; ++i)
    {
        sf::String text = "bitch";
        filterText(text);
        ASSERT_TRUE(isMask(text));
        lengths.insert(text.getSize());
        symbols.insert(text.begin(), text.end());
    }
    EXPECT_EQ(lengths, (std::set<std::size_t>{3, 4, 5}));
    EXPECT_EQ(symbols, MaskSymbols);
}

TEST_F(WordFilter, CleanTextComesBackIdentical)
{
    const std::string utf8 = "Hello, Gr\xC3\xBC\xC3\x9F" "e! Shiitake & sass";
    const sf::String clean = sf::String::fromUtf8(utf8.begin(), utf8.end());
    sf::String text = clean;
    filterText(text);
    EXPECT_EQ(text, clean);

    sf::String empty;
    filterText(empty);
    EXPECT_TRUE(empty.isEmpty());
}
