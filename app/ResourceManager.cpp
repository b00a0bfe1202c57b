#include "app/ResourceManager.hpp"

namespace QEL
{

ResourceManager<Plym::Spritesheet> gSpritesheets;
ResourceManager<sf::Texture> gTextures;
ResourceManager<sf::Music> gMusics;
ResourceManager<sf::SoundBuffer> gSounds;

} // namespace QEL
