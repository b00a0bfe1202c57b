#include "plym/game/TextRuns.hpp"

#include "plym/game/FontFallback.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

#include <algorithm>

namespace Plym
{

TextRuns::TextRuns(const sf::String& string, unsigned characterSize) :
mString(string),
mCharacterSize(characterSize)
{
    layout();
}

std::vector<TextRuns::Run> TextRuns::split(const sf::String& string)
{
    std::vector<Run> runs;
    const sf::Font* previous = nullptr;
    for (std::size_t index = 0; index < string.getSize(); ++index)
    {
        const sf::Font* font = &FontFallback::getFont(string[index], previous);
        if (font == previous)
            ++runs.back().length;
        else
            runs.push_back({font, index, 1});
        previous = font;
    }
    return runs;
}

void TextRuns::setString(const sf::String& string)
{
    mString = string;
    layout();
}

const sf::String& TextRuns::getString() const
{
    return mString;
}

void TextRuns::setCharacterSize(unsigned size)
{
    mCharacterSize = size;
    layout();
}

void TextRuns::setFillColor(const sf::Color& color)
{
    mFillColor = color;
    for (sf::Text& piece : mPieces)
        piece.setFillColor(mFillColor);
}

void TextRuns::drawCopies(sf::RenderTarget& target, const std::vector<sf::Vector2f>& offsets, const sf::Color& color)
{
    setFillColor(color);
    const sf::Vector2f position = getPosition();
    for (std::size_t first = 0; first < mPieces.size(); ++first)
    {
        const sf::Font* font = mPieces[first].getFont();
        const auto earlier = std::find_if(mPieces.begin(), mPieces.begin() + static_cast<std::ptrdiff_t>(first),
                                          [font](const sf::Text& piece) { return piece.getFont() == font; });
        if (earlier != mPieces.begin() + static_cast<std::ptrdiff_t>(first))
            continue;  // drawn with the first piece of its font
        for (const sf::Vector2f offset : offsets)
        {
            setPosition(position + offset);
            for (std::size_t index = first; index < mPieces.size(); ++index)
                if (mPieces[index].getFont() == font)
                    target.draw(mPieces[index], getTransform());
        }
    }
    setPosition(position);
}

const std::vector<sf::Text>& TextRuns::getPieces() const
{
    return mPieces;
}

sf::FloatRect TextRuns::getLocalBounds() const
{
    if (mPieces.empty())
        return {};
    if (mPieces.size() == 1)
        return mPieces.front().getGlobalBounds();
    sf::Vector2f least(mPieces.front().getGlobalBounds().left, mPieces.front().getGlobalBounds().top);
    sf::Vector2f most = least;
    for (const sf::Text& piece : mPieces)
    {
        const sf::FloatRect bounds = piece.getGlobalBounds();
        least = sf::Vector2f(std::min(least.x, bounds.left), std::min(least.y, bounds.top));
        most = sf::Vector2f(std::max(most.x, bounds.left + bounds.width), std::max(most.y, bounds.top + bounds.height));
    }
    return sf::FloatRect(least, most - least);
}

sf::FloatRect TextRuns::getGlobalBounds() const
{
    return getTransform().transformRect(getLocalBounds());
}

void TextRuns::draw(sf::RenderTarget& target, sf::RenderStates states) const
{
    states.transform *= getTransform();
    for (const sf::Text& piece : mPieces)
        target.draw(piece, states);
}

void TextRuns::layout()
{
    // Every piece's baseline lies at its character size below its top, whatever its font,
    // so pieces side by side share one baseline; each starts where the last one's pen stopped.
    mPieces.clear();
    float x = 0.f;
    for (const Run& run : split(mString))
    {
        mPieces.emplace_back(mString.substring(run.begin, run.length), *run.font, mCharacterSize);
        sf::Text& piece = mPieces.back();
        piece.setFillColor(mFillColor);
        piece.setPosition(x, 0.f);
        x = piece.findCharacterPos(run.length).x;
    }
}

} // namespace Plym
