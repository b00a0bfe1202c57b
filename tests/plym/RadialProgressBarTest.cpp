#include "plym/game/RadialProgressBar.hpp"

#include "tests/plym/DisplayGuard.hpp"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <cmath>

using Plym::RadialProgressBar;

namespace
{

// Alpha of the pixel on the ring's middle circle at `degrees` clockwise from 12 o'clock.
sf::Uint8 alphaAt(const sf::Image& image, float degrees)
{
    const float centre = image.getSize().x / 2.f;
    const float radius = (32.f + 19.f) / 2.f;
    const float angle = degrees * 3.14159265f / 180.f;
    const auto x = static_cast<unsigned>(centre + std::sin(angle) * radius);
    const auto y = static_cast<unsigned>(centre - std::cos(angle) * radius);
    return image.getPixel(x, y).a;
}

sf::Image render(float value)
{
    RadialProgressBar bar(32, 19, 0.f, 1.f);
    bar.setCurrent(value);
    bar.update();
    return bar.getTexture().copyToImage();
}

} // namespace

TEST(RadialProgressBar, DrawsTheFilledArcClockwiseFromTwelve)
{
    PLYM_REQUIRE_DISPLAY();
    const sf::Image image = render(0.25f);
    ASSERT_EQ(image.getSize(), sf::Vector2u(66, 66));
    EXPECT_EQ(alphaAt(image, 10.f), 255);
    EXPECT_EQ(alphaAt(image, 45.f), 255);
    EXPECT_EQ(alphaAt(image, 80.f), 255);
    EXPECT_EQ(image.getPixel(33, 33).a, 0);       // centre
    EXPECT_EQ(image.getPixel(1, 1).a, 0);         // outside the ring
    for (float degrees : {120.f, 180.f, 270.f, 350.f})
    {
        EXPECT_GT(alphaAt(image, degrees), 0) << degrees;       // the faint track
        EXPECT_LE(alphaAt(image, degrees), RadialProgressBar::TrackColor.a) << degrees;
    }
    // Soft edges: some pixels of the filled quarter lie between the track and full cover.
    int soft = 0;
    for (unsigned y = 0; y < 33; ++y)
        for (unsigned x = 33; x < 66; ++x)
        {
            const sf::Uint8 alpha = image.getPixel(x, y).a;
            soft += alpha > RadialProgressBar::TrackColor.a + 10 && alpha < 245;
        }
    EXPECT_GT(soft, 20);
}

TEST(RadialProgressBar, EmptyAndFullRings)
{
    PLYM_REQUIRE_DISPLAY();
    const sf::Image empty = render(0.f);
    const sf::Image full = render(1.f);
    for (float degrees = 0.f; degrees < 360.f; degrees += 15.f)
    {
        EXPECT_LE(alphaAt(empty, degrees), RadialProgressBar::TrackColor.a) << degrees;
        EXPECT_EQ(alphaAt(full, degrees), 255) << degrees;
    }
    EXPECT_EQ(full.getPixel(33, 33).a, 0);
}

TEST(RadialProgressBar, ProgressMapsTheRange)
{
    RadialProgressBar bar(32, 19, 10.f, 20.f);
    EXPECT_EQ(bar.getTexture().getSize(), sf::Vector2u(0, 0));    // nothing drawn before update
    bar.setCurrent(15.f);
    EXPECT_FLOAT_EQ(bar.getProgress(), 0.5f);
    bar.setCurrent(30.f);
    EXPECT_EQ(bar.getProgress(), 1.f);
    bar.setCurrent(0.f);
    EXPECT_EQ(bar.getProgress(), 0.f);
    RadialProgressBar degenerate(32, 19, 1.f, 1.f);
    degenerate.setCurrent(1.f);
    EXPECT_EQ(degenerate.getProgress(), 1.f);
}
