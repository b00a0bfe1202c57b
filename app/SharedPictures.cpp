#include "app/SharedPictures.hpp"

#include "app/ResourceManager.hpp"

namespace QEL
{
namespace
{

void loadSheet(const char* name, const char* file, unsigned char columns, unsigned char rows)
{
    if (!gSpritesheets.contains(name))
        gSpritesheets.load(name, file, columns, rows);
}

void loadTexture(const char* name, const char* file)
{
    if (!gTextures.contains(name))
        gTextures.load(name, file);
}

} // namespace

void loadSharedPictures()
{
    loadSheet("Cactus", "QELCactus.png", 3, 6);
    loadSheet("Man::Hair", "QELHair.png", 5, 1);
    loadSheet("Road::Path", "QELPath.png", 8, 4);
    loadSheet("Road::Square", "QELTorg.png", 8, 5);
    loadSheet("Tree", "tree.png", 8, 6);
    loadSheet("Snake::Horizontal", "Snake1.png", 3, 2);
    loadSheet("Snake::Vertical", "Snake2.png", 3, 2);
    loadSheet("UI::Volume", "Volume.png", 3, 2);

    loadTexture("Cactus::Shadow", "CactiColl.png");
    loadTexture("Man::Shadow", "QELmancoll.png");
    loadTexture("Tree::Shadow", "Treecoll.png");
    loadTexture("Action::Axe", "axe.png");
    loadTexture("Map::Arrow", "arrowSilver_right.png");
}

} // namespace QEL
