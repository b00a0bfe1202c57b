#ifndef QEL_APP_DISPLAYCHECK_HPP
#define QEL_APP_DISPLAYCHECK_HPP

namespace QEL
{
namespace DisplayCheck
{

/// Throws std::runtime_error "cannot open a window: ..." when there is no X display to open
/// the game window on. The window library would abort the process later instead.
void require();

} // namespace DisplayCheck
} // namespace QEL

#endif
