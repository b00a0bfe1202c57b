#ifndef QEL_NETWORK_CONTROLCHARACTERS_HPP
#define QEL_NETWORK_CONTROLCHARACTERS_HPP

#include <SFML/System/String.hpp>

#include <cstddef>
#include <cstdint>
#include <string>

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

/// UTF-8 text made safe to pass on: each control character and each byte that does not start
/// a valid sequence becomes U+FFFD, and the result is cut to at most `maxBytes` bytes without
/// splitting a character.
std::string cleanText(const std::string& utf8, std::size_t maxBytes);

} // namespace Network
} // namespace QEL

#endif
