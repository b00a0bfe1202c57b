#ifndef PLYM_CORE_SCRIPTENTITY_HPP
#define PLYM_CORE_SCRIPTENTITY_HPP

#include <cstdint>

namespace Plym
{

/// An entity as scripts see it: the script value type "Entity".
///
/// It is a plain value (4 bytes, registered asOBJ_VALUE | asOBJ_POD) rather than a
/// reference type: it only names an entity by id, so copying it is free and scripts need
/// no reference counting. Scripts build it with Entity() or Entity(uint id) and read the
/// id through the property "id". Methods taking the object last (asCALL_CDECL_OBJLAST)
/// receive a ScriptEntity pointer.
class ScriptEntity
{
public:
    explicit ScriptEntity(std::uint32_t entity = 0) : mEntity(entity) {}

    std::uint32_t getEntity() const { return mEntity; }

private:
    std::uint32_t mEntity;
};

} // namespace Plym

#endif
