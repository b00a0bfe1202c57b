#ifndef QEL_SERVER_CLIENTRECORD_HPP
#define QEL_SERVER_CLIENTRECORD_HPP

#include "plym/core/Vector3.hpp"

#include <cstdint>
#include <string>

namespace QEL
{
namespace Hosting
{

/// One record a client sent, decoded. Only the fields of its type are set.
struct ClientRecord
{
    enum Type
    {
        Invalid,        ///< not a record of the protocol; `error` tells why
        JoinRequest,    ///< name
        KeepAlive,
        Leave,
        EntityMessage,  ///< entity, name
        PlayerStream,   ///< position, speed
        ChatLine        ///< text
    };

    Type type = Invalid;
    std::string name;
    std::string text;
    std::uint32_t entity = 0;
    Plym::Math::Vector3 position;
    Plym::Math::Vector3 speed;
    const char* error = "";
};

} // namespace Hosting
} // namespace QEL

#endif
