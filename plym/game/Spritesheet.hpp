#ifndef PLYM_GAME_SPRITESHEET_HPP
#define PLYM_GAME_SPRITESHEET_HPP

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/System/InputStream.hpp>

#include <string>

namespace Plym
{

/// A texture cut into a grid of columns x rows equal cells.
class Spritesheet
{
public:
    /// Loads the image and sets the grid; false when the image cannot be read or the grid
    /// has no cells. The sheet is unchanged on failure.
    bool loadFromFile(const std::string& path, unsigned char columns, unsigned char rows);
    bool loadFromStream(sf::InputStream& stream, unsigned char columns, unsigned char rows);

    /// Texture rectangle of a cell; cells outside the grid give rectangles outside the image.
    sf::IntRect getRect(unsigned column, unsigned row) const;

    /// Size of one cell in pixels.
    sf::Vector2u getSize() const;

    sf::Texture& getTexture() { return mTexture; }
    const sf::Texture& getTexture() const { return mTexture; }
    unsigned getColumns() const { return mColumns; }
    unsigned getRows() const { return mRows; }

private:
    void adopt(sf::Texture& texture, unsigned char columns, unsigned char rows);

    sf::Texture mTexture;
    unsigned mColumns = 1;
    unsigned mRows = 1;
};

} // namespace Plym

#endif
