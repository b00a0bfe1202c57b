#ifndef QEL_WORLD_TILEBATCH_HPP
#define QEL_WORLD_TILEBATCH_HPP

#include <SFML/Graphics/Vertex.hpp>

#include <cstddef>
#include <vector>

namespace sf
{
class RenderTarget;
class Sprite;
class Texture;
} // namespace sf

namespace QEL
{

/// Gathers the tiles of one frame and draws each run of tiles that share a texture in a single
/// call, in the order they came: tiles overlap their right and bottom neighbours a little, and
/// the later one must stay on top. Each draw call costs far more than its few vertices under a
/// software rasteriser.
class TileBatch
{
public:
    /// Adds the sprite's quad, with its transform, after the quads added before.
    void add(const sf::Sprite& sprite);

    /// Draws every quad gathered since the last call and forgets them, keeping the memory.
    void draw(sf::RenderTarget& target);

private:
    /// Quads of one texture from `first` up to the next run's first vertex.
    struct Run
    {
        const sf::Texture* texture;
        std::size_t first;
    };

    std::vector<sf::Vertex> mVertices;
    std::vector<Run> mRuns;
};

} // namespace QEL

#endif
