#ifndef QEL_WORLD_TILEBATCH_HPP
#define QEL_WORLD_TILEBATCH_HPP

#include <SFML/Graphics/Vertex.hpp>

#include <utility>
#include <vector>

namespace sf
{
class RenderTarget;
class Sprite;
class Texture;
} // namespace sf

namespace QEL
{

/// Gathers the tiles of one frame into one vertex array per texture and draws each array in a
/// single call. Tiles meet edge to edge, so the order between sheets does not show; each draw
/// call costs far more than its few vertices under a software rasteriser.
class TileBatch
{
public:
    /// Adds the sprite's quad, with its transform, to its texture's array.
    void add(const sf::Sprite& sprite);

    /// Draws every array gathered since the last call and empties them, keeping their memory.
    void draw(sf::RenderTarget& target);

private:
    std::vector<sf::Vertex>& getVertices(const sf::Texture* texture);

    std::vector<std::pair<const sf::Texture*, std::vector<sf::Vertex>>> mBatches;
};

} // namespace QEL

#endif
