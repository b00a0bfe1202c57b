#ifndef PLYM_GAME_EVENT2_HPP
#define PLYM_GAME_EVENT2_HPP

namespace Plym
{

/// Message payload of two values.
template <class A, class B>
struct Event2
{
    A first;
    B second;
};

} // namespace Plym

#endif
