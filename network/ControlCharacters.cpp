#include "network/ControlCharacters.hpp"

#include <boost/nowide/utf/utf.hpp>

#include <iterator>

namespace QEL
{
namespace Network
{
namespace
{

constexpr std::uint32_t Replacement = 0xFFFD;

} // namespace

bool isControlCharacter(std::uint32_t codePoint)
{
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F) || codePoint == 0x061C ||
           codePoint == 0x200E || codePoint == 0x200F || (codePoint >= 0x2028 && codePoint <= 0x202E) ||
           (codePoint >= 0x2066 && codePoint <= 0x2069);
}

void replaceControlCharacters(sf::String& text)
{
    for (sf::Uint32& c : text)
        if (isControlCharacter(c))
            c = Replacement;
}

std::string cleanText(const std::string& utf8, std::size_t maxBytes)
{
    using Traits = boost::nowide::utf::utf_traits<char>;
    std::string clean;
    const char* position = utf8.data();
    const char* const end = position + utf8.size();
    while (position != end)
    {
        const char* next = position;
        boost::nowide::utf::code_point c = Traits::decode(next, end);
        const bool valid = c != boost::nowide::utf::illegal && c != boost::nowide::utf::incomplete;
        if (!valid)
            next = position + 1;
        if (!valid || isControlCharacter(c))
            c = Replacement;
        if (clean.size() + static_cast<std::size_t>(Traits::width(c)) > maxBytes)
            break;
        Traits::encode(c, std::back_inserter(clean));
        position = next;
    }
    return clean;
}

} // namespace Network
} // namespace QEL
