#ifndef QEL_APP_WORLDPAINTER_HPP
#define QEL_APP_WORLDPAINTER_HPP

#include "app/GameEvents.hpp"
#include "ecs/Types.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Vertex.hpp>
#include <SFML/Graphics/View.hpp>

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace Tessaly
{
class EntitySystem;
}

namespace QEL
{

class Painting;

/// Paints the world's frames without drawing again, every frame, what does not change.
///
/// Still drawings (see Painting) are kept in square cells of one atlas texture covering the
/// view and a ring of cells around it; each frame copies the cells in view to the target.
/// Patches of the frame are drawn afresh instead: around moving drawings, and over cells that
/// are not painted yet or whose drawings changed their look. In a patch every drawing that
/// meets it is drawn again, in the frame's order, so whatever stands in front of a moving
/// one still covers it.
///
/// The frame's "QEL.Game.Draw" is sent once, with the target and the visible rectangle; each
/// drawing keeps its per-frame state in its handler and hands itself to draw(), which paints
/// it into the patches. Cells are painted after the frame from the drawings in the order the
/// frame met them, unless the view shares nothing with the last frame's (a jump). While a
/// component that is not a Painting draws, the whole view is one patch: the frame is drawn
/// plainly.
class WorldPainter
{
public:
    /// Sends the frame's "QEL.Game.Draw".
    using Sender = std::function<void(const DrawEvent&)>;

    /// The side of a cell in target pixels.
    static constexpr int CellPixels = 256;

    /// A cell is painted in bands of this many pixel rows, so that a frame can prepare part of one.
    static constexpr int BandPixels = 32;

    /// The bands of a cell.
    static constexpr unsigned BandsPerCell = CellPixels / BandPixels;

    /// Cells in view painted per frame at most; the others are drawn afresh until their turn.
    static constexpr unsigned CellsPerFrame = 2;

    /// Bands of the ring around the view prepared per frame in a window of 800 x 600 pixels, so
    /// that the slowest frame of a walk pays for a quarter of a cell, not for a whole one. Larger
    /// windows prepare more in proportion to their area: their ring is longer and crossed faster.
    static constexpr unsigned RingBandsPerScreen = 2;

    /// How far, in pixels, the view's edge may stray from the cells' pixel grid by rounding.
    static constexpr float GridTolerance = 1.f / 512.f;

    /// `system` and `drawId` tell which components draw under "QEL.Game.Draw".
    WorldPainter(const Tessaly::EntitySystem& system, Tessaly::RequestId drawId, Sender send);
    ~WorldPainter();

    WorldPainter(const WorldPainter&) = delete;
    WorldPainter& operator=(const WorldPainter&) = delete;

    /// Paints the world seen through `view` onto `target` and leaves `view` set on it.
    void paint(sf::RenderTarget& target, const sf::View& view, float seconds);

    /// Paints a drawing in the frame of a "QEL.Game.Draw": onto the event's target and
    /// rectangle, or into the patches of the painter painting that target.
    static void draw(const Painting& painting, const DrawEvent& event);

    /// A drawing is gone: no painter paints it any more.
    static void forget(const Painting& painting);

    /// How many bands of cells the last paint rendered.
    unsigned getBandsPainted() const { return mBandsPainted; }

    /// How many patches the last paint drew afresh.
    std::size_t getPatchCount() const { return mPatches.size(); }

private:
    /// Column and row of a cell; cell (0, 0) starts at mOrigin.
    using CellKey = std::pair<int, int>;

    struct Cell
    {
        unsigned slot;
        unsigned bands; ///< Painted since its drawings last changed, from the top; all: current.
    };

    /// Cells from column `left` and row `top` up to, not including, `right` and `bottom`.
    struct Range
    {
        int left;
        int top;
        int right;
        int bottom;

        bool contains(CellKey key) const;
        Range grown(int cells) const;

        template <class Function>
        void forEach(Function function) const
        {
            for (int row = top; row < bottom; ++row)
            {
                for (int column = left; column < right; ++column)
                    function(CellKey(column, row));
            }
        }
    };

    /// Makes the atlas for the target and view, or forgets the cells the view cannot use;
    /// false when there is no atlas or no pixel to paint.
    bool fit(const sf::RenderTarget& target, const sf::View& view);
    void createAtlas(sf::Vector2u size, sf::Vector2f scale);
    void forgetAllCells();
    Range cellsSeen(const sf::View& view) const;
    sf::FloatRect cellArea(CellKey key) const;
    sf::FloatRect slotArea(unsigned slot) const;
    sf::IntRect toPixels(const sf::FloatRect& area) const;
    sf::FloatRect toWorld(const sf::IntRect& pixels) const;
    bool isCurrent(CellKey key) const;
    unsigned getRingBandsPerFrame() const;
    bool everyDrawingPaints() const;

    void forgetCellsOutside(const Range& kept);
    void survey(const sf::FloatRect& visible);
    void markChanged(const sf::FloatRect& area, const Painting* painting);
    void findPatches(const Range& seen, const sf::FloatRect& visible);
    void copyCells(sf::RenderTarget& target, const Range& seen);
    void clearPatches(sf::RenderTarget& target);
    void paintInFrame(const Painting& painting);
    bool changedInFrame(const Painting& painting, const sf::FloatRect& bounds) const;
    void repaintEscapes(sf::RenderTarget& target);
    void paintCells(const Range& seen, const Range& kept);
    /// Paints at most `most` of the bands the cell lacks; how many it painted.
    unsigned paintBands(CellKey key, unsigned most);
    /// Paints the drawings the frame met that meet `area`, in the frame's order.
    void paintInOrder(sf::RenderTarget& target, const sf::FloatRect& area, bool stillOnly) const;

    const Tessaly::EntitySystem& mSystem;
    Tessaly::RequestId mDrawId;
    Sender mSend;
    sf::RenderTexture mAtlas;
    bool mAtlasUsable;
    sf::RenderTarget* mTarget;  ///< The target of the frame being painted.
    bool mInFrame;              ///< While the frame's "QEL.Game.Draw" is delivered.
    sf::Vector2u mTargetSize;
    sf::Vector2f mScale;    ///< Target pixels per world unit.
    sf::Vector2f mTopLeft;  ///< The view's top-left corner in the world.
    sf::FloatRect mLastVisible; ///< What the last frame showed.
    sf::Vector2f mCellSize; ///< In world units.
    sf::Vector2f mOrigin;   ///< A corner of the cells, on the view's pixel grid.
    unsigned mSlotColumns;
    unsigned mSlotRows;
    std::map<CellKey, Cell> mCells;
    std::vector<unsigned> mFreeSlots;
    std::vector<sf::Vertex> mQuads;
    std::vector<sf::IntRect> mPatches;
    std::vector<sf::IntRect> mEscapes;  ///< Where drawings changed within the frame.
    std::vector<const Painting*> mOrder; ///< The drawings in the order the frame met them.
    unsigned mBandsPainted;

    /// The painter inside paint(), if any.
    static WorldPainter* sPainting;
};

} // namespace QEL

#endif
