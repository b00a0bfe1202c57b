#ifndef QEL_APP_CLICKFLAG_HPP
#define QEL_APP_CLICKFLAG_HPP

#include <SFML/Window/Mouse.hpp>

namespace QEL
{

/// The right-button flag that clicks carry: the left button clears it, the right one sets
/// it, and any other button keeps the previous click's (false before the first).
class ClickFlag
{
public:
    /// The flag of a click with `button`.
    bool press(sf::Mouse::Button button)
    {
        if (button == sf::Mouse::Left)
            mRight = false;
        else if (button == sf::Mouse::Right)
            mRight = true;
        return mRight;
    }

private:
    bool mRight = false;
};

} // namespace QEL

#endif
