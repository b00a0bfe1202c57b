#include "actors/Cactus.hpp"
#include "actors/Man.hpp"
#include "actors/RoadManager.hpp"
#include "actors/Tree.hpp"
#include "app/GameEvents.hpp"
#include "app/Startup.hpp"
#include "app/ViewRules.hpp"
#include "app/WorldPainter.hpp"
#include "ecs/EntitySystem.hpp"
#include "physics/Physical.hpp"
#include "world/Biome.hpp"
#include "world/Chunk.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Window/Event.hpp>

#include <gtest/gtest.h>

#include <boost/any.hpp>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace
{

using Plym::Math::Vector3;

constexpr unsigned Width = 800;
constexpr unsigned Height = 600;

/// The whole game as start-up builds it (real assets, run in the data directory), shared by
/// the suite, and two screens: one painted by a painter, one drawn plainly, every drawing
/// drawing itself. Whatever the painter caches, the two must show the same picture.
class WorldPainterTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        char program[] = "quelmoor";
        char* argv[] = {program, nullptr};
        sGame = new QEL::Startup(1, argv);
    }

    static void TearDownTestSuite()
    {
        delete sGame;
        sGame = nullptr;
    }

    WorldPainterTest() : mPainter([this](const QEL::DrawEvent& event) { send("QEL.Game.Draw", event); })
    {
        mPainted.create(Width, Height);
        mPlain.create(Width, Height);
    }

    Tessaly::EntitySystem& system() { return sGame->getSystem(); }

    void send(const std::string& name, const boost::any& payload)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, payload);
        system().sendGlobalMessage(system().getMessageRequestId(Tessaly::MessageRequest, name), message);
    }

    void sendTo(Tessaly::EntityId entity, const std::string& name, const boost::any& payload)
    {
        Tessaly::Message message(Tessaly::Custom, nullptr, payload);
        system().sendLocalMessage(entity, system().getMessageRequestId(Tessaly::MessageRequest, name), message);
    }

    template <class T>
    std::vector<T*> all(const std::string& name)
    {
        std::vector<T*> found;
        for (Tessaly::EntityId entity = 1; entity < system().getNextEntityId(); ++entity)
        {
            if (!system().hasEntity(entity))
                continue;
            for (Tessaly::Component* component : system().getAllComponentsOnEntity(entity, name))
                found.push_back(static_cast<T*>(component));
        }
        return found;
    }

    static sf::Vector2f treeFoot(const QEL::Tree& tree)
    {
        const sf::FloatRect& bounds = tree.getBounds();
        return sf::Vector2f(bounds.left + 180.f, bounds.top + 540.f);
    }

    /// The tree with the most other trees within a screen of it.
    QEL::Tree& densestTree()
    {
        const std::vector<QEL::Tree*> trees = all<QEL::Tree>("QEL.Game.Tree");
        QEL::Tree* best = trees.front();
        int most = -1;
        for (QEL::Tree* tree : trees)
        {
            int near = 0;
            for (QEL::Tree* other : trees)
            {
                const sf::Vector2f offset = treeFoot(*other) - treeFoot(*tree);
                near += std::abs(offset.x) < 800.f && std::abs(offset.y) < 600.f;
            }
            if (near > most)
            {
                most = near;
                best = tree;
            }
        }
        return *best;
    }

    /// The local player just behind the tree, a snake just in front.
    void gatherAround(const sf::Vector2f& foot)
    {
        all<QEL::Man>("QEL.Game.Man").front()->getPhysical()->setPosition(Vector3(foot.x + 30.f, foot.y - 40.f, 0.f));
        placeBody(all<Tessaly::Component>("QEL.Game.Snake").front()->getOwner(), foot + sf::Vector2f(60.f, 20.f));
    }

    void placeBody(Tessaly::EntityId entity, const sf::Vector2f& position)
    {
        auto* body = static_cast<QEL::Physical*>(system().getAllComponentsOnEntity(entity, "QEL.Physical").front());
        body->setPosition(Vector3(position.x, position.y, 0.f));
    }

    /// The middle of a grass tile with no tree or cactus within a screen of it.
    sf::Vector2f openGrass()
    {
        const QEL::Chunk& chunk = *QEL::Chunk::getCurrent();
        const std::vector<QEL::Tree*> trees = all<QEL::Tree>("QEL.Game.Tree");
        const std::vector<QEL::Cactus*> cacti = all<QEL::Cactus>("QEL.Game.Cactus");
        for (unsigned y = 10; y + 10 < chunk.getHeight(); y += 3)
        {
            for (unsigned x = 10; x + 10 < chunk.getWidth(); x += 3)
            {
                const sf::Vector2f centre((x + 0.5f) * QEL::World::TileSize, (y + 0.5f) * QEL::World::TileSize);
                const sf::FloatRect screen(centre - sf::Vector2f(1000.f, 900.f), sf::Vector2f(2000.f, 1800.f));
                const auto near = [&](const auto* thing) { return thing->getBounds().intersects(screen); };
                if (chunk.getBiomeAt(x, y) == QEL::Grass && std::none_of(trees.begin(), trees.end(), near)
                    && std::none_of(cacti.begin(), cacti.end(), near))
                    return centre;
            }
        }
        ADD_FAILURE() << "no open grass on the map";
        return sf::Vector2f();
    }

    /// The game's camera over a point, on whole pixels as the game keeps it.
    static sf::View viewAt(const sf::Vector2f& centre)
    {
        const sf::Vector2f size(2.f * Width, 2.f * Height);
        return sf::View(QEL::ViewRules::snapToPixels(centre, size, sf::Vector2u(Width, Height)), size);
    }

    /// Paints one frame with the painter, draws it plainly, and counts the pixels that differ.
    unsigned differingPixels(const sf::View& view)
    {
        mPainter.paint(mPainted, view, 0.f);
        mPainted.display();
        mPlain.setView(view);
        send("QEL.Game.Draw", QEL::DrawEvent{&mPlain, QEL::ViewRules::visibleRect(view), 0.f, nullptr});
        mPlain.display();

        const sf::Image painted = mPainted.getTexture().copyToImage();
        const sf::Image plain = mPlain.getTexture().copyToImage();
        const sf::Uint8* a = painted.getPixelsPtr();
        const sf::Uint8* b = plain.getPixelsPtr();
        unsigned differing = 0;
        for (unsigned pixel = 0; pixel < Width * Height; ++pixel)
            differing += std::memcmp(a + 4 * pixel, b + 4 * pixel, 4) != 0;
        return differing;
    }

    /// What the window shows, read back before it is displayed.
    static sf::Image capture(sf::RenderWindow& window)
    {
        sf::Texture texture;
        texture.create(Width, Height);
        texture.update(window);
        return texture.copyToImage();
    }

    static QEL::Startup* sGame;
    QEL::WorldPainter mPainter;
    sf::RenderTexture mPainted;
    sf::RenderTexture mPlain;
};

QEL::Startup* WorldPainterTest::sGame = nullptr;

TEST_F(WorldPainterTest, ShowsWhatEveryDrawingDrawsItselfWithAManBehindATreeAndASnake)
{
    const sf::Vector2f foot = treeFoot(densestTree());
    gatherAround(foot);
    const sf::View view = viewAt(foot);

    EXPECT_EQ(differingPixels(view), 0u);
    EXPECT_GT(mPainter.getCellsPainted(), 0u);
    EXPECT_GT(mPainter.getPatchCount(), 0u);

    // Again from the cells alone: nothing in view is painted a second time.
    EXPECT_EQ(differingPixels(view), 0u);
    EXPECT_LE(mPainter.getCellsPainted(), QEL::WorldPainter::SparePaintsPerFrame);
}

TEST_F(WorldPainterTest, PaintsAWindowAsItPaintsATexture)
{
    const sf::Vector2f foot = treeFoot(densestTree());
    gatherAround(foot);
    const sf::View view = viewAt(foot);
    sf::RenderWindow window(sf::VideoMode(Width, Height), "Quelmoor painter test", sf::Style::Titlebar);

    mPainter.paint(window, view, 0.f);
    const sf::Image painted = capture(window);
    window.setView(view);
    send("QEL.Game.Draw", QEL::DrawEvent{&window, QEL::ViewRules::visibleRect(view), 0.f, nullptr});
    const sf::Image plain = capture(window);
    EXPECT_EQ(std::memcmp(painted.getPixelsPtr(), plain.getPixelsPtr(), Width * Height * 4), 0);
}

TEST_F(WorldPainterTest, CellsFollowTheCamera)
{
    const sf::Vector2f foot = treeFoot(densestTree());
    gatherAround(foot);
    for (int frame = 0; frame < 60; ++frame)
    {
        const float step = 23.f * static_cast<float>(frame);
        ASSERT_EQ(differingPixels(viewAt(foot + sf::Vector2f(step, step / 2.f))), 0u) << "frame " << frame;
    }
}

TEST_F(WorldPainterTest, ChangedLooksShowAtOnce)
{
    QEL::Tree& tree = densestTree();
    const sf::Vector2f foot = treeFoot(tree);
    gatherAround(foot);
    const sf::View view = viewAt(foot);
    ASSERT_EQ(differingPixels(view), 0u);

    sendTo(tree.getOwner(), "#branch", 0);
    EXPECT_EQ(differingPixels(view), 0u) << "stripped";

    // Felled: a stump, and a trunk falling over the cells.
    sendTo(tree.getOwner(), "#REKT", 0);
    EXPECT_EQ(differingPixels(view), 0u) << "felled";

}

TEST_F(WorldPainterTest, APickedCactusShowsAtOnce)
{
    QEL::Cactus& cactus = *all<QEL::Cactus>("QEL.Game.Cactus").front();
    const sf::FloatRect& bounds = cactus.getBounds();
    const sf::View view = viewAt(sf::Vector2f(bounds.left, bounds.top));
    ASSERT_EQ(differingPixels(view), 0u);

    sendTo(cactus.getOwner(), "Rosebud", 0);
    ASSERT_TRUE(cactus.isPicked());
    EXPECT_EQ(differingPixels(view), 0u);
}

TEST_F(WorldPainterTest, AVisitorsNameTheBuildCursorAndNewRoadsShow)
{
    const sf::Vector2f open = openGrass();
    const sf::View view = viewAt(open);
    const Tessaly::EntityId visitor = system().instantiate("QEL.Man");
    sendTo(visitor, "Man.SetName", std::make_tuple(2u, sf::String("Visitor")));
    placeBody(visitor, open + sf::Vector2f(200.f, 100.f));
    EXPECT_EQ(differingPixels(view), 0u) << "the visitor";

    sf::Event key{};
    key.type = sf::Event::KeyPressed;
    key.key.code = sf::Keyboard::R;
    send("QEL.Game.Event", key);
    EXPECT_EQ(differingPixels(view), 0u) << "the cursor";

    send("QEL.Game.Click", QEL::ClickEvent{open, false});
    send("QEL.Game.Update", 0.f);
    const auto* roads = all<QEL::RoadManager>("QEL.Game.RoadManager").front();
    ASSERT_EQ(roads->getRoads().size(), 1u);
    EXPECT_EQ(differingPixels(view), 0u) << "the road";
}

TEST_F(WorldPainterTest, TheSurfCatchesUpWithinAFewFrames)
{
    const std::vector<sf::Sprite*>& surf = QEL::Chunk::getCurrent()->getAnimatedTiles();
    ASSERT_FALSE(surf.empty());
    const sf::FloatRect tile = surf[surf.size() / 2]->getGlobalBounds();
    const sf::View view = viewAt(sf::Vector2f(tile.left, tile.top));
    ASSERT_EQ(differingPixels(view), 0u);

    send("QEL.Game.Update", 1.5f);
    int frames = 1;
    while (differingPixels(view) != 0u && frames < 30)
        ++frames;
    EXPECT_LT(frames, 30);
}

} // namespace
