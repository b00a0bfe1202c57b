#ifndef QEL_APP_GAMEEVENTS_HPP
#define QEL_APP_GAMEEVENTS_HPP

#include "plym/game/Event2.hpp"
#include "plym/game/Event3.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/System/Vector2.hpp>

namespace QEL
{

/// Payload of "QEL.Game.Click": the clicked world point and whether it was the right button.
using ClickEvent = Plym::Event2<sf::Vector2f, bool>;

/// Payload of "QEL.Game.Draw" and "QEL.Game.DrawUi": the target, the rectangle of the world
/// (or screen) visible through the current view and the previous frame's duration in seconds.
using DrawEvent = Plym::Event3<sf::RenderTarget*, sf::FloatRect, float>;

/// World geometry shared by every subsystem.
namespace World
{
constexpr float TileSize = 90.f;
/// Tiles are drawn this much larger than their square, so that neighbours overlap without a seam.
constexpr float TileScale = 1.01f;
constexpr float Size = 23040.f;
constexpr float Centre = 11520.f;
} // namespace World

} // namespace QEL

#endif
