#include "plym/game/Hook.hpp"

#include <utility>

namespace Plym
{

Hook& Hook::call(Function function)
{
    mRecord->function = std::move(function);
    return *this;
}

} // namespace Plym
