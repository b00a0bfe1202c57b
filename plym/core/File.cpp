#include "plym/core/File.hpp"

#include <filesystem>

namespace Plym
{

File::File(const std::string& path, int mode, bool binary) : mPath(path)
{
    std::error_code error;
    if (mode != 0 || std::filesystem::is_directory(path, error))
        return;
    mStream.open(path, binary ? std::ios::in | std::ios::binary : std::ios::in);
    if (!mStream)
        return;
    mStream.seekg(0, std::ios::end);
    mSize = static_cast<sf::Int64>(mStream.tellg());
    mStream.seekg(0, std::ios::beg);
}

bool File::operator!() const
{
    return !isOpen();
}

bool File::isOpen() const
{
    return mStream.is_open() && mSize >= 0;
}

sf::Int64 File::read(void* data, sf::Int64 size)
{
    if (!isOpen() || size < 0)
        return -1;
    mStream.read(static_cast<char*>(data), static_cast<std::streamsize>(size));
    const sf::Int64 count = mStream.gcount();
    if (mStream.eof())
        mStream.clear(); // a short read at the end is no error; keep the stream usable for seeks
    return mStream.bad() ? -1 : count;
}

sf::Int64 File::seek(sf::Int64 position)
{
    if (!isOpen() || position < 0 || position > mSize)
        return -1;
    mStream.clear();
    mStream.seekg(position, std::ios::beg);
    return mStream ? position : -1;
}

sf::Int64 File::tell()
{
    if (!isOpen())
        return -1;
    return static_cast<sf::Int64>(mStream.tellg());
}

sf::Int64 File::getSize()
{
    return mSize;
}

} // namespace Plym
