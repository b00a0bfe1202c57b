#ifndef QEL_APP_PAINTING_HPP
#define QEL_APP_PAINTING_HPP

#include <SFML/Graphics/Rect.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sf
{
class RenderTarget;
}

namespace QEL
{

/// A drawing of the world that the WorldPainter may keep in its cached picture of the world.
///
/// A component drawing under "QEL.Game.Draw" derives from it (or keeps one per picture), does
/// in its handler what it does once per frame and then hands itself to WorldPainter::draw,
/// which paints it onto the frame's target, plainly or as the painter needs. Everything the
/// painter needs to know about a drawing is said here.
class Painting
{
public:
    Painting();
    virtual ~Painting();

    Painting(const Painting&) = delete;
    Painting& operator=(const Painting&) = delete;

    /// The world area its pictures cover now.
    virtual sf::FloatRect getPaintBounds() const = 0;

    /// Whether it may look different in the next frame without a change of look (it moves or
    /// is animated): it is then drawn afresh every frame.
    virtual bool isMoving() const;

    /// A value that changes whenever the look of a still drawing changes.
    virtual std::uint64_t getLook() const;

    /// Whether its changes of look since the painter last saw it show within `area` (by
    /// default, wherever its bounds reach).
    virtual bool changesWithin(const sf::FloatRect& area) const;

    /// The painter has taken in every change of look so far.
    virtual void forgetChanges();

    /// Draws its pictures that meet `area` onto `target`, changing no state of its own.
    virtual void paint(sf::RenderTarget& target, const sf::FloatRect& area) const = 0;

private:
    friend class WorldPainter;

    /// What a painter last saw of a drawing.
    struct Seen
    {
        sf::FloatRect bounds;
        std::uint64_t look = 0;
        bool moving = false;
        bool known = false;  ///< false until a painter first saw it
    };

    Seen mSeen;
    std::size_t mIndex;

    /// Every painting alive, in no order.
    static std::vector<Painting*> sAll;

    /// The bounds of still paintings a painter knew that have gone since it last looked.
    static std::vector<sf::FloatRect> sVanished;
};

} // namespace QEL

#endif
