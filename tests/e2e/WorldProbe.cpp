// quelmoor-world-probe: builds the world the way the client does at start-up and lists its
// trees and cacti, so that end-to-end tests know where to click and which entity id an object has.

#include "actors/Cactus.hpp"
#include "actors/Tree.hpp"
#include "app/Catalogue.hpp"
#include "app/SharedPictures.hpp"
#include "app/SharedSounds.hpp"
#include "ecs/EntitySystem.hpp"
#include "plym/game/Engine.hpp"
#include "world/Chunk.hpp"

#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>

namespace
{

const char* const Usage =
    "Usage: quelmoor-world-probe [--data-dir DIR]\n"
    "Builds the world from \"Example Chunk.png\" exactly as the client does before it seeds\n"
    "its random numbers, and prints one line per tree, \"tree <entity id> <x> <y>\", and per\n"
    "cactus, \"cactus <entity id> <x> <y>\" (where its trunk meets the ground).\n"
    "Needs a display (textures are loaded). Options:\n"
    "  --data-dir DIR   read the game's files from DIR\n"
    "  --help           show this text\n";


} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--help") == 0)
        {
            std::cout << Usage;
            return 0;
        }
    }
    try
    {
        Tessaly::EntitySystem system(false);
        Plym::Engine engine(system, Plym::Engine::Everything);
        engine.addHook("Components", "QEL Components").call(QEL::registerComponents);
        engine.initialize(argc, argv);
        QEL::loadSharedPictures();
        QEL::loadSharedSounds();

        // The client's core entity comes first; the world's entity ids follow it.
        system.createEntity();
        auto* chunk = static_cast<QEL::Chunk*>(system.createComponent("QEL.Game.Chunk"));
        system.addComponent(system.createEntity(), chunk);
        std::srand(1);  // the state a fresh process starts in
        chunk->load("Example Chunk.png");

        for (Tessaly::EntityId entity = 1; entity < system.getNextEntityId(); ++entity)
        {
            if (!system.hasEntity(entity))
                continue;
            for (Tessaly::Component* component : system.getAllComponentsOnEntity(entity, "QEL.Game.Tree"))
            {
                const sf::FloatRect& bounds = static_cast<QEL::Tree*>(component)->getBounds();
                std::cout << "tree " << entity << " " << bounds.left + 180.f << " " << bounds.top + 540.f << "\n";
            }
            for (Tessaly::Component* component : system.getAllComponentsOnEntity(entity, "QEL.Game.Cactus"))
            {
                const sf::FloatRect& bounds = static_cast<QEL::Cactus*>(component)->getBounds();
                std::cout << "cactus " << entity << " " << bounds.left + 30.f << " " << bounds.top + 300.f << "\n";
            }
        }
        return 0;
    }
    catch (const std::exception& error)
    {
        std::cerr << "quelmoor-world-probe: " << error.what() << std::endl;
        return 1;
    }
}
