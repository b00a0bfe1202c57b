#ifndef QEL_BOT_BOTOBSERVER_HPP
#define QEL_BOT_BOTOBSERVER_HPP

#include "plym/core/Vector3.hpp"

#include <cstdint>

namespace QEL
{
namespace Bots
{

class Bot;

/// Hooks into what bots send and receive (load measurements use them). Every hook runs on the
/// swarm's thread.
class BotObserver
{
public:
    virtual ~BotObserver() = default;

    /// A bot is about to send its movement record; the values may be changed.
    virtual void beforeMove(Bot& bot, Plym::Math::Vector3& position, Plym::Math::Vector3& speed);

    /// A bot received another player's movement.
    virtual void onPlayerMove(Bot& bot, std::uint32_t player, const Plym::Math::Vector3& position,
                              const Plym::Math::Vector3& speed);
};

} // namespace Bots
} // namespace QEL

#endif
