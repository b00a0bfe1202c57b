#ifndef QEL_APP_PENDINGFILES_HPP
#define QEL_APP_PENDINGFILES_HPP

#include <string>

namespace QEL
{

/// Puts downloaded updates in place: every "X.new" directly in `directory` replaces "X".
/// Failures are ignored, so a missing target or a failed rename never stops start-up.
void replacePendingFiles(const std::string& directory = ".");

} // namespace QEL

#endif
