#ifndef PLYM_GAME_EVENT4_HPP
#define PLYM_GAME_EVENT4_HPP

namespace Plym
{

/// Message payload of four values.
template <class A, class B, class C, class D>
struct Event4
{
    A first;
    B second;
    C third;
    D fourth;
};

} // namespace Plym

#endif
