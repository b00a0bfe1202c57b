#ifndef PLYM_CORE_FILE_HPP
#define PLYM_CORE_FILE_HPP

#include <SFML/System/InputStream.hpp>

#include <fstream>
#include <string>

namespace Plym
{

/// A file opened for reading, usable wherever SFML loads from an sf::InputStream.
class File : public sf::InputStream
{
public:
    /// Mode 0 opens for reading, the only mode there is: any other mode leaves the file
    /// unopened. `binary` opens without newline translation.
    explicit File(const std::string& path, int mode = 0, bool binary = true);

    /// True when the file could not be opened.
    bool operator!() const;

    bool isOpen() const;

    const std::string& getPath() const { return mPath; }

    sf::Int64 read(void* data, sf::Int64 size) override;
    sf::Int64 seek(sf::Int64 position) override;
    sf::Int64 tell() override;
    sf::Int64 getSize() override;

private:
    std::string mPath;
    std::ifstream mStream;
    sf::Int64 mSize = -1;
};

} // namespace Plym

#endif
