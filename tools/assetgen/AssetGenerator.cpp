#include "tools/assetgen/AssetGenerator.hpp"

#include "tools/assetgen/CactusPainter.hpp"
#include "tools/assetgen/Composer.hpp"
#include "tools/assetgen/IconPainter.hpp"
#include "tools/assetgen/ManPainter.hpp"
#include "tools/assetgen/MapGenerator.hpp"
#include "tools/assetgen/RoadPainter.hpp"
#include "tools/assetgen/SnakePainter.hpp"
#include "tools/assetgen/SoundEffects.hpp"
#include "tools/assetgen/TerrainPainter.hpp"
#include "tools/assetgen/TreePainter.hpp"
#include "tools/assetgen/UiPainter.hpp"

#include <future>

namespace QEL::AssetGen {

AssetGenerator::AssetGenerator(const std::string& directory) : mWriter(directory) {}

void AssetGenerator::run()
{
    // The music and effects are synthesised and encoded on a second core while the pictures are painted.
    std::future<void> music = std::async(std::launch::async, [this] {
        writeMusic();
        writeEffects();
    });
    writeTerrain();
    writeMap();
    writeTrees();
    writeMan();
    writeCreatures();
    writeRoads();
    writeInterface();
    music.get();
    mWriter.writePreview();
}

void AssetGenerator::writeTerrain()
{
    mWriter.announce("Painting terrain");
    const TerrainPainter terrain;
    mWriter.writeImage("grass.png", terrain.grassSheet());
    mWriter.writeImage("desert.png", terrain.desertSheet());
    mWriter.writeImage("beach.png", terrain.beachSheet());
    mWriter.writeImage("water.png", terrain.waterSheet());
    using Style = TerrainPainter::Style;
    mWriter.writeImage("grasswater.png", terrain.edgeSheet(terrain.grass(), terrain.deep(), Style::Bank, 1101));
    mWriter.writeImage("grasswatersh.png", terrain.edgeSheet(terrain.grass(), terrain.shallow(), Style::Bank, 1201));
    mWriter.writeImage("grassdesert.png", terrain.edgeSheet(terrain.grass(), terrain.sand(), Style::Fringe, 1301));
    mWriter.writeImage("grassbeach.png", terrain.edgeSheet(terrain.grass(), terrain.beach(), Style::Fringe, 1401));
    mWriter.writeImage("beachwater.png", terrain.surfSheet());
}

void AssetGenerator::writeMap()
{
    mWriter.announce("Drawing the world map");
    mWriter.writeImage("Example Chunk.png", MapGenerator().paint());
}

void AssetGenerator::writeTrees()
{
    mWriter.announce("Growing trees");
    const TreePainter trees;
    mWriter.writeImage("tree.png", trees.sheet());
    mWriter.writeImage("Treecoll.png", trees.shadow());
}

void AssetGenerator::writeMan()
{
    mWriter.announce("Dressing the player");
    const ManPainter man;
    mWriter.writeImage("QELMan.png", man.bodySheet());
    mWriter.writeImage("QELHair.png", man.hairSheet());
    mWriter.writeImage("QELmancoll.png", man.shadow());
    mWriter.writeText("man.anim", man.animationFile());
}

void AssetGenerator::writeCreatures()
{
    mWriter.announce("Planting cacti and hatching snakes");
    const CactusPainter cactus;
    mWriter.writeImage("QELCactus.png", cactus.sheet());
    mWriter.writeImage("CactiColl.png", cactus.shadow());
    const SnakePainter snakes;
    mWriter.writeImage("Snake1.png", snakes.sideways());
    mWriter.writeImage("Snake2.png", snakes.upDown());
}

void AssetGenerator::writeRoads()
{
    mWriter.announce("Laying roads");
    const RoadPainter roads;
    mWriter.writeImage("QELPath.png", roads.pathSheet());
    mWriter.writeImage("QELTorg.png", roads.squareSheet());
}

void AssetGenerator::writeInterface()
{
    mWriter.announce("Framing the display");
    const UiPainter ui;
    mWriter.writeImage("GUI_spritesheet.png", ui.buttonSheet());
    mWriter.writeImage("GUI_new_frame.png", ui.bar());
    mWriter.writeImage("Volume.png", ui.volumeSheet());
    mWriter.writeImage("MapMask.png", ui.minimapMask());
    mWriter.writeImage("minimapoverlay.png", ui.minimapRing());
    mWriter.writeImage("axe.png", ui.axe());
    mWriter.writeImage("arrowSilver_right.png", ui.arrow());
    mWriter.writeImage("quelmoor.png", IconPainter().icon());
}

void AssetGenerator::writeMusic()
{
    mWriter.announce("Composing music");
    mWriter.writeSound("I Am The Adventuror.ogg", Composer::meadow(), Composer::SampleRate);
    mWriter.writeSound("DSRT.ogg", Composer::desert(), Composer::SampleRate);
}

void AssetGenerator::writeEffects()
{
    mWriter.announce("Recording sound effects");
    for (const SoundEffects::Effect& effect : SoundEffects::all())
        mWriter.writeSound(effect.file, effect.samples, SoundEffects::SampleRate);
}

} // namespace QEL::AssetGen
