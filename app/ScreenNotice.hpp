#ifndef QEL_APP_SCREENNOTICE_HPP
#define QEL_APP_SCREENNOTICE_HPP

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>

#include <string>

namespace QEL
{

/// A short line shown at the top of the screen for a few seconds ("Screenshot saved: ...").
class ScreenNotice
{
public:
    static constexpr float ShownSeconds = 3.f;

    ScreenNotice();

    void show(const std::string& text);

    /// Draws the line centred at the top of the target's current view while it lasts;
    /// `seconds` is the time since the last call.
    void draw(sf::RenderTarget& target, float seconds);

    bool isShown() const { return mLeft > 0.f; }
    const sf::Text& getText() const { return mText; }

private:
    sf::Text mText;
    float mLeft = 0.f;
};

} // namespace QEL

#endif
