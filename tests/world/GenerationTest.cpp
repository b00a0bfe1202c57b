#include "tests/world/WorldFixture.hpp"

#include "plym/game/Spritesheet.hpp"

#include <cstdlib>
#include <functional>

namespace WorldTest
{
namespace
{

using QEL::Chunk;

/// What a map should become for one seed when every tile draws its random numbers in the
/// agreed order (column by column; per biome as the world's clients expect them).
struct Expectation
{
    std::vector<const sf::Texture*> textures;
    std::vector<sf::IntRect> cells;
    std::vector<Spawn> spawns;
    int nextRandom = 0;  ///< the first value drawn after the whole map
};

float replayOffset()
{
    return static_cast<float>((std::rand() % 900) / 10 - 45);
}

Expectation replay(const std::vector<std::string>& rows, unsigned seed, Tessaly::EntityId firstEntity)
{
    const Plym::Spritesheet& grass = Chunk::getSheet("grass.png");
    const Plym::Spritesheet& desert = Chunk::getSheet("desert.png");
    const Plym::Spritesheet& beach = Chunk::getSheet("beach.png");
    const Plym::Spritesheet& water = Chunk::getSheet("water.png");
    const unsigned width = static_cast<unsigned>(rows.front().size());
    Expectation expected;
    expected.textures.assign(width * rows.size(), nullptr);
    expected.cells.assign(width * rows.size(), sf::IntRect());
    Tessaly::EntityId entity = firstEntity;

    std::srand(seed);
    for (unsigned x = 0; x < width; ++x)
    {
        for (unsigned y = 0; y < rows.size(); ++y)
        {
            const std::size_t index = y * width + x;
            const auto place = [&](const Plym::Spritesheet& sheet, sf::IntRect cell) {
                expected.textures[index] = &sheet.getTexture();
                expected.cells[index] = cell;
            };
            const auto spawn = [&](const char* component, float ox, float oy) {
                expected.spawns.push_back({component, entity++, {x * 90.f + ox, y * 90.f + oy, 0.f}});
            };
            switch (rows[y][x])
            {
                case 'F':
                case 'G':
                {
                    sf::IntRect cell = grass.getRect(1, 1);
                    if (std::rand() % 100 + 1 > 90)
                    {
                        const int b = std::rand();
                        const int a = std::rand();
                        cell = grass.getRect(a % 2, b % 2);
                    }
                    place(grass, cell);
                    const float ox = replayOffset();
                    const float oy = replayOffset();
                    const bool tree = rows[y][x] == 'F' ? std::rand() % 100 + 1 > 85 : std::rand() % 500 + 1 >= 500;
                    if (tree)
                        spawn("QEL.Game.Tree", ox, oy);
                    break;
                }
                case 'd':
                {
                    const float ox = replayOffset();
                    const float oy = replayOffset();
                    if (std::rand() % 500 + 1 > 499)
                        spawn("QEL.Game.Cactus", ox, oy);
                    place(desert, desert.getRect(0, 0));
                    break;
                }
                case 'b':
                    place(beach, std::rand() % 100 + 1 > 90 ? beach.getRect(0, std::rand() % 2) : beach.getRect(0, 1));
                    break;
                case 's': place(water, water.getRect(0, 4)); break;
                case 'D': place(water, water.getRect(0, 3)); break;
                default: break;
            }
        }
    }
    expected.nextRandom = std::rand();
    return expected;
}

// No border pass touches this map: grass meets only forest, shallow water no deep water,
// beach no shallow water.
const std::vector<std::string> DecorationMap = {
    "GGGGFddddbDF.s", "GGGGFddddbDFFs", "GGGGFddddbDFFs", "GGGGFddddbDFFs", "GGGGFddddbDFFs",
    "GGGGFddddbDFFs", "GGGGFddddbDFFs", "GGGGFddddbDFFs", "GGGGFddddbDFFs", "GGGGFddddbDFFs",
};

/// The first seed whose replay shows every kind of decoration at least once.
unsigned findSeedWithEveryDecoration()
{
    for (unsigned seed = 1; seed < 100000; ++seed)
    {
        const Expectation expected = replay(DecorationMap, seed, 1);
        const auto has = [&](const std::function<bool(std::size_t)>& test) {
            for (std::size_t i = 0; i < expected.cells.size(); ++i)
            {
                if (test(i))
                    return true;
            }
            return false;
        };
        bool cactus = false, grassTree = false, forestTree = false;
        for (const Spawn& spawn : expected.spawns)
        {
            const unsigned column = static_cast<unsigned>((spawn.position.x + 45.f) / 90.f);
            cactus |= spawn.component == "QEL.Game.Cactus";
            grassTree |= spawn.component == "QEL.Game.Tree" && DecorationMap[0][column] == 'G';
            forestTree |= spawn.component == "QEL.Game.Tree" && DecorationMap[0][column] == 'F';
        }
        const Plym::Spritesheet& grass = Chunk::getSheet("grass.png");
        const Plym::Spritesheet& beach = Chunk::getSheet("beach.png");
        const bool grassVariant = has([&](std::size_t i) {
            return expected.textures[i] == &grass.getTexture() && expected.cells[i] != grass.getRect(1, 1);
        });
        const bool beachVariant = has([&](std::size_t i) {
            return expected.textures[i] == &beach.getTexture() && expected.cells[i] != beach.getRect(0, 1);
        });
        if (cactus && grassTree && forestTree && grassVariant && beachVariant)
            return seed;
    }
    return 0;
}

class GenerationTest : public WorldFixture
{
};

TEST_F(GenerationTest, TilesAndObjectsFollowTheAgreedOrderOfRandomDraws)
{
    Chunk& chunk = addChunk();
    const unsigned seed = findSeedWithEveryDecoration();
    ASSERT_NE(seed, 0u);
    const Expectation expected = replay(DecorationMap, seed, mSystem.getNextEntityId());

    std::srand(seed);
    chunk.load(writeMap(DecorationMap));
    EXPECT_EQ(std::rand(), expected.nextRandom) << "the build drew a different number of values";

    EXPECT_EQ(mSpawns, expected.spawns);
    for (std::size_t i = 0; i < expected.cells.size(); ++i)
    {
        EXPECT_EQ(chunk.getTiles()[i].getTexture(), expected.textures[i]) << "tile " << i;
        EXPECT_EQ(chunk.getTiles()[i].getTextureRect(), expected.cells[i]) << "tile " << i;
    }
}

TEST_F(GenerationTest, ObjectsStandWithin45UnitsOfTheirTileCorner)
{
    std::srand(7);
    loadMap(DecorationMap);
    ASSERT_FALSE(mSpawns.empty());
    for (const Spawn& spawn : mSpawns)
    {
        const float x = spawn.position.x + 45.f;
        const float y = spawn.position.y + 45.f;
        const unsigned column = static_cast<unsigned>(x / 90.f);
        const unsigned row = static_cast<unsigned>(y / 90.f);
        const char biome = DecorationMap[row][column];
        EXPECT_TRUE(spawn.component == "QEL.Game.Cactus" ? biome == 'd' : biome == 'F' || biome == 'G')
            << spawn.component << " at " << spawn.position.x << ", " << spawn.position.y;
        EXPECT_EQ(spawn.position.z, 0.f);
    }
}

// Every client builds the world from the generator's default state (load runs before the
// clock seeds it), which is the state srand(1) gives.
TEST_F(GenerationTest, EveryClientBuildsTheSameRealWorld)
{
    std::srand(1);
    Chunk& chunk = addChunk();
    chunk.load("Example Chunk.png");
    ASSERT_EQ(chunk.getWidth(), 256u);
    ASSERT_EQ(chunk.getHeight(), 256u);

    std::vector<Spawn> otherSpawns;
    Tessaly::EntitySystem other(false);
    registerWorld(other, otherSpawns);
    auto* otherChunk = static_cast<Chunk*>(other.createComponent("QEL.Game.Chunk"));
    other.addComponent(other.createEntity(), otherChunk);
    std::srand(1);
    otherChunk->load("Example Chunk.png");

    EXPECT_GT(mSpawns.size(), 100u);
    EXPECT_EQ(mSpawns, otherSpawns);
    for (std::size_t i = 0; i < chunk.getTiles().size(); ++i)
    {
        ASSERT_EQ(chunk.getTiles()[i].getTextureRect(), otherChunk->getTiles()[i].getTextureRect()) << "tile " << i;
        ASSERT_EQ(chunk.getTiles()[i].getTexture(), otherChunk->getTiles()[i].getTexture()) << "tile " << i;
    }
}

// The player starts on the centre tile: nothing may grow on or right next to it.
TEST_F(GenerationTest, NothingIsSpawnedNearTheCentreOfTheRealWorld)
{
    std::srand(1);
    addChunk().load("Example Chunk.png");
    for (const Spawn& spawn : mSpawns)
    {
        const int column = static_cast<int>((spawn.position.x + 45.f) / 90.f);
        const int row = static_cast<int>((spawn.position.y + 45.f) / 90.f);
        EXPECT_FALSE(std::abs(column - 128) <= 2 && std::abs(row - 128) <= 2)
            << spawn.component << " on tile " << column << ", " << row;
    }
}

} // namespace
} // namespace WorldTest
