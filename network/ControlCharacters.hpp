#ifndef QEL_NETWORK_CONTROLCHARACTERS_HPP
#define QEL_NETWORK_CONTROLCHARACTERS_HPP

#include <SFML/System/String.hpp>

#include <cstdint>

namespace QEL
{
namespace Network
{

/// Whether a code point steers a terminal or a text layout instead of showing: C0 (tab and
/// line feed included), DEL, C1, the line and paragraph separators and the bidirectional
/// marks, embeddings, overrides and isolates.
bool isControlCharacter(std::uint32_t codePoint);

/// Replaces, in place, every control character by U+FFFD, so that text from the network can
/// never start a line of its own, move a terminal's cursor or reorder the text around it.
void replaceControlCharacters(sf::String& text);

} // namespace Network
} // namespace QEL

#endif
