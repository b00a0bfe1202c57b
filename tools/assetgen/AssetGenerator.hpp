#ifndef QEL_ASSETGEN_ASSETGENERATOR_HPP
#define QEL_ASSETGEN_ASSETGENERATOR_HPP

#include "tools/assetgen/AssetWriter.hpp"

#include <string>

namespace QEL::AssetGen {

// Draws, composes and writes every asset file the game loads, in a fixed order.
class AssetGenerator {
public:
    explicit AssetGenerator(const std::string& directory);

    void run();

private:
    void writeTerrain();
    void writeMap();
    void writeTrees();
    void writeMan();
    void writeCreatures();
    void writeRoads();
    void writeInterface();
    void writeMusic();
    void writeEffects();

    AssetWriter mWriter;
};

} // namespace QEL::AssetGen

#endif
