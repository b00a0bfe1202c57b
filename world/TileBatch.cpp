#include "world/TileBatch.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <algorithm>

namespace QEL
{

void TileBatch::add(const sf::Sprite& sprite)
{
    // A sprite without texture draws nothing.
    if (!sprite.getTexture())
        return;
    const sf::IntRect& rect = sprite.getTextureRect();
    const sf::Transform& transform = sprite.getTransform();
    const sf::Color colour = sprite.getColor();
    const auto corner = [&](float x, float y) {
        const sf::Vector2f texture(static_cast<float>(rect.left) + x, static_cast<float>(rect.top) + y);
        return sf::Vertex(transform.transformPoint(x, y), colour, texture);
    };
    const float width = static_cast<float>(rect.width);
    const float height = static_cast<float>(rect.height);
    const sf::Vertex topLeft = corner(0.f, 0.f);
    const sf::Vertex topRight = corner(width, 0.f);
    const sf::Vertex bottomRight = corner(width, height);
    const sf::Vertex bottomLeft = corner(0.f, height);
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
