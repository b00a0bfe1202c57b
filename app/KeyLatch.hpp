#ifndef QEL_APP_KEYLATCH_HPP
#define QEL_APP_KEYLATCH_HPP

#include <SFML/Window/Event.hpp>

namespace QEL
{

/// One action per press of a key, however long it is held (held keys repeat their presses).
class KeyLatch
{
public:
    explicit KeyLatch(sf::Keyboard::Key key) : mKey(key) {}

    /// True for the first press of the key since it was last released.
    bool pressed(const sf::Event& event);

    /// Takes the key's state from the keyboard itself: a window opened anew may never hear
    /// the release of the key that opened it.
    void sync();

private:
    sf::Keyboard::Key mKey;
    bool mHeld = false;
};

} // namespace QEL

#endif
