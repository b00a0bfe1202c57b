#include "world/Minimap.hpp"

#include "app/GameEvents.hpp"
#include "app/ResourceManager.hpp"
#include "plym/core/File.hpp"

#include <SFML/Graphics/Sprite.hpp>

namespace QEL
{

void Minimap::create(const std::string& maskFile)
{
    Plym::File stream(maskFile, 0, true);
    mMask.loadFromStream(stream);
    mPicture.create(Size, Size);
    // A new texture holds whatever its memory held; until the first window is drawn the
    // minimap shows nothing rather than that.
    mPicture.clear(sf::Color::Transparent);
    mPicture.display();
}

void Minimap::setMap(const sf::Image& image)
{
    mMap.loadFromImage(image);
}

sf::Vector2i Minimap::getOrigin(const Plym::Math::Vector3& position)
{
    const float half = Tiles / 2;
    return sf::Vector2i(static_cast<int>(position.x / World::TileSize - half),
                        static_cast<int>(position.y / World::TileSize - half));
}

void Minimap::redraw(const sf::Vector2i& origin)
{
    // The picture outlives the GL contexts it is drawn under, and SFML does not reset its
    // cached GL states when the context changes.
    mPicture.resetGLStates();
    mPicture.draw(sf::Sprite(mMask), sf::BlendAdd);
    sf::Sprite map(mMap, sf::IntRect(origin.x, origin.y, Tiles, Tiles));
    map.setScale(static_cast<float>(Size) / Tiles, static_cast<float>(Size) / Tiles);
    mPicture.draw(map, sf::BlendMultiply);
    mPicture.display();
}

void Minimap::draw(sf::RenderTarget& target, float angle) const
{
    const float viewWidth = target.getView().getSize().x;
    sf::Sprite picture(mPicture.getTexture());
    picture.setPosition(viewWidth - Size - Margin, Margin);
    target.draw(picture);

    const sf::Texture& arrowTexture = gTextures.get("Map::Arrow");
    sf::Sprite arrow(arrowTexture);
    arrow.setOrigin(arrowTexture.getSize().x / 2.f, arrowTexture.getSize().y / 2.f);
    arrow.setPosition(viewWidth - Size / 2.f - Margin, Size / 2.f + Margin);
    arrow.setRotation(angle);
    arrow.setScale(0.5f, 0.5f);
    target.draw(arrow);
}

} // namespace QEL
