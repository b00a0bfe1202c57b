#include "tests/tools/AssetImages.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace AssetImages {

sf::Image load(const std::string& name)
{
    sf::Image image;
    if (!image.loadFromFile(name))
        throw std::runtime_error("cannot decode " + name);
    return image;
}

sf::Image crop(const sf::Image& image, const sf::IntRect& rect)
{
    sf::Image part;
    part.create(static_cast<unsigned>(rect.width), static_cast<unsigned>(rect.height));
    part.copy(image, 0, 0, rect);
    return part;
}

bool opaque(const sf::Image& image, int x, int y)
{
    return image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y)).a > 127;
}

bool anyOpaque(const sf::Image& image, const sf::IntRect& rect)
{
    return opaqueBounds(image, rect).width > 0;
}

sf::IntRect opaqueBounds(const sf::Image& image, const sf::IntRect& area)
{
    int left = area.left + area.width, top = area.top + area.height, right = area.left - 1, bottom = area.top - 1;
    for (int y = area.top; y < area.top + area.height; ++y)
        for (int x = area.left; x < area.left + area.width; ++x)
            if (opaque(image, x, y))
            {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < left)
        return sf::IntRect();
    return sf::IntRect(left, top, right - left + 1, bottom - top + 1);
}

sf::Color mean(const sf::Image& image, const sf::IntRect& rect)
{
    double r = 0, g = 0, b = 0;
    const double count = static_cast<double>(rect.width) * rect.height;
    for (int y = rect.top; y < rect.top + rect.height; ++y)
        for (int x = rect.left; x < rect.left + rect.width; ++x)
        {
            const sf::Color c = image.getPixel(static_cast<unsigned>(x), static_cast<unsigned>(y));
            r += c.r;
            g += c.g;
            b += c.b;
        }
    return sf::Color(static_cast<sf::Uint8>(r / count), static_cast<sf::Uint8>(g / count), static_cast<sf::Uint8>(b / count));
}

float distance(sf::Color a, sf::Color b)
{
    const float dr = static_cast<float>(a.r) - b.r;
    const float dg = static_cast<float>(a.g) - b.g;
    const float db = static_cast<float>(a.b) - b.b;
    return std::sqrt(dr * dr + dg * dg + db * db);
}

bool samePixels(const sf::Image& a, const sf::Image& b)
{
    if (a.getSize() != b.getSize())
        return false;
    const std::size_t bytes = static_cast<std::size_t>(a.getSize().x) * a.getSize().y * 4;
    return std::equal(a.getPixelsPtr(), a.getPixelsPtr() + bytes, b.getPixelsPtr());
}

} // namespace AssetImages
