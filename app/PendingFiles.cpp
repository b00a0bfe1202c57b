#include "app/PendingFiles.hpp"

#include "plym/core/FileSystem.hpp"

#include <cstdio>

namespace QEL
{

void replacePendingFiles(const std::string& directory)
{
    for (const std::string& pending : Plym::FileSystem::scanDirectory(directory, "*.new", false))
    {
        const std::string target = pending.substr(0, pending.size() - 4);
        const std::string old = target + ".old";
        std::rename(target.c_str(), old.c_str());
        std::remove(old.c_str());
        std::rename(pending.c_str(), target.c_str());
    }
}

} // namespace QEL
