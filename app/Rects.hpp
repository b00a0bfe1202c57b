#ifndef QEL_APP_RECTS_HPP
#define QEL_APP_RECTS_HPP

#include <SFML/Graphics/Rect.hpp>

#include <algorithm>

namespace QEL
{
namespace Rects
{

/// The smallest rectangle holding both.
template <class T>
sf::Rect<T> unite(const sf::Rect<T>& a, const sf::Rect<T>& b)
{
    const T left = std::min(a.left, b.left);
    const T top = std::min(a.top, b.top);
    const T right = std::max(a.left + a.width, b.left + b.width);
    const T bottom = std::max(a.top + a.height, b.top + b.height);
    return sf::Rect<T>(left, top, right - left, bottom - top);
}

} // namespace Rects
} // namespace QEL

#endif
