#ifndef PLYM_GAME_EVENT3_HPP
#define PLYM_GAME_EVENT3_HPP

namespace Plym
{

/// Message payload of three values.
template <class A, class B, class C>
struct Event3
{
    A first;
    B second;
    C third;
};

} // namespace Plym

#endif
