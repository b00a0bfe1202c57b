#ifndef QEL_TESTS_TOOLS_ASSETIMAGES_HPP
#define QEL_TESTS_TOOLS_ASSETIMAGES_HPP

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>

#include <string>

// Helpers for looking at the generated pictures.
namespace AssetImages {

// Loads a file of the data directory; fails the calling test (by exception) when it cannot.
sf::Image load(const std::string& name);

sf::Image crop(const sf::Image& image, const sf::IntRect& rect);

bool opaque(const sf::Image& image, int x, int y);
bool anyOpaque(const sf::Image& image, const sf::IntRect& rect);
// The smallest rectangle holding every opaque pixel; empty for a clear picture.
sf::IntRect opaqueBounds(const sf::Image& image, const sf::IntRect& area);

// Mean colour of a rectangle (alpha ignored).
sf::Color mean(const sf::Image& image, const sf::IntRect& rect);
float distance(sf::Color a, sf::Color b);

bool samePixels(const sf::Image& a, const sf::Image& b);

} // namespace AssetImages

#endif
