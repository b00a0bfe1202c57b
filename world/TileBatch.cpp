#include "world/TileBatch.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <cmath>

namespace QEL
{

void TileBatch::add(const sf::Sprite& sprite)
{
    // A sprite without texture draws nothing.
    if (!sprite.getTexture())
        return;
    // As sf::Sprite does: a negative texture size flips the picture, the quad keeps its size.
    const sf::FloatRect texture(sprite.getTextureRect());
    const sf::Vector2f size(std::abs(texture.width), std::abs(texture.height));
    const sf::Transform& transform = sprite.getTransform();
    const sf::Color colour = sprite.getColor();
    const auto corner = [&](float u, float v) {
        return sf::Vertex(transform.transformPoint(size.x * u, size.y * v), colour,
                          sf::Vector2f(texture.left + texture.width * u, texture.top + texture.height * v));
    };
    const sf::Vertex topLeft = corner(0.f, 0.f);
    const sf::Vertex topRight = corner(1.f, 0.f);
    const sf::Vertex bottomRight = corner(1.f, 1.f);
    const sf::Vertex bottomLeft = corner(0.f, 1.f);
    if (mRuns.empty() || mRuns.back().texture != sprite.getTexture())
        mRuns.push_back(Run{sprite.getTexture(), mVertices.size()});
    mVertices.insert(mVertices.end(), {topLeft, topRight, bottomRight, topLeft, bottomRight, bottomLeft});
}

void TileBatch::draw(sf::RenderTarget& target)
{
    for (std::size_t run = 0; run < mRuns.size(); ++run)
    {
        const std::size_t end = run + 1 < mRuns.size() ? mRuns[run + 1].first : mVertices.size();
        target.draw(&mVertices[mRuns[run].first], end - mRuns[run].first, sf::Triangles, sf::RenderStates(mRuns[run].texture));
    }
    mVertices.clear();
    mRuns.clear();
}

} // namespace QEL
