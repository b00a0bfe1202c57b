#include "tests/world/WorldFixture.hpp"

#include "app/Catalogue.hpp"
#include "app/SharedPictures.hpp"
#include "app/SharedSounds.hpp"
#include "plym/game/Engine.hpp"

#include <cmath>
#include <cstdlib>
#include <set>
#include <tuple>

namespace WorldTest
{
namespace
{

using Colour = std::tuple<sf::Uint8, sf::Uint8, sf::Uint8>;

/// Every colour of the terrain sheets.
std::set<Colour> terrainColours()
{
    std::set<Colour> colours;
    for (const char* file : {"grass.png", "desert.png", "beach.png", "water.png", "grasswater.png",
                             "grasswatersh.png", "grassdesert.png", "grassbeach.png", "beachwater.png"})
    {
        sf::Image sheet;
        EXPECT_TRUE(sheet.loadFromFile(file));
        for (unsigned x = 0; x < sheet.getSize().x; ++x)
        {
            for (unsigned y = 0; y < sheet.getSize().y; ++y)
            {
                const sf::Color c = sheet.getPixel(x, y);
                colours.insert({c.r, c.g, c.b});
            }
        }
    }
    return colours;
}

std::string screenshotPath()
{
    const char* build = std::getenv("QUELMOOR_BUILD_DIR");
    return build ? std::string(build) + "/data/world_screenshot.png" : "world_screenshot.png";
}

/// The game's start-up in small: the engine with the game's real component catalogue, the
/// world from the real map (real trees and cacti), the local player in the centre; frames
/// drawn as the main loop draws them, at 800 x 600 with the world at half scale.
class WorldScreenshotTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mEngine = std::make_unique<Plym::Engine>(mSystem, Plym::Engine::Everything);
        mEngine->addHook("Components", "QEL Components").call(QEL::registerComponents);
        char program[] = "test_world";
        char* arguments[] = {program, nullptr};
        mEngine->initialize(1, arguments);
        QEL::loadSharedPictures();
        QEL::loadSharedSounds();
        ASSERT_TRUE(mScreen.create(800, 600));

        // The core component installs the input binds the player reads.
        mSystem.addComponent(mSystem.createEntity(), mSystem.createComponent("QEL.Core"));
        std::srand(1);
        auto* chunk = static_cast<QEL::Chunk*>(mSystem.createComponent("QEL.Game.Chunk"));
        mSystem.addComponent(mSystem.createEntity(), chunk);
        chunk->load("Example Chunk.png");
        const Tessaly::EntityId player = mSystem.instantiate("QEL.Man");
        mPlayer = static_cast<QEL::Man*>(mSystem.getAllComponentsOnEntity(player, "QEL.Game.Man").at(0));
    }

    void TearDown() override { mEngine.reset(); }

    sf::Image drawFrame(bool withUi)
    {
        const Plym::Math::Vector3 player = mPlayer->getPosition();
        sf::View world(sf::Vector2f(player.x, player.y - 135.f), sf::Vector2f(1600.f, 1200.f));
        mScreen.clear(sf::Color::Black);
        mScreen.setView(world);
        send("QEL.Game.Draw", QEL::DrawEvent{&mScreen, visibleRectangle(world), 0.f});
        if (withUi)
        {
            mScreen.setView(mScreen.getDefaultView());
            send("QEL.Game.DrawUi", QEL::DrawEvent{&mScreen, visibleRectangle(mScreen.getView()), 0.f});
        }
        mScreen.display();
        return mScreen.getTexture().copyToImage();
    }

    void send(const std::string& name, const boost::any& payload)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, payload);
        mSystem.sendGlobalMessage(mSystem.getMessageRequestId(Tessaly::MessageRequest, name), message);
    }

    static sf::FloatRect visibleRectangle(const sf::View& view)
    {
        return sf::FloatRect(view.getCenter() - view.getSize() / 2.f, view.getSize());
    }

    Tessaly::EntitySystem mSystem{false};
    std::unique_ptr<Plym::Engine> mEngine;
    sf::RenderTexture mScreen;
    QEL::Man* mPlayer = nullptr;
};

TEST_F(WorldScreenshotTest, TheWorldAroundTheCentreWithItsMinimap)
{
    const sf::Image world = drawFrame(false);
    const sf::Image screen = drawFrame(true);
    ASSERT_TRUE(screen.saveToFile(screenshotPath()));

    // Terrain: a large part of the screen shows texels of the tile sheets (trees and the
    // player cover the rest), in more than a few colours.
    const std::set<Colour> terrain = terrainColours();
    std::set<Colour> seen;
    int terrainPixels = 0;
    for (unsigned x = 0; x < 800; x += 4)
    {
        for (unsigned y = 0; y < 600; y += 4)
        {
            const sf::Color c = world.getPixel(x, y);
            seen.insert({c.r, c.g, c.b});
            terrainPixels += terrain.count({c.r, c.g, c.b}) != 0;
        }
    }
    EXPECT_GT(seen.size(), 20u) << "the picture is nearly uniform";
    EXPECT_GT(terrainPixels, 200 * 150 * 4 / 10) << "too few terrain pixels";

    // The minimap: a disc in the top-right corner, masked outside.
    const sf::Vector2f centre(800.f - 12.f - 87.5f, 12.f + 87.5f);
    int insideChanged = 0, inside = 0, outsideChanged = 0, outside = 0;
    for (unsigned x = 800 - 12 - 175; x < 800 - 12; ++x)
    {
        for (unsigned y = 12; y < 12 + 175; ++y)
        {
            const float dx = x + 0.5f - centre.x;
            const float dy = y + 0.5f - centre.y;
            const float distance = std::sqrt(dx * dx + dy * dy);
            const bool changed = screen.getPixel(x, y) != world.getPixel(x, y);
            if (distance < 70.f)
                ++inside, insideChanged += changed;
            else if (distance > 90.f)
                ++outside, outsideChanged += changed;
        }
    }
    EXPECT_GT(insideChanged, inside * 9 / 10) << "the disc does not cover its inside";
    EXPECT_LT(outsideChanged, outside / 20) << "the disc is not masked to a circle";
    for (unsigned x = 0; x < 800 - 12 - 175; x += 7)
    {
        for (unsigned y = 0; y < 600; y += 7)
            ASSERT_EQ(screen.getPixel(x, y), world.getPixel(x, y)) << "the heads-up pass drew at " << x << ", " << y;
    }
}

} // namespace
} // namespace WorldTest
