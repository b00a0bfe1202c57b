#include "world/TileBatch.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{

/// A 4 x 2 texture of distinct colours.
sf::Texture makeTexture()
{
    sf::Image image;
    image.create(4, 2);
    for (unsigned x = 0; x < 4; ++x)
    {
        for (unsigned y = 0; y < 2; ++y)
            image.setPixel(x, y, sf::Color(static_cast<sf::Uint8>(60 * x), static_cast<sf::Uint8>(200 * y), 90));
    }
    sf::Texture texture;
    texture.loadFromImage(image);
    return texture;
}

/// Every pixel of both images is the same.
void expectSamePixels(const sf::Image& actual, const sf::Image& expected)
{
    ASSERT_EQ(actual.getSize(), expected.getSize());
    for (unsigned y = 0; y < expected.getSize().y; ++y)
    {
        for (unsigned x = 0; x < expected.getSize().x; ++x)
            ASSERT_EQ(actual.getPixel(x, y).toInteger(), expected.getPixel(x, y).toInteger()) << x << ", " << y;
    }
}

sf::Image render(const std::function<void(sf::RenderTarget&)>& draw);

/// The sprites drawn one by one and drawn through a batch give the same pixels; the batch is returned.
QEL::TileBatch expectBatchPaintsLikeSprites(const std::vector<sf::Sprite>& sprites)
{
    const sf::Image expected = render([&](sf::RenderTarget& target) {
        for (const sf::Sprite& sprite : sprites)
            target.draw(sprite);
    });
    QEL::TileBatch batch;
    const sf::Image batched = render([&](sf::RenderTarget& target) {
        for (const sf::Sprite& sprite : sprites)
            batch.add(sprite);
        batch.draw(target);
    });
    expectSamePixels(batched, expected);
    return batch;
}

sf::Image render(const std::function<void(sf::RenderTarget&)>& draw)
{
    sf::RenderTexture target;
    target.create(64, 32);
    target.clear(sf::Color::Magenta);
    draw(target);
    target.display();
    return target.getTexture().copyToImage();
}

// Sprites placed, scaled and flipped as tiles can be: the batch paints exactly what the sprites paint.
TEST(TileBatch, PaintsWhatTheSpritesPaint)
{
    const sf::Texture texture = makeTexture();
    std::vector<sf::Sprite> sprites;
    sprites.emplace_back(texture, sf::IntRect(0, 0, 2, 2));
    sprites.back().setScale(4.f, 4.f);
    sprites.emplace_back(texture, sf::IntRect(4, 0, -4, 2));  // mirrored
    sprites.back().setPosition(12.f, 4.f);
    sprites.back().setScale(3.f, 5.f);
    sprites.emplace_back();  // no texture: draws nothing
    sprites.back().setTextureRect(sf::IntRect(0, 0, 8, 8));
    sprites.emplace_back(texture, sf::IntRect(1, 1, 3, 1));
    sprites.back().setPosition(30.f, 20.f);
    sprites.back().setScale(8.f, 8.f);

    QEL::TileBatch batch = expectBatchPaintsLikeSprites(sprites);
    // Drawing empties the batch: a second draw paints nothing.
    const sf::Image again = render([&](sf::RenderTarget& target) { batch.draw(target); });
    EXPECT_EQ(again.getPixel(5, 5), sf::Color::Magenta);
}

// Tiles overlap their right and bottom neighbours, which may come from another sheet: the one
// added later stays on top, as when each is drawn as a sprite.
TEST(TileBatch, KeepsTheLaterTileOnTopAcrossTextures)
{
    const sf::Texture first = makeTexture();
    sf::Image plain;
    plain.create(2, 2, sf::Color::Yellow);
    sf::Texture second;
    second.loadFromImage(plain);

    std::vector<sf::Sprite> tiles;
    for (int column = 0; column < 3; ++column)
    {
        for (int row = 0; row < 2; ++row)
        {
            tiles.emplace_back((column + row) % 2 ? second : first, sf::IntRect(0, 0, 2, 2));
            tiles.back().setPosition(column * 18.f, row * 14.f);
            tiles.back().setScale(10.1f, 8.3f);
        }
    }
    expectBatchPaintsLikeSprites(tiles);
}

} // namespace
