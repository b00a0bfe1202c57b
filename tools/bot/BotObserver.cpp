#include "tools/bot/BotObserver.hpp"

namespace QEL
{
namespace Bots
{

void BotObserver::beforeMove(Bot&, Plym::Math::Vector3&, Plym::Math::Vector3&)
{
}

void BotObserver::onPlayerMove(Bot&, std::uint32_t, const Plym::Math::Vector3&, const Plym::Math::Vector3&)
{
}

} // namespace Bots
} // namespace QEL
