#ifndef QEL_SERVER_RECORDWRITER_HPP
#define QEL_SERVER_RECORDWRITER_HPP

#include "plym/core/Vector3.hpp"

#include <cstdint>
#include <string>

namespace QEL
{
namespace Hosting
{

/// Builds the records the server sends, each as the finished wire bytes (header with checksum
/// and payload), ready to be queued on any number of connections.
class RecordWriter
{
public:
    static std::string joinReply(std::uint8_t result);
    static std::string openChannel(std::uint8_t channel, std::uint8_t type);
    static std::string channelNotice();
    static std::string entityMessage(std::uint32_t entity, const std::string& name);
    /// `joined` false: the player was there before the receiver joined.
    static std::string playerInfo(std::uint32_t player, const std::string& name, const Plym::Math::Vector3& position,
                                  bool joined);
    static std::string playerQuit(std::uint32_t player);
    static std::string playerMove(std::uint32_t player, const Plym::Math::Vector3& position,
                                  const Plym::Math::Vector3& speed);
    static std::string chatLine(std::uint32_t speaker, const std::string& text);
};

} // namespace Hosting
} // namespace QEL

#endif
