#ifndef QEL_UI_CHATLINE_HPP
#define QEL_UI_CHATLINE_HPP

#include "plym/game/TextRuns.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

#include <string>

namespace QEL
{
namespace Components
{

/// One line of the chat history as the chat box shows it. Its text is laid out once, cut
/// (with an ellipsis) to the width the box gives it, so a line of any length costs no more to
/// draw than one that fits.
class ChatLine
{
public:
    /// The character size of chat lines.
    static constexpr unsigned CharacterSize = 12;

    /// Lays the UTF-8 line out for a box `width` pixels wide.
    ChatLine(std::string utf8, float width);

    /// The whole line, as UTF-8.
    const std::string& getString() const;

    /// The shown text for a box `width` pixels wide; laid out again only when the width changed.
    Plym::TextRuns& getText(float width);

    /// The shown text as it was laid out last.
    const Plym::TextRuns& getText() const;

    /// Draws the shown text with its top-left corner at `position`, in white with a dark
    /// outline of four offset copies, at the given opacity.
    void draw(sf::RenderTarget& target, sf::Vector2f position, float width, sf::Uint8 alpha);

    /// The pixels draw() covers at `position`, outline included.
    sf::FloatRect getBounds(sf::Vector2f position, float width);

private:
    void layout(float width);

    std::string mUtf8;
    Plym::TextRuns mText;
    float mWidth;
};

} // namespace Components
} // namespace QEL

#endif
