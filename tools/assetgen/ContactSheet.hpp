#ifndef QEL_ASSETGEN_CONTACTSHEET_HPP
#define QEL_ASSETGEN_CONTACTSHEET_HPP

#include "tools/assetgen/Canvas.hpp"

#include <string>
#include <vector>

namespace QEL::AssetGen {

// One overview picture of every generated picture, each under its file name, for reviewing art.
class ContactSheet {
public:
    void add(const std::string& label, const Canvas& picture);
    Canvas compose() const;

private:
    // The picture shrunk (by averaging) or enlarged (by whole pixels) to a readable size.
    static Canvas thumbnail(const Canvas& picture);

    std::vector<std::pair<std::string, Canvas>> mEntries;
};

} // namespace QEL::AssetGen

#endif
