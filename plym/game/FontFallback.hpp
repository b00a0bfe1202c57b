#ifndef PLYM_GAME_FONTFALLBACK_HPP
#define PLYM_GAME_FONTFALLBACK_HPP

#include <SFML/Graphics/Font.hpp>

namespace Plym
{

/// Picks, for each character, a font that has its glyph: the default font when it does,
/// otherwise the first of the fonts fontconfig ranks after it whose character set holds it.
/// A character no font has goes to the default font, which draws it as its box. Fonts are
/// loaded once per file and each character is looked up once, so drawing asks fontconfig
/// nothing after a character's first appearance.
class FontFallback
{
public:
    /// The font that draws `character` when it follows one drawn with `previous` (none for
    /// the first character): a combining mark stays with the font of the character it marks
    /// when that font has it.
    static const sf::Font& getFont(sf::Uint32 character, const sf::Font* previous = nullptr);

    /// Whether `font`, one this class handed out, has a glyph for `character`.
    static bool hasGlyph(const sf::Font& font, sf::Uint32 character);
};

} // namespace Plym

#endif
