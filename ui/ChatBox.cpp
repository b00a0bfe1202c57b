#include "ui/ChatBox.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include <algorithm>
#include <cmath>

namespace QEL
{
namespace Components
{
namespace
{

// The picture's pixels are the lines already blended over nothing, so they are laid over the
// screen as they are.
const sf::BlendMode Premultiplied(sf::BlendMode::One, sf::BlendMode::OneMinusSrcAlpha);

} // namespace

void ChatBox::draw(sf::RenderTarget& target, std::deque<ChatLine>& lines, std::size_t count, sf::Vector2f newest, float width,
                   std::uint64_t version)
{
    count = std::min(count, lines.size());
    if (count == 0)
        return;
    if (!mPainted || version != mVersion || count != mCount || newest != mNewest || width != mWidth)
    {
        mVersion = version;
        mCount = count;
        mNewest = newest;
        mWidth = width;
        mPainted = paint(lines, newest, width);
    }
    if (!mPainted)
    {
        for (std::size_t index = 0; index < count; ++index)
            lines[index].draw(target, getPosition(index, newest), width, 255);
        return;
    }
    sf::Sprite picture(mPicture.getTexture(), sf::IntRect(0, 0, mArea.width, mArea.height));
    picture.setPosition(static_cast<float>(mArea.left), static_cast<float>(mArea.top));
    target.draw(picture, sf::RenderStates(Premultiplied));
}

sf::Vector2f ChatBox::getPosition(std::size_t index, sf::Vector2f newest)
{
    return sf::Vector2f(newest.x, newest.y - LineHeight * static_cast<float>(index));
}

bool ChatBox::paint(std::deque<ChatLine>& lines, sf::Vector2f newest, float width)
{
    // Every pixel the lines and their outlines touch, on whole pixels.
    sf::FloatRect area = lines[0].getBounds(getPosition(0, newest), width);
    for (std::size_t index = 1; index < mCount; ++index)
    {
        const sf::FloatRect line = lines[index].getBounds(getPosition(index, newest), width);
        const float right = std::max(area.left + area.width, line.left + line.width);
        const float bottom = std::max(area.top + area.height, line.top + line.height);
        area.left = std::min(area.left, line.left);
        area.top = std::min(area.top, line.top);
        area.width = right - area.left;
        area.height = bottom - area.top;
    }
    const int left = static_cast<int>(std::floor(area.left));
    const int top = static_cast<int>(std::floor(area.top));
    mArea = sf::IntRect(left, top, static_cast<int>(std::ceil(area.left + area.width)) - left,
                        static_cast<int>(std::ceil(area.top + area.height)) - top);
    if (mArea.width <= 0 || mArea.height <= 0)
        return false;

    const sf::Vector2u size = mPicture.getSize();
    if ((size.x < static_cast<unsigned>(mArea.width) || size.y < static_cast<unsigned>(mArea.height)) &&
        !mPicture.create(std::max(size.x, static_cast<unsigned>(mArea.width)), std::max(size.y, static_cast<unsigned>(mArea.height))))
        return false;

    // Screen coordinates map one to one onto the picture, its corner at the area's.
    const sf::Vector2f pictureSize(mPicture.getSize());
    mPicture.setView(sf::View(sf::FloatRect(static_cast<float>(left), static_cast<float>(top), pictureSize.x, pictureSize.y)));
    mPicture.clear(sf::Color::Transparent);
    for (std::size_t index = 0; index < mCount; ++index)
        lines[index].draw(mPicture, getPosition(index, newest), width, 255);
    mPicture.display();
    return true;
}

} // namespace Components
} // namespace QEL
