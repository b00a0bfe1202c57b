#ifndef QEL_APP_WORLDPAINTER_HPP
#define QEL_APP_WORLDPAINTER_HPP

#include "app/GameEvents.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Vertex.hpp>
#include <SFML/Graphics/View.hpp>

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace QEL
{

/// Paints the world's frames without drawing again, every frame, what does not change.
///
/// Still drawings (see DrawPass) are rendered into square cells of one atlas texture
/// covering the view and a ring of cells around it, and each frame the cells in view are
/// copied to the window. Moving drawings are drawn in patches: every drawing that touches a
/// patch is drawn again there, in the usual order, so whatever stands in front of a moving
/// one still covers it. Cells whose still drawings changed are painted again, at once when
/// they are in view; the ring is prepared a cell per frame, so walking costs little.
///
/// The painter draws nothing itself: it sends "QEL.Game.Draw" with a DrawPass through the
/// given sender and the drawings do the rest. When no atlas can be made (no frame buffer
/// objects), every frame is a plain one.
class WorldPainter
{
public:
    /// Sends one "QEL.Game.Draw" to every drawing.
    using Sender = std::function<void(const DrawEvent&)>;

    /// The side of a cell in window pixels.
    static constexpr int CellPixels = 256;

    /// Cells painted per frame beyond those the frame cannot do without.
    static constexpr unsigned SparePaintsPerFrame = 1;

    explicit WorldPainter(Sender send);

    /// Paints the world seen through `view` onto `target` and leaves `view` set on it.
    void paint(sf::RenderTarget& target, const sf::View& view, float seconds);

    /// How many cells the last paint rendered.
    unsigned getCellsPainted() const { return mCellsPainted; }

    /// How many patches of moving drawings the last paint drew.
    std::size_t getPatchCount() const { return mPatches.size(); }

private:
    /// Column and row of a cell; cell (0, 0) starts at mOrigin.
    using CellKey = std::pair<int, int>;

    enum class CellState
    {
        Current,
        Late,   ///< Out of date; may be shown a few more frames.
        Urgent  ///< Out of date; must be painted before it is shown.
    };

    struct Cell
    {
        unsigned slot;
        CellState state;
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
    sf::FloatRect rangeArea(const Range& range) const;
    sf::FloatRect slotArea(unsigned slot) const;

    void forgetCellsOutside(const Range& kept);
    void markCells(const std::vector<sf::FloatRect>& areas, CellState state);
    void paintCells(const Range& seen, const Range& kept, float seconds);
    const Cell* findCell(CellKey key) const;
    void paintCell(CellKey key, float seconds);
    void copyCells(sf::RenderTarget& target, const Range& seen);
    void findPatches(const sf::RenderTarget& target, const sf::View& view, const std::vector<sf::FloatRect>& moving);
    void paintPatches(sf::RenderTarget& target, const sf::View& view, float seconds);

    Sender mSend;
    sf::RenderTexture mAtlas;
    bool mAtlasUsable;
    sf::Vector2u mTargetSize;
    sf::Vector2f mScale;     ///< Window pixels per world unit.
    sf::Vector2f mCellSize;  ///< In world units.
    sf::Vector2f mOrigin;    ///< A corner of the cells, on the view's pixel grid.
    unsigned mSlotColumns;
    unsigned mSlotRows;
    std::map<CellKey, Cell> mCells;
    std::vector<unsigned> mFreeSlots;
    std::vector<sf::Vertex> mQuads;
    std::vector<sf::IntRect> mPatches;
    unsigned mCellsPainted;
};

} // namespace QEL

#endif
