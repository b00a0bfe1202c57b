#ifndef QEL_APP_STARTUP_HPP
#define QEL_APP_STARTUP_HPP

namespace QEL
{

/// Builds the whole game in its fixed order (engine, components, pending updates,
/// resources, world, players, snakes, roads, music), prints the banner and runs the
/// main loop. Returns the loop's exit code; start-up errors are thrown.
int runGame(int argc, char** argv);

} // namespace QEL

#endif
