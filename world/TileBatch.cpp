#include "world/TileBatch.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <algorithm>
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
    std::vector<sf::Vertex>& vertices = getVertices(sprite.getTexture());
    vertices.insert(vertices.end(), {topLeft, topRight, bottomRight, topLeft, bottomRight, bottomLeft});
}

void TileBatch::draw(sf::RenderTarget& target)
{
    for (auto& [texture, vertices] : mBatches)
    {
        if (vertices.empty())
            continue;
        target.draw(vertices.data(), vertices.size(), sf::Triangles, sf::RenderStates(texture));
        vertices.clear();
    }
}

std::vector<sf::Vertex>& TileBatch::getVertices(const sf::Texture* texture)
{
    const auto found = std::find_if(mBatches.begin(), mBatches.end(),
                                    [texture](const auto& batch) { return batch.first == texture; });
    if (found != mBatches.end())
        return found->second;
    mBatches.emplace_back(texture, std::vector<sf::Vertex>());
    return mBatches.back().second;
}

} // namespace QEL
