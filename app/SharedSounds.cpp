#include "app/SharedSounds.hpp"

#include "app/ResourceManager.hpp"
#include "plym/game/Engine.hpp"
#include "plym/game/SoundManager.hpp"

namespace QEL
{
namespace
{

void loadSound(const char* name, const char* file)
{
    if (!gSounds.contains(name))
        gSounds.load(name, file);
}

Plym::SoundManager* findSounds()
{
    Plym::Engine* engine = Plym::Engine::getSingleton();
    return engine ? engine->getService<Plym::SoundManager>() : nullptr;
}

} // namespace

void loadSharedSounds()
{
    loadSound("Tree::Stroke1", "AxeStroke1.ogg");
    loadSound("Tree::Stroke2", "AxeStroke2.ogg");
    loadSound("Tree::Stroke3", "AxeStroke3.ogg");
    loadSound("Tree::Stroke4", "AxeStroke4.ogg");
    loadSound("Tree::Creak", "TreeCreak.ogg");
    loadSound("Tree::Crash", "TreeCrash.ogg");
    loadSound("Tree::Branch", "BranchSnap.ogg");
    loadSound("Woody::Trim", "Trim.ogg");
    loadSound("Woody::Tie", "RopeTie.ogg");
    loadSound("Woody::Untie", "RopeUntie.ogg");
    loadSound("Cactus::Pick", "RosebudPick.ogg");
    loadSound("Man::Splash", "Splash.ogg");
    loadSound("Man::Wade", "Wade.ogg");
    loadSound("Man::StepGrass", "StepGrass.ogg");
    loadSound("Man::StepSand", "StepSand.ogg");
    loadSound("Road::Lay", "RoadLay.ogg");
    loadSound("Road::Remove", "RoadRemove.ogg");
    loadSound("UI::Click", "Click.ogg");
}

void playSound(const std::string& name, const Plym::Math::Vector2& position, float volume, float pitch)
{
    if (Plym::SoundManager* sounds = findSounds())
        sounds->play(name, gSounds.get(name), position, volume, pitch);
}

void playInterfaceSound(const std::string& name)
{
    if (Plym::SoundManager* sounds = findSounds())
        sounds->playFlat(name, gSounds.get(name));
}

void moveListener(const Plym::Math::Vector2& position)
{
    if (Plym::SoundManager* sounds = findSounds())
        sounds->setListener(position);
}

} // namespace QEL
