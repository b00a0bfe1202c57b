#include "network/ControlCharacters.hpp"

namespace QEL
{
namespace Network
{

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
            c = 0xFFFD;
}

} // namespace Network
} // namespace QEL
