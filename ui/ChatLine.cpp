#include "ui/ChatLine.hpp"

#include "plym/game/FontFallback.hpp"
#include "plym/game/FontFinder.hpp"

#include <SFML/System/Utf.hpp>

#include <utility>

namespace QEL
{
namespace Components
{
namespace
{

constexpr sf::Uint32 Ellipsis = 0x2026;
constexpr float Outline = 1.5f;

} // namespace

ChatLine::ChatLine(std::string utf8, float width) :
mUtf8(std::move(utf8)),
mWidth(0.f)
{
    mText.setCharacterSize(CharacterSize);
    layout(width);
}

const std::string& ChatLine::getString() const
{
    return mUtf8;
}

Plym::TextRuns& ChatLine::getText(float width)
{
    if (width != mWidth)
        layout(width);
    return mText;
}

const Plym::TextRuns& ChatLine::getText() const
{
    return mText;
}

void ChatLine::draw(sf::RenderTarget& target, sf::Vector2f position, float width, sf::Uint8 alpha)
{
    Plym::TextRuns& text = getText(width);
    text.setPosition(position);
    text.drawCopies(target, {sf::Vector2f(Outline, Outline), sf::Vector2f(-Outline, Outline), sf::Vector2f(-Outline, -Outline), sf::Vector2f(Outline, -Outline)},
                    sf::Color(45, 45, 45, alpha));
    text.drawCopies(target, {sf::Vector2f()}, sf::Color(255, 255, 255, alpha));
}

sf::FloatRect ChatLine::getBounds(sf::Vector2f position, float width)
{
    const sf::FloatRect bounds = getText(width).getLocalBounds();
    return sf::FloatRect(position.x + bounds.left - Outline, position.y + bounds.top - Outline, bounds.width + 2.f * Outline,
                         bounds.height + 2.f * Outline);
}

void ChatLine::layout(float width)
{
    // Advances as the text lays its glyphs out, each in the font its run takes; decoding stops
    // at the first character that does not fit, wherever the line ends.
    const float ellipsis = Plym::FontFinder::getDefaultFont().getGlyph(Ellipsis, CharacterSize, false).advance;
    sf::String shown;
    std::size_t roomForEllipsis = 0;  // leading characters that still leave room for it
    float x = 0.f;
    sf::Uint32 previous = 0;
    const sf::Font* previousFont = nullptr;
    for (auto position = mUtf8.begin(); position != mUtf8.end();)
    {
        sf::Uint32 c;
        position = sf::Utf8::decode(position, mUtf8.end(), c);
        const sf::Font& font = Plym::FontFallback::getFont(c, previousFont);
        if (&font == previousFont)
            x += font.getKerning(previous, c, CharacterSize);
        x += font.getGlyph(c, CharacterSize, false).advance;
        if (x > width)
        {
            shown = shown.substring(0, roomForEllipsis) + sf::String(Ellipsis);
            break;
        }
        shown += c;
        if (x + ellipsis <= width)
            roomForEllipsis = shown.getSize();
        previous = c;
        previousFont = &font;
    }
    mText.setString(shown);
    mWidth = width;
    // Builds the glyphs' geometry now rather than on the first frame that draws the line.
    mText.getLocalBounds();
}

} // namespace Components
} // namespace QEL
