#include "network/WordFilter.hpp"

#include "plym/core/Math.hpp"

#include <sstream>
#include <string>

namespace QEL
{
namespace Network
{
namespace
{

const char* const WordList =
    "fuck,shit,cunt,bitch,bastard,asshole,dick,wanker,twat,prick,bollocks,bugger,arsehole,jism,"
    "bullshit,dipshit,jackass,dumbass,shithead,fuckwit,slut,whore,skank,tosser,bimbo,pussy,dildo,"
    "jizz,wank,nigger,faggot,retard,spaz,tranny,kike,chink,gook,wetback,beaner,tits,piss,bellend,"
    "shitbag,minge,boner,bint,slag,scum,damn,bloody,shag,prat,piss off,blow job,jerk off,eat shit,"
    "screw you";

// Five asterisks make it five times as likely as each other symbol.
const sf::Uint32 MaskAlphabet[16] = {
    0xA7, '!', '@', '#', 0xA3, 0xA4, '$', '%', '&', 0xA1, 0xBF, '*', '*', '*', '*', '*'};

std::vector<sf::String> splitWordList()
{
    std::vector<sf::String> words;
    std::istringstream stream(WordList);
    std::string word;
    while (std::getline(stream, word, ','))
        words.emplace_back(word);
    return words;
}

sf::String toLowerAscii(const sf::String& text)
{
    sf::String lower = text;
    for (sf::Uint32& c : lower)
        if (c >= 'A' && c <= 'Z')
            c += 'a' - 'A';
    return lower;
}

// Between length - length / 2 and length symbols, so that the mask does not give the word's length away.
sf::String makeMask(std::size_t length)
{
    sf::String mask;
    for (std::size_t i = 0; i < length; ++i)
        mask += MaskAlphabet[Plym::Math::randomint(0, 15)];
    mask.erase(0, static_cast<std::size_t>(Plym::Math::randomint(0, static_cast<int>(length / 2))));
    return mask;
}

} // namespace

const std::vector<sf::String>& getFilteredWords()
{
    static const std::vector<sf::String> words = splitWordList();
    return words;
}

void filterText(sf::String& text)
{
    sf::String lower = toLowerAscii(text);
    for (const sf::String& word : getFilteredWords())
    {
        // Masks hold no letters, so searching again from the start always ends.
        for (std::size_t at = lower.find(word); at != sf::String::InvalidPos; at = lower.find(word))
        {
            const sf::String mask = makeMask(word.getSize());
            text.erase(at, word.getSize());
            lower.erase(at, word.getSize());
            text.insert(at, mask);
            lower.insert(at, mask);
        }
    }
}

} // namespace Network
} // namespace QEL
