#ifndef QEL_WORLD_BORDERGENERATOR_HPP
#define QEL_WORLD_BORDERGENERATOR_HPP

#include <SFML/Graphics/Sprite.hpp>

#include <vector>

namespace Plym
{
class Spritesheet;
}

namespace QEL
{

/// The transition passes of the terrain: every tile of biome `from` that touches biome `to`
/// gets the picture of its neighbourhood from a transition sheet. Both passes pick the
/// picture with one table of twelve rules, tried in order; a later pass overwrites an
/// earlier one's picture. Neighbours outside the grid never match.
class BorderGenerator
{
public:
    /// The edge layout: 3 x 4 cells starting at column `columnOffset` of the sheet.
    static void generateBorders(int from, int to, Plym::Spritesheet& sheet, const std::vector<int>& biomes,
                                std::vector<sf::Sprite>& tiles, unsigned width, unsigned height,
                                unsigned columnOffset);

    /// The surf layout: one column per rule in row 0 (the first animation frame); every
    /// changed tile is appended to `animatedTiles`, in the order of the pass.
    static void generateAnimatedBorders(int from, int to, Plym::Spritesheet& sheet, const std::vector<int>& biomes,
                                        std::vector<sf::Sprite>& tiles, std::vector<sf::Sprite*>& animatedTiles,
                                        unsigned width, unsigned height);
};

} // namespace QEL

#endif
