#include "actors/SheetPart.hpp"

#include <SFML/Graphics/Image.hpp>

#include <gtest/gtest.h>

namespace
{

using QEL::SheetPart;

// A transparent 40 x 30 image with one opaque block and one faint pixel.
sf::Image makeImage()
{
    sf::Image image;
    image.create(40, 30, sf::Color::Transparent);
    for (unsigned y = 12; y < 20; ++y)
    {
        for (unsigned x = 5; x < 15; ++x)
            image.setPixel(x, y, sf::Color::Green);
    }
    image.setPixel(17, 8, sf::Color(0, 0, 0, 1));
    return image;
}

TEST(SheetPart, TrimmingKeepsEveryVisiblePixelWhereItWas)
{
    const SheetPart part{sf::IntRect(0, 0, 20, 20), sf::Vector2f(10.f, 19.f)};
    const SheetPart trimmed = part.trimmed(makeImage());

    // The faint pixel counts as visible: the box runs from it to the block.
    EXPECT_EQ(trimmed.rect, sf::IntRect(5, 8, 13, 12));
    // A texture pixel lands at (pixel - rect corner - origin) from the sprite's position: the same for both.
    const sf::Vector2f pixel(17.f, 8.f);
    EXPECT_EQ(pixel - sf::Vector2f(5.f, 8.f) - trimmed.origin, pixel - sf::Vector2f(0.f, 0.f) - part.origin);
}

TEST(SheetPart, PartsThatCannotBeTrimmedStayAsTheyAre)
{
    const sf::Image image = makeImage();
    const SheetPart empty{sf::IntRect(20, 20, 20, 10), sf::Vector2f(3.f, 4.f)};
    const SheetPart outside{sf::IntRect(30, 0, 20, 20), sf::Vector2f(3.f, 4.f)};
    const SheetPart full{sf::IntRect(5, 12, 10, 8), sf::Vector2f(3.f, 4.f)};
    for (const SheetPart& part : {empty, outside, full})
    {
        const SheetPart trimmed = part.trimmed(image);
        EXPECT_EQ(trimmed.rect, part.rect);
        EXPECT_EQ(trimmed.origin, part.origin);
    }
}

} // namespace
