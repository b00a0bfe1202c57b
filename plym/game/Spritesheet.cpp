#include "plym/game/Spritesheet.hpp"

namespace Plym
{

bool Spritesheet::loadFromFile(const std::string& path, unsigned char columns, unsigned char rows)
{
    sf::Texture texture;
    if (columns == 0 || rows == 0 || !texture.loadFromFile(path))
        return false;
    adopt(texture, columns, rows);
    return true;
}

bool Spritesheet::loadFromStream(sf::InputStream& stream, unsigned char columns, unsigned char rows)
{
    sf::Texture texture;
    if (columns == 0 || rows == 0 || !texture.loadFromStream(stream))
        return false;
    adopt(texture, columns, rows);
    return true;
}

sf::IntRect Spritesheet::getRect(unsigned column, unsigned row) const
{
    const sf::Vector2u cell = getSize();
    return sf::IntRect(static_cast<int>(column * cell.x), static_cast<int>(row * cell.y),
                       static_cast<int>(cell.x), static_cast<int>(cell.y));
}

sf::Vector2u Spritesheet::getSize() const
{
    const sf::Vector2u size = mTexture.getSize();
    return sf::Vector2u(size.x / mColumns, size.y / mRows);
}

void Spritesheet::adopt(sf::Texture& texture, unsigned char columns, unsigned char rows)
{
    mTexture.swap(texture);
    mColumns = columns;
    mRows = rows;
}

} // namespace Plym
