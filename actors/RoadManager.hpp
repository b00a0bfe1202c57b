#ifndef QEL_ACTORS_ROADMANAGER_HPP
#define QEL_ACTORS_ROADMANAGER_HPP

#include "actors/RoadCursor.hpp"
#include "app/Painting.hpp"
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

/// "QEL.Game.RoadManager": lets the local player lay and remove road tiles. R toggles the
/// build mode; each road shows one of 47 pieces chosen from its eight neighbours.
/// Roads exist on this client only.
class RoadManager : public Tessaly::Component, public Painting
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

    /// Where the roads lie.
    sf::FloatRect getPaintBounds() const override;
    bool isMoving() const override;
    /// Changes whenever a road's piece changes.
    std::uint64_t getLook() const override;
    /// Whether a changed road reaches into the area.
    bool changesWithin(const sf::FloatRect& area) const override;
    void forgetChanges() override;
    void paint(sf::RenderTarget& target, const sf::FloatRect& area) const override;

private:
    void update(const Tessaly::Message& message);
    void input(const Tessaly::Message& message);
    void click(Tessaly::Message& message);
    void draw(const Tessaly::Message& message);

    /// Queues for recomputing the neighbours that hold a road or are about to.
    void markNeighbours(Tile tile);
    /// Whether a tile holds a road or is about to.
    bool hasRoad(Tile tile) const;
    /// Sets the sprite to a tile's piece.
    void placePiece(Tile tile, std::uint8_t piece) const;
    /// Roads whose piece changed, for the cached picture of the world.
    void noteChanged(const std::vector<Tile>& tiles);

    std::map<Tile, std::uint8_t> mRoads;
    std::vector<Tile> mDirtyTiles;
    std::vector<Tile> mChangedTiles;  ///< Since a painter last looked.
    bool mManyChanged;                ///< Too many to list: all may have changed.
    std::uint64_t mChanges;
    std::vector<sf::IntRect> mPieceRects;
    Chunk* mChunk;
    Plym::Spritesheet* mPathSheet;
    Plym::Spritesheet* mSquareSheet;
    mutable sf::Sprite mSprite;  ///< The one sprite every piece is drawn with.
    RoadCursor mCursorPainting;
    sf::Vector2u mWindowSize;
    sf::FloatRect mViewRect;
    sf::Vector2f mCursor;
    bool mBuildMode;
};

} // namespace QEL

#endif
