#ifndef PLYM_GAME_TEXTRUNS_HPP
#define PLYM_GAME_TEXTRUNS_HPP

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Transformable.hpp>

#include <cstddef>
#include <vector>

namespace Plym
{

/// A line of text drawn in every script: split into runs of characters that one font draws
/// (the default font where it has the glyphs, a fallback elsewhere), laid out one after the
/// other on one baseline. Text the default font draws whole is one sf::Text, drawn exactly
/// as that sf::Text alone would be.
class TextRuns : public sf::Drawable, public sf::Transformable
{
public:
    /// Characters [begin, begin + length) of a string, drawn with `font`.
    struct Run
    {
        const sf::Font* font;
        std::size_t begin;
        std::size_t length;
    };

    TextRuns() = default;

    /// The text of `string` at `characterSize` pixels.
    TextRuns(const sf::String& string, unsigned characterSize);

    /// The runs `string` is drawn in, in order.
    static std::vector<Run> split(const sf::String& string);

    void setString(const sf::String& string);
    const sf::String& getString() const;

    void setCharacterSize(unsigned size);
    void setFillColor(const sf::Color& color);

    /// Draws the text at each of `offsets` from its position, in `color`: the copies of one
    /// font's runs one after another, so that the target changes fonts as rarely as it can
    /// (the software rasteriser pays dearly for each change).
    void drawCopies(sf::RenderTarget& target, const std::vector<sf::Vector2f>& offsets, const sf::Color& color);

    /// The pieces drawn, one per run, placed along the line.
    const std::vector<sf::Text>& getPieces() const;

    /// The pixels the text covers, before its transform.
    sf::FloatRect getLocalBounds() const;

    /// The pixels the text covers, after its transform.
    sf::FloatRect getGlobalBounds() const;

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;

    void layout();

    sf::String mString;
    unsigned mCharacterSize = 30;
    sf::Color mFillColor = sf::Color::White;
    std::vector<sf::Text> mPieces;
};

} // namespace Plym

#endif
