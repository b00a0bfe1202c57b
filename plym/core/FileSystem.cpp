#include "plym/core/FileSystem.hpp"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace Plym
{
namespace
{

template <class Iterator>
void collect(const std::string& directory, const std::string& pattern, std::vector<std::string>& paths)
{
    std::error_code error;
    const fs::path root(directory);
    const std::string prefix = (!directory.empty() && directory.back() == '/') ? directory : directory + "/";
    for (Iterator it(root, fs::directory_options::skip_permission_denied, error), end; !error && it != end; it.increment(error))
    {
        if (it->is_regular_file(error) && FileSystem::matches(it->path().filename().string(), pattern))
            paths.push_back(prefix + it->path().lexically_relative(root).generic_string());
    }
}

} // namespace

void FileSystem::setApplicationInformation(const std::string& company, const std::string& product, const std::string& shortName)
{
    mCompany = company;
    mProduct = product;
    mShortName = shortName;
}

std::vector<std::string> FileSystem::scanDirectory(const std::string& directory, const std::string& pattern, bool recursive)
{
    std::vector<std::string> paths;
    if (recursive)
        collect<fs::recursive_directory_iterator>(directory, pattern, paths);
    else
        collect<fs::directory_iterator>(directory, pattern, paths);
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool FileSystem::matches(const std::string& name, const std::string& pattern)
{
    // Greedy matching with backtracking to the last '*': linear in practice, never exponential.
    std::size_t n = 0, p = 0;
    std::size_t starP = std::string::npos, starN = 0;
    while (n < name.size())
    {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n]))
        {
            ++n;
            ++p;
        }
        else if (p < pattern.size() && pattern[p] == '*')
        {
            starP = p++;
            starN = n;
        }
        else if (starP != std::string::npos)
        {
            p = starP + 1;
            n = ++starN;
        }
        else
            return false;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace Plym
