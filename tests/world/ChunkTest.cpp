#include "tests/world/WorldFixture.hpp"

#include "physics/CircleCollisionShape.hpp"
#include "physics/QuadTreeLeaf.hpp"
#include "plym/game/Spritesheet.hpp"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace WorldTest
{
namespace
{

using QEL::Chunk;

class ChunkTest : public WorldFixture
{
};

TEST_F(ChunkTest, PixelsSelectBiomesByExactColourIncludingAlpha)
{
    const Chunk& chunk = loadMap({"FGsDdb", ".gGGGG"});
    ASSERT_EQ(chunk.getWidth(), 6u);
    ASSERT_EQ(chunk.getHeight(), 2u);
    const int firstRow[] = {QEL::Forest, QEL::Grass, QEL::ShWater, QEL::DeWater, QEL::Desert, QEL::Beach};
    for (unsigned x = 0; x < 6; ++x)
        EXPECT_EQ(chunk.getBiomeAt(x, 0), firstRow[x]) << "column " << x;
    EXPECT_EQ(chunk.getBiomeAt(0, 1), QEL::None) << "a colour of no biome";
    EXPECT_EQ(chunk.getBiomeAt(1, 1), QEL::None) << "grass colour with alpha 254";
    EXPECT_EQ(chunk.getBiomeAt(2, 1), QEL::Grass);
}

TEST_F(ChunkTest, TilesWithoutBiomeStayEmptySprites)
{
    const Chunk& chunk = loadMap({".s", "sG"});
    EXPECT_EQ(chunk.getTiles()[0].getTexture(), nullptr);
    EXPECT_EQ(chunk.getTiles()[0].getTextureRect(), sf::IntRect());
    EXPECT_NE(chunk.getTiles()[3].getTexture(), nullptr);
}

TEST_F(ChunkTest, LookUpsOutsideTheMapGiveNoBiome)
{
    const Chunk& chunk = loadMap({"GG", "GG", "GG"});
    EXPECT_EQ(chunk.getBiomeAt(1, 2), QEL::Grass);
    EXPECT_EQ(chunk.getBiomeAt(2, 0), QEL::None);
    EXPECT_EQ(chunk.getBiomeAt(0, 3), QEL::None);
    EXPECT_EQ(chunk.getBiomeAt(static_cast<unsigned>(-1), 0), QEL::None);
}

TEST_F(ChunkTest, OneGrassPixelMakesOneTileUnderAOneTileQuadTree)
{
    const Chunk& chunk = loadMap({"G"});
    EXPECT_EQ(chunk.getBiomeAt(0, 0), QEL::Grass);
    const sf::Sprite& tile = chunk.getTiles().at(0);
    EXPECT_EQ(tile.getPosition(), sf::Vector2f(0.f, 0.f));
    EXPECT_EQ(tile.getScale(), sf::Vector2f(1.01f, 1.01f));
    EXPECT_EQ(tile.getTexture(), &Chunk::getSheet("grass.png").getTexture());
    ASSERT_NE(chunk.getQuadTree(), nullptr);
    EXPECT_EQ(chunk.getQuadTree()->getRoot().getBounds(), sf::FloatRect(0.f, 0.f, 90.f, 90.f));
}

TEST_F(ChunkTest, TilesArePlacedByTheGrassCellSize)
{
    const Chunk& chunk = loadMap({"sss", "sss"});
    const sf::Vector2u cell = Chunk::getSheet("grass.png").getSize();
    EXPECT_EQ(chunk.getTiles()[1 * 3 + 2].getPosition(), sf::Vector2f(2.f * cell.x, 1.f * cell.y));
}

TEST_F(ChunkTest, UnreadableImageFailsAndBuildsNothing)
{
    Chunk& chunk = addChunk();
    const std::string garbage = (mFolder / "garbage.png").string();
    std::ofstream(garbage) << "not a picture";
    for (const std::string& path : {garbage, (mFolder / "missing.png").string()})
    {
        try
        {
            chunk.load(path);
            ADD_FAILURE() << "no error for " << path;
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_STREQ(error.what(), "Couldn't load main chunk");
        }
    }
    EXPECT_EQ(chunk.getWidth(), 0u);
    EXPECT_TRUE(chunk.getTiles().empty());
    EXPECT_TRUE(mSpawns.empty());
}

TEST_F(ChunkTest, BodiesAskingForTheTreeGetTheWorldsTree)
{
    const Chunk& chunk = loadMap({"sss"});
    auto* body = static_cast<QEL::Physical*>(mSystem.createComponent("QEL.Physical"));
    mSystem.addComponent(mSystem.createEntity(), body);
    EXPECT_EQ(body->getTree(), chunk.getQuadTree());

    body->setShape(new QEL::CircleCollisionShape(10.f));
    body->setPosition(Plym::Math::Vector3(100.f, 45.f, 0.f));
    EXPECT_EQ(chunk.getQuadTree()->getAll(), std::vector<QEL::Physical*>{body});
}

TEST_F(ChunkTest, TheLastChunkAddedIsCurrentUntilDestroyed)
{
    Chunk& first = addChunk();
    EXPECT_EQ(Chunk::getCurrent(), &first);
    EXPECT_EQ(Chunk::getCurrentSystem(), &mSystem);
    Chunk& second = addChunk();
    EXPECT_EQ(Chunk::getCurrent(), &second);
    mSystem.destroyComponent(&second);
    EXPECT_EQ(Chunk::getCurrent(), nullptr);
    EXPECT_EQ(Chunk::getCurrentSystem(), nullptr);
}

} // namespace
} // namespace WorldTest
