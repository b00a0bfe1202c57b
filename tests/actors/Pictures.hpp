#ifndef QEL_TESTS_ACTORS_PICTURES_HPP
#define QEL_TESTS_ACTORS_PICTURES_HPP

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>

namespace Plym
{
class Spritesheet;
}

/// Pixel comparisons of drawn pictures.
namespace Pictures
{

/// The pixels that differ between two pictures of the same size, or within one block of them.
unsigned countDiffering(const sf::Image& a, const sf::Image& b);
unsigned countDiffering(const sf::Image& a, const sf::Image& b, const sf::IntRect& block);

/// Counts the pixels of a drawn cell (top-left at `corner` in the picture) that differ from
/// the opaque pixels of a sheet cell, optionally mirrored left-right; `checked` counts the
/// opaque pixels compared.
unsigned cellMismatches(const sf::Image& drawn, sf::Vector2i corner, const Plym::Spritesheet& sheet, sf::Vector2u cell,
                        bool mirrored, unsigned& checked);

} // namespace Pictures

#endif
