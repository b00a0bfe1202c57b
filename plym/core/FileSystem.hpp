#ifndef PLYM_CORE_FILESYSTEM_HPP
#define PLYM_CORE_FILESYSTEM_HPP

#include <string>
#include <vector>

namespace Plym
{

/// The application's identity and directory listings.
class FileSystem
{
public:
    /// Names the application (company, product, short name), e.g. for console lines.
    void setApplicationInformation(const std::string& company, const std::string& product, const std::string& shortName);

    const std::string& getCompany() const { return mCompany; }
    const std::string& getProduct() const { return mProduct; }
    const std::string& getShortName() const { return mShortName; }

    /// Regular files under `directory` whose file name matches `pattern` ('*' any run of
    /// characters, '?' one character, everything else literal). With `recursive` the
    /// subdirectories are searched too. Paths are directory + "/" + the path relative to
    /// it, sorted; a directory that cannot be read gives an empty list.
    static std::vector<std::string> scanDirectory(const std::string& directory, const std::string& pattern, bool recursive);

    /// Whether `name` matches the wildcard `pattern` as a whole.
    static bool matches(const std::string& name, const std::string& pattern);

private:
    std::string mCompany;
    std::string mProduct;
    std::string mShortName;
};

} // namespace Plym

#endif
