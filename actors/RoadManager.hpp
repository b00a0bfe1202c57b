#ifndef QEL_ACTORS_ROADMANAGER_HPP
#define QEL_ACTORS_ROADMANAGER_HPP

#include "ecs/Component.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace Plym
{
class Spritesheet;
}

namespace QEL
{

class Chunk;
class DrawPass;

/// "QEL.Game.RoadManager": lets the local player lay and remove road tiles. R toggles the
/// build mode; each road shows one of 47 pieces chosen from its eight neighbours.
/// Roads exist on this client only.
class RoadManager : public Tessaly::Component
{
public:
    /// A tile; coordinates wrap at 256.
    using Tile = std::pair<std::uint8_t, std::uint8_t>;

    RoadManager();

    void addedToEntity() override;

    /// The neighbour bits of a tile: which of its eight neighbours hold a road.
    std::uint8_t getNeighbourMask(Tile tile) const;

    const std::map<Tile, std::uint8_t>& getRoads() const { return mRoads; }
    bool isBuilding() const { return mBuildMode; }
    /// Centre of the tile under the mouse in build mode.
    const sf::Vector2f& getCursor() const { return mCursor; }

private:
    void update(const Tessaly::Message& message);
    void input(const Tessaly::Message& message);
    void click(Tessaly::Message& message);
    void draw(const Tessaly::Message& message);

    /// Queues for recomputing the neighbours that hold a road or are about to.
    void markNeighbours(Tile tile);
    void drawPiece(sf::RenderTarget& target, Tile tile, std::uint8_t piece);
    /// Per-frame state: the view for the cursor, the changed roads for the cached picture.
    void keepFrameState(const sf::RenderTarget& target, DrawPass* pass);

    std::map<Tile, std::uint8_t> mRoads;
    std::vector<Tile> mDirtyTiles;
    std::vector<Tile> mChangedTiles;  ///< Since the last frame.
    std::vector<sf::IntRect> mPieceRects;
    Chunk* mChunk;
    Plym::Spritesheet* mPathSheet;
    Plym::Spritesheet* mSquareSheet;
    sf::Sprite mSprite;
    sf::Vector2u mWindowSize;
    sf::FloatRect mViewRect;
    sf::Vector2f mCursor;
    bool mBuildMode;
};

} // namespace QEL

#endif
