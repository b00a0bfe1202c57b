#include "tests/world/WorldFixture.hpp"

#include "world/Minimap.hpp"

namespace WorldTest
{
namespace
{

using QEL::Chunk;
using Plym::Math::Vector3;

const sf::Color Background(255, 0, 255);

// The minimap's top-left corner on an 800 pixel wide screen, and a point inside its disc
// that the centred arrow does not cover.
const sf::Vector2u Corner(800 - 175 - 12, 12);
const sf::Vector2u Probe(40, 70);

class MinimapTest : public WorldFixture
{
protected:
    void SetUp() override { ASSERT_TRUE(mScreen.create(800, 600)); }

    /// A map of no biome whose pixels all differ: red and green count the tile, blue tells maps apart.
    std::string writeGradient(sf::Uint8 blue, const std::string& name)
    {
        sf::Image image;
        image.create(200, 200);
        for (unsigned x = 0; x < 200; ++x)
        {
            for (unsigned y = 0; y < 200; ++y)
                image.setPixel(x, y, sf::Color(static_cast<sf::Uint8>(x), static_cast<sf::Uint8>(y), blue));
        }
        const std::string path = (mFolder / name).string();
        EXPECT_TRUE(image.saveToFile(path));
        return path;
    }

    /// The map colour the probe point shows when the window starts at `origin`: the map is
    /// scaled by 1.75 and sampled at the pixel's centre.
    static sf::Color expectedAtProbe(const sf::Vector2i& origin, sf::Uint8 blue)
    {
        const int x = origin.x + static_cast<int>((Probe.x + 0.5f) / 1.75f);
        const int y = origin.y + static_cast<int>((Probe.y + 0.5f) / 1.75f);
        return sf::Color(static_cast<sf::Uint8>(x), static_cast<sf::Uint8>(y), blue);
    }

    /// One heads-up pass on a cleared screen; the picture afterwards.
    sf::Image drawUi()
    {
        mScreen.clear(Background);
        sendGlobal("QEL.Game.DrawUi", QEL::DrawEvent{&mScreen, sf::FloatRect(0.f, 0.f, 800.f, 600.f), 0.f});
        mScreen.display();
        return mScreen.getTexture().copyToImage();
    }

    sf::Color drawAndProbe() { return drawUi().getPixel(Corner.x + Probe.x, Corner.y + Probe.y); }

    /// A world position whose window starts at tile `origin`.
    static Vector3 standingFor(const sf::Vector2i& origin)
    {
        return Vector3((origin.x + 50) * 90.f + 30.f, (origin.y + 50) * 90.f + 30.f, 0.f);
    }

    sf::RenderTexture mScreen;
};

TEST_F(MinimapTest, WindowOriginIsTheTruncatedTileFiftyTilesUpAndLeft)
{
    EXPECT_EQ(QEL::Minimap::getOrigin(Vector3(11520.f, 11520.f, 0.f)), sf::Vector2i(78, 78));
    EXPECT_EQ(QEL::Minimap::getOrigin(Vector3(4589.f, 4500.f, 0.f)), sf::Vector2i(0, 0));
    // Truncation toward zero: -0.5 tiles is tile 0, not -1.
    EXPECT_EQ(QEL::Minimap::getOrigin(Vector3(4455.f, 4410.f, 0.f)), sf::Vector2i(0, -1));
    EXPECT_EQ(QEL::Minimap::getOrigin(Vector3(0.f, 0.f, 0.f)), sf::Vector2i(-50, -50));
}

TEST_F(MinimapTest, RedrawsOnlyWhenTheWindowOriginChanges)
{
    Chunk& chunk = addChunk();
    chunk.load(writeGradient(200, "first.png"));
    QEL::Man& player = addPlayer(standingFor({0, 0}));

    // The window starts at the initial origin (0, 0): nothing is drawn into the picture,
    // which is still as created, transparent over the screen.
    EXPECT_EQ(drawAndProbe(), Background);

    player.getPhysical()->setPosition(standingFor({3, 5}));
    EXPECT_EQ(drawAndProbe(), expectedAtProbe({3, 5}, 200));

    // A new map appears only once the window moves.
    chunk.load(writeGradient(100, "second.png"));
    player.getPhysical()->setPosition(standingFor({3, 5}) + Vector3(50.f, 50.f, 0.f));
    EXPECT_EQ(drawAndProbe(), expectedAtProbe({3, 5}, 200));
    player.getPhysical()->setPosition(standingFor({4, 5}));
    EXPECT_EQ(drawAndProbe(), expectedAtProbe({4, 5}, 100));
}

TEST_F(MinimapTest, IsARoundPictureInTheTopRightCorner)
{
    addChunk().load(writeGradient(150, "map.png"));
    addPlayer(standingFor({20, 30}));
    const sf::Image screen = drawUi();

    EXPECT_EQ(screen.getPixel(Corner.x + Probe.x, Corner.y + Probe.y), expectedAtProbe({20, 30}, 150));
    // The square's corners lie outside the disc and show the screen behind.
    EXPECT_EQ(screen.getPixel(Corner.x + 3, Corner.y + 3), Background);
    EXPECT_EQ(screen.getPixel(Corner.x + 171, Corner.y + 171), Background);
    EXPECT_EQ(screen.getPixel(Corner.x - 5, Corner.y + 87), Background);
    EXPECT_EQ(screen.getPixel(Corner.x + 87, Corner.y + 180), Background);
}

TEST_F(MinimapTest, ArrowFollowsTheDirectionOfMovement)
{
    addChunk().load(writeGradient(50, "map.png"));
    QEL::Man& player = addPlayer(standingFor({10, 10}));
    const sf::Image standing = drawUi();

    player.getPhysical()->setSpeed(Vector3(300.f, 0.f, 0.f));
    const sf::Image right = drawUi();
    player.getPhysical()->setSpeed(Vector3(0.f, 300.f, 0.f));
    const sf::Image down = drawUi();

    const auto differences = [](const sf::Image& a, const sf::Image& b) {
        int count = 0;
        for (unsigned x = Corner.x; x < Corner.x + 175; ++x)
        {
            for (unsigned y = Corner.y; y < Corner.y + 175; ++y)
                count += a.getPixel(x, y) != b.getPixel(x, y);
        }
        return count;
    };
    EXPECT_EQ(differences(standing, right), 0) << "standing still points along +x";
    EXPECT_GT(differences(right, down), 20) << "moving down turns the arrow";
}

TEST_F(MinimapTest, NothingIsDrawnWithoutAPlayer)
{
    addChunk().load(writeGradient(10, "map.png"));
    const sf::Image screen = drawUi();
    EXPECT_EQ(screen.getPixel(Corner.x + Probe.x, Corner.y + Probe.y), Background);
}

TEST_F(MinimapTest, ADestroyedPlayerIsForgotten)
{
    addChunk().load(writeGradient(20, "map.png"));
    QEL::Man& player = addPlayer(standingFor({7, 7}));
    EXPECT_EQ(drawAndProbe(), expectedAtProbe({7, 7}, 20));
    mSystem.destroyEntity(player.getOwner());
    EXPECT_EQ(drawAndProbe(), Background);
}

} // namespace
} // namespace WorldTest
