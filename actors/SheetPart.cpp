#include "actors/SheetPart.hpp"

#include <SFML/Graphics/Image.hpp>

#include <algorithm>

namespace QEL
{

SheetPart SheetPart::trimmed(const sf::Image& image) const
{
    const sf::Vector2u size = image.getSize();
    const bool covered = rect.left >= 0 && rect.top >= 0 && rect.width > 0 && rect.height > 0 &&
                         static_cast<unsigned>(rect.left + rect.width) <= size.x &&
                         static_cast<unsigned>(rect.top + rect.height) <= size.y;
    if (!covered)
        return *this;
    int left = rect.left + rect.width, top = rect.top + rect.height, right = rect.left, bottom = rect.top;
    for (int y = rect.top; y < rect.top + rect.height; ++y)
    {
        for (int x = rect.left; x < rect.left + rect.width; ++x)
        {
            if (image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)).a == 0)
                continue;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x + 1);
            bottom = std::max(bottom, y + 1);
        }
    }
    if (right <= left || bottom <= top)
        return *this;
    const sf::Vector2f shift(static_cast<float>(left - rect.left), static_cast<float>(top - rect.top));
    return SheetPart{sf::IntRect(left, top, right - left, bottom - top), origin - shift};
}

} // namespace QEL
