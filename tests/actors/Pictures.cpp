#include "tests/actors/Pictures.hpp"

#include "plym/game/Spritesheet.hpp"

#include <SFML/Graphics/Texture.hpp>

namespace Pictures
{

unsigned countDiffering(const sf::Image& a, const sf::Image& b)
{
    return countDiffering(a, b, sf::IntRect(0, 0, static_cast<int>(a.getSize().x), static_cast<int>(a.getSize().y)));
}

unsigned countDiffering(const sf::Image& a, const sf::Image& b, const sf::IntRect& block)
{
    unsigned differing = 0;
    for (int y = block.top; y < block.top + block.height; ++y)
        for (int x = block.left; x < block.left + block.width; ++x)
            differing += a.getPixel(x, y) != b.getPixel(x, y);
    return differing;
}

unsigned cellMismatches(const sf::Image& drawn, sf::Vector2i corner, const Plym::Spritesheet& sheet, sf::Vector2u cell,
                        bool mirrored, unsigned& checked)
{
    const sf::Image cells = sheet.getTexture().copyToImage();
    const sf::IntRect rect = sheet.getRect(cell.x, cell.y);
    unsigned wrong = 0;
    checked = 0;
    for (int y = 0; y < rect.height; ++y)
        for (int x = 0; x < rect.width; ++x)
        {
            const sf::Color expected = cells.getPixel(rect.left + x, rect.top + y);
            if (expected.a != 255)
                continue;
            ++checked;
            const int column = mirrored ? rect.width - 1 - x : x;
            wrong += drawn.getPixel(corner.x + column, corner.y + y) != expected;
        }
    return wrong;
}

} // namespace Pictures
