#ifndef QEL_APP_RESOURCEMANAGER_HPP
#define QEL_APP_RESOURCEMANAGER_HPP

#include "plym/core/File.hpp"
#include "plym/game/Spritesheet.hpp"

#include <SFML/Audio/Music.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace QEL
{

/// Process-wide store of shared resources of one type, loaded once at start-up and
/// afterwards fetched by a short name such as "Tree" or "Man::Shadow".
/// Nothing is ever removed, so references handed out stay valid until exit.
template <class T>
class ResourceManager
{
public:
    /// Loads a texture, a music track or a sound effect from `file` under `name`.
    void load(const std::string& name, const std::string& file);

    /// Loads a spritesheet of columns x rows cells from `file` under `name`.
    void load(const std::string& name, const std::string& file, unsigned char columns, unsigned char rows);

    /// The resource stored under `name`.
    T& get(const std::string& name);

    bool contains(const std::string& name) const { return mResources.count(name) != 0; }

private:
    // The source is declared first so that it outlives the resource reading from it.
    struct Entry
    {
        std::unique_ptr<Plym::File> source;  // kept open for resources that stream while in use
        std::unique_ptr<T> resource;
    };

    template <class Reader>
    void loadWith(const std::string& name, const std::string& file, Reader read);

    std::map<std::string, Entry> mResources;
};

extern ResourceManager<Plym::Spritesheet> gSpritesheets;
extern ResourceManager<sf::Texture> gTextures;
extern ResourceManager<sf::Music> gMusics;
extern ResourceManager<sf::SoundBuffer> gSounds;

template <class T>
template <class Reader>
void ResourceManager<T>::loadWith(const std::string& name, const std::string& file, Reader read)
{
    Entry entry{std::make_unique<Plym::File>(file, 0, true), std::make_unique<T>()};
    if (!*entry.source || !read(*entry.resource, *entry.source))
        throw std::runtime_error("ResourceManager::load - Failed to load from " + file);
    if (mResources.count(name) != 0)
        throw std::runtime_error("Assertion \"resource.second\" failed!");
    mResources.emplace(name, std::move(entry));
}

namespace Resources
{

inline bool read(sf::Texture& texture, Plym::File& stream)
{
    return texture.loadFromStream(stream);
}

inline bool read(sf::Music& music, Plym::File& stream)
{
    return music.openFromStream(stream);
}

inline bool read(sf::SoundBuffer& sound, Plym::File& stream)
{
    return sound.loadFromStream(stream);
}

} // namespace Resources

template <class T>
void ResourceManager<T>::load(const std::string& name, const std::string& file)
{
    loadWith(name, file, [](T& resource, Plym::File& stream) { return Resources::read(resource, stream); });
    // Music reads from its stream while it plays; every other source can close now.
    if constexpr (!std::is_same<T, sf::Music>::value)
        mResources[name].source.reset();
}

template <class T>
void ResourceManager<T>::load(const std::string& name, const std::string& file, unsigned char columns, unsigned char rows)
{
    loadWith(name, file, [columns, rows](T& resource, Plym::File& stream) {
        return resource.loadFromStream(stream, columns, rows);
    });
    mResources[name].source.reset();
}

template <class T>
T& ResourceManager<T>::get(const std::string& name)
{
    const auto find = mResources.find(name);
    if (find == mResources.end())
        throw std::runtime_error("Assertion \"find != mResources.end()\" failed!");
    return *find->second.resource;
}

} // namespace QEL

#endif
