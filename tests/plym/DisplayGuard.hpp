#ifndef PLYM_TESTS_DISPLAYGUARD_HPP
#define PLYM_TESTS_DISPLAYGUARD_HPP

#include <cstdlib>

/// Textures and keyboard polling need an X display; `make test` runs the suite under Xvfb.
#define PLYM_REQUIRE_DISPLAY()                                                   \
    do                                                                           \
    {                                                                            \
        if (!std::getenv("DISPLAY"))                                             \
            GTEST_SKIP() << "needs an X display (run under xvfb-run -a)";        \
    } while (false)

#endif
