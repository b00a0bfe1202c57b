#ifndef QEL_FUZZ_INVARIANT_HPP
#define QEL_FUZZ_INVARIANT_HPP

#include <cstdio>
#include <cstdlib>

namespace QEL
{
namespace Fuzzing
{

/// Ends the run with a message when the condition fails: the fuzzer reports it as a crash
/// with the input, and a corpus replay fails as a test.
inline void requireInvariant(bool condition, const char* what)
{
    if (!condition)
    {
        std::fprintf(stderr, "Invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace Fuzzing
} // namespace QEL

#endif
