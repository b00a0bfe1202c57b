#ifndef QEL_WORLD_CHUNK_HPP
#define QEL_WORLD_CHUNK_HPP

#include "app/Painting.hpp"
#include "ecs/Component.hpp"
#include "plym/game/Spritesheet.hpp"
#include "world/Biome.hpp"
#include "world/TileBatch.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Tessaly
{
class EntitySystem;
}

namespace QEL
{

class Man;
class Minimap;
class QuadTree;

/// "QEL.Game.Chunk": the terrain of the world, built from a map image whose pixels are
/// tiles. It owns the tile sprites and the world's quadtree, scatters trees and cacti,
/// draws the visible tiles and the minimap. The biome tables, tile sheets and minimap
/// textures are shared by every chunk and filled by the first one constructed.
class Chunk : public Tessaly::Component, public Painting
{
public:
    /// Size in bytes under which scripts know the type "Chunk"; scripts never allocate one.
    static constexpr int ScriptSize = 120;

    Chunk();
    ~Chunk() override;

    void addedToEntity() override;

    /// Builds the world from the map image at `path`, spawning trees and cacti through the
    /// chunk's entity system: call it once the chunk is on its entity. Throws "Couldn't load
    /// main chunk" when the image cannot be read.
    bool load(const std::string& path);

    /// The biome id of tile (x, y), 0 outside the map.
    int getBiomeAt(unsigned x, unsigned y) const;

    unsigned getWidth() const { return mWidth; }
    unsigned getHeight() const { return mHeight; }

    /// The tile sprites, row-major (index y * width + x).
    const std::vector<sf::Sprite>& getTiles() const { return mTiles; }

    /// The surf tiles whose frame steps about once a second.
    const std::vector<sf::Sprite*>& getAnimatedTiles() const { return mAnimatedTiles; }

    sf::FloatRect getPaintBounds() const override;
    bool isMoving() const override;
    /// Changes with every step of the surf.
    std::uint64_t getLook() const override;
    /// Whether a surf tile meets the area.
    bool changesWithin(const sf::FloatRect& area) const override;
    /// Draws the tiles meeting the area, column by column, each from top to bottom.
    void paint(sf::RenderTarget& target, const sf::FloatRect& area) const override;

    /// The chunk and entity system of the last chunk added to an entity (scripts read them).
    static Chunk* getCurrent();
    static Tessaly::EntitySystem* getCurrentSystem();

    /// The world's spatial index, null before the first load.
    QuadTree* getQuadTree() const;

    /// The name of a biome id, empty for an unknown id.
    static const std::string& getBiomeName(int id);

    /// Adds a biome to the class-wide tables and returns its new id.
    static int registerBiome(const std::string& name, const sf::Color& colour);

    /// A tile sheet by its file name ("grass.png", "beachwater.png", ...).
    static Plym::Spritesheet& getSheet(const std::string& file);

private:
    static void loadSharedState();

    void update(Tessaly::Message& message);
    void draw(Tessaly::Message& message);
    void drawMap(Tessaly::Message& message);
    void onMan(Tessaly::Message& message);
    void onAddToQuadTree(Tessaly::Message& message);

    void readImage(const std::string& path);
    void generateBiomes();
    int findBiome(const sf::Color& colour) const;
    sf::Sprite decorateGrass(int biome, unsigned x, unsigned y);
    sf::Sprite decorateDesert(unsigned x, unsigned y);
    sf::Sprite decorateBeach();
    sf::Sprite decorateWater(int biome);
    void spawn(const std::string& templateName, unsigned x, unsigned y, float offsetX, float offsetY);
    void generateAllBorders();
    void stepSurf();

    Man* mPlayer;
    sf::Image mImage;
    int mMinimapLeft;
    int mMinimapTop;
    unsigned mWidth;
    unsigned mHeight;
    std::vector<int> mBiomes;
    std::vector<sf::Sprite*> mAnimatedTiles;
    std::vector<sf::Sprite> mTiles;
    mutable TileBatch mTileBatch;  ///< Scratch for painting.
    std::uint64_t mSurfSteps;

    static std::map<int, sf::Color> sBiomeColours;
    static std::map<int, std::string> sBiomeNames;
    static int sBiomeCounter;
    static std::map<std::string, Plym::Spritesheet> sSheets;
    static std::unique_ptr<Minimap> sMinimap;
    static Tessaly::EntitySystem* sCurrentSystem;
    static Chunk* sCurrent;
    static std::unique_ptr<QuadTree> sQuadTree;
    static float sWaterTimer;
    static bool sWaterRising;
};

} // namespace QEL

#endif
