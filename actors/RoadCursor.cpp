#include "actors/RoadCursor.hpp"

#include "actors/RoadManager.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

namespace QEL
{

RoadCursor::RoadCursor(const RoadManager& roads, const sf::Texture& texture, const sf::IntRect& rect) :
mRoads(roads),
mTexture(texture),
mRect(rect)
{
}

sf::FloatRect RoadCursor::getPaintBounds() const
{
    return mRoads.isBuilding() ? makeSprite().getGlobalBounds() : sf::FloatRect();
}

void RoadCursor::paint(sf::RenderTarget& target, const sf::FloatRect& area) const
{
    if (!mRoads.isBuilding())
        return;
    const sf::Sprite sprite = makeSprite();
    if (sprite.getGlobalBounds().intersects(area))
        target.draw(sprite);
}

sf::Sprite RoadCursor::makeSprite() const
{
    sf::Sprite sprite(mTexture, mRect);
    sprite.setOrigin(45.f, 45.f);
    sprite.setPosition(mRoads.getCursor());
    sprite.setColor(sf::Color(255, 255, 255, 127));
    return sprite;
}

} // namespace QEL
