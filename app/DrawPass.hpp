#ifndef QEL_APP_DRAWPASS_HPP
#define QEL_APP_DRAWPASS_HPP

#include <SFML/Graphics/Rect.hpp>

#include <vector>

namespace QEL
{

/// What one "QEL.Game.Draw" asks of the world's drawings when the WorldPainter paints the
/// frame. A drawing is still when it looks the same frame after frame (terrain, roads, a
/// standing tree, a cactus) and moving otherwise (men, snakes, logs, a tree being chopped).
/// A draw without a pass (null) is a plain frame: every drawing draws and keeps its
/// per-frame state. Every function takes the pass as it comes in the event, null included.
class DrawPass
{
public:
    enum Kind
    {
        Still,  ///< Into the painter's cached picture: still drawings only.
        Survey, ///< Once per frame, nothing drawn: moving drawings give their bounds, still ones their changes of look.
        Patch   ///< Everything, over a patch of the window around moving drawings.
    };

    explicit DrawPass(Kind kind);

    Kind getKind() const { return mKind; }

    /// Whether a drawing draws now. A survey takes the bounds of a moving drawing instead.
    static bool draws(DrawPass* pass, bool moving, const sf::FloatRect& bounds);

    /// Whether this is the frame's own draw, which reaches every drawing once per frame: the
    /// one in which drawings keep their per-frame state (update requests, animation steps).
    static bool isFrame(const DrawPass* pass);

    /// A still drawing's look changed: the cached picture of `area` must be painted again
    /// before it is shown.
    static void repaint(DrawPass* pass, const sf::FloatRect& area);

    /// Like repaint, but the old picture may stay on screen for a few more frames
    /// (an animation step nobody would see late).
    static void repaintSoon(DrawPass* pass, const sf::FloatRect& area);

    const std::vector<sf::FloatRect>& getMoving() const { return mMoving; }
    const std::vector<sf::FloatRect>& getRepaints() const { return mRepaints; }
    const std::vector<sf::FloatRect>& getLateRepaints() const { return mLateRepaints; }

private:
    Kind mKind;
    std::vector<sf::FloatRect> mMoving;
    std::vector<sf::FloatRect> mRepaints;
    std::vector<sf::FloatRect> mLateRepaints;
};

} // namespace QEL

#endif
