#ifndef QEL_APP_SHAREDPICTURES_HPP
#define QEL_APP_SHAREDPICTURES_HPP

namespace QEL
{

/// Loads every spritesheet and texture that several components share into the
/// process-wide stores, in start-up order, from the working directory. Names already
/// loaded are kept, so tools and tests may call it more than once.
void loadSharedPictures();

} // namespace QEL

#endif
