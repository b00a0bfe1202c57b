#ifndef TESSALY_TYPES_HPP
#define TESSALY_TYPES_HPP

#include <cstdint>

namespace Tessaly
{

/// Ids handed out by the entity system; 0 always means none.
using EntityId = std::uint32_t;
using ComponentId = std::uint32_t;
using RequestId = std::uint32_t;

} // namespace Tessaly

#endif
