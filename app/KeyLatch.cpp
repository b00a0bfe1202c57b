#include "app/KeyLatch.hpp"

namespace QEL
{

bool KeyLatch::pressed(const sf::Event& event)
{
    if ((event.type != sf::Event::KeyPressed && event.type != sf::Event::KeyReleased) || event.key.code != mKey)
        return false;
    const bool first = event.type == sf::Event::KeyPressed && !mHeld;
    mHeld = event.type == sf::Event::KeyPressed;
    return first;
}

void KeyLatch::sync()
{
    mHeld = sf::Keyboard::isKeyPressed(mKey);
}

} // namespace QEL
