#include "app/ScreenNotice.hpp"

#include "plym/game/FontFinder.hpp"

#include <cmath>

namespace QEL
{

ScreenNotice::ScreenNotice()
{
    mText.setFont(Plym::FontFinder::getDefaultFont());
    mText.setCharacterSize(16);
    mText.setFillColor(sf::Color::White);
    mText.setOutlineColor(sf::Color::Black);
    mText.setOutlineThickness(1.f);
}

void ScreenNotice::show(const std::string& text)
{
    mText.setString(sf::String::fromUtf8(text.begin(), text.end()));
    mLeft = ShownSeconds;
}

void ScreenNotice::draw(sf::RenderTarget& target, float seconds)
{
    if (!isShown())
        return;
    mLeft -= seconds;
    const sf::View& view = target.getView();
    const float left = view.getCenter().x - mText.getLocalBounds().width / 2.f;
    const float top = view.getCenter().y - view.getSize().y / 2.f + 8.f;
    mText.setPosition(std::round(left), std::round(top));
    target.draw(mText);
}

} // namespace QEL
