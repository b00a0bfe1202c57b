#ifndef QEL_WORLD_BIOME_HPP
#define QEL_WORLD_BIOME_HPP

namespace QEL
{

/// Biome ids of the world's tiles, in the order the chunk registers them; 0 is no biome.
enum Biome : int
{
    None = 0,
    Forest = 1,
    Grass = 2,
    ShWater = 3,
    DeWater = 4,
    Desert = 5,
    Beach = 6
};

} // namespace QEL

#endif
