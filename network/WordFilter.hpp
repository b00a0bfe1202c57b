#ifndef QEL_NETWORK_WORDFILTER_HPP
#define QEL_NETWORK_WORDFILTER_HPP

#include <SFML/System/String.hpp>

#include <vector>

namespace QEL
{
namespace Network
{

/// Masks, in place, every occurrence of every listed offensive word with random symbols.
/// Matching ignores the case of A-Z and also finds words inside longer ones; everything
/// outside the matches is left as it was.
void filterText(sf::String& text);

/// The listed words, lower case, in the order the filter applies them.
const std::vector<sf::String>& getFilteredWords();

} // namespace Network
} // namespace QEL

#endif
