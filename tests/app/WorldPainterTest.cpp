#include "actors/Cactus.hpp"
#include "actors/Man.hpp"
#include "actors/RoadManager.hpp"
#include "actors/Tree.hpp"
#include "app/GameEvents.hpp"
#include "app/Painting.hpp"
#include "app/Startup.hpp"
#include "app/ViewRules.hpp"
#include "app/WorldPainter.hpp"
#include "ecs/EntitySystem.hpp"
#include "physics/Physical.hpp"
#include "world/Biome.hpp"
#include "world/Chunk.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Window/Event.hpp>

#include <gtest/gtest.h>

#include <boost/any.hpp>

#include <algorithm>
#include <iterator>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace
{

using Plym::Math::Vector3;

/// A window size with the game view the resize rules give it, from the game's first view.
struct Screen
{
    sf::Vector2u pixels;

    sf::View viewAt(const sf::Vector2f& focus) const
    {
        sf::View view(sf::Vector2f(), sf::Vector2f(1600.f, 1200.f));
        QEL::ViewRules::fitToWindow(view, pixels);
        const sf::Vector2f centre = QEL::ViewRules::clampCamera(focus, view.getSize(), QEL::World::Size);
        view.setCenter(QEL::ViewRules::snapToPixels(centre, view.getSize(), pixels, QEL::World::Size));
        return view;
    }
};

const Screen Default{{800, 600}};

/// A component that knows nothing of the painter: it draws a square wherever it is told.
class PlainSquare : public Tessaly::Component
{
public:
    PlainSquare() : Component("Test.PlainSquare") {}

    void addedToEntity() override
    {
        requestMessage("QEL.Game.Draw", [this](Tessaly::Message& message) {
            const auto& event = boost::any_cast<const QEL::DrawEvent&>(message.payload);
            ++mDraws;
            mSeen = event.second;
            sf::RectangleShape square(sf::Vector2f(70.f, 70.f));
            square.setPosition(mPosition);
            square.setFillColor(sf::Color(200, 30, 90, 160));
            event.first->draw(square);
        });
        changeRequestPriority(getMessageRequestId("QEL.Game.Draw"), 1000000);
    }

    sf::Vector2f mPosition;
    int mDraws = 0;
    sf::FloatRect mSeen;
};

/// A still drawing with a look of its own: a square of one colour.
class PaintedSquare : public Tessaly::Component, public QEL::Painting
{
public:
    PaintedSquare() : Component("Test.PaintedSquare") {}

    void addedToEntity() override
    {
        requestMessage("QEL.Game.Draw", [this](Tessaly::Message& message) {
            QEL::WorldPainter::draw(*this, boost::any_cast<const QEL::DrawEvent&>(message.payload));
        });
    }

    sf::FloatRect getPaintBounds() const override { return mArea; }
    bool isMoving() const override { return false; }
    std::uint64_t getLook() const override { return mColour.toInteger(); }

    void paint(sf::RenderTarget& target, const sf::FloatRect&) const override
    {
        sf::RectangleShape square(sf::Vector2f(mArea.width, mArea.height));
        square.setPosition(mArea.left, mArea.top);
        square.setFillColor(mColour);
        target.draw(square);
    }

    sf::FloatRect mArea;
    sf::Color mColour = sf::Color::Red;
};

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
        sGame->getSystem().registerComponent("Test.PlainSquare", [] { return new PlainSquare(); });
        sGame->getSystem().registerComponent("Test.PaintedSquare", [] { return new PaintedSquare(); });
    }

    static void TearDownTestSuite()
    {
        delete sGame;
        sGame = nullptr;
    }

    WorldPainterTest() { useScreen(Default); }

    /// A new painter and new screens of that size.
    void useScreen(const Screen& screen)
    {
        mPainter = std::make_unique<QEL::WorldPainter>(system(), drawId(), [this](const QEL::DrawEvent& event) {
            send("QEL.Game.Draw", event);
        });
        mPainted.create(screen.pixels.x, screen.pixels.y);
        mPlain.create(screen.pixels.x, screen.pixels.y);
    }

    Tessaly::EntitySystem& system() { return sGame->getSystem(); }

    Tessaly::RequestId drawId() { return system().getMessageRequestId(Tessaly::MessageRequest, "QEL.Game.Draw"); }

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

    QEL::Man& player() { return *all<QEL::Man>("QEL.Game.Man").front(); }

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

    /// A standing tree other than `other`.
    QEL::Tree* standingTree(const QEL::Tree& other)
    {
        for (QEL::Tree* tree : all<QEL::Tree>("QEL.Game.Tree"))
        {
            if (tree != &other && !tree->isFelled())
                return tree;
        }
        ADD_FAILURE() << "no standing tree";
        return nullptr;
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

    /// The middle of a tile of `biome` with a tile of `other` to its east.
    sf::Vector2f border(int biome, int other)
    {
        const QEL::Chunk& chunk = *QEL::Chunk::getCurrent();
        for (unsigned y = 8; y + 8 < chunk.getHeight(); ++y)
        {
            for (unsigned x = 8; x + 8 < chunk.getWidth(); ++x)
            {
                if (chunk.getBiomeAt(x, y) == biome && chunk.getBiomeAt(x + 1, y) == other)
                    return sf::Vector2f((x + 1.f) * QEL::World::TileSize, (y + 0.5f) * QEL::World::TileSize);
            }
        }
        ADD_FAILURE() << "no such border on the map";
        return sf::Vector2f();
    }

    /// The middle of a surf tile.
    static sf::Vector2f surf()
    {
        const std::vector<sf::Sprite*>& tiles = QEL::Chunk::getCurrent()->getAnimatedTiles();
        const sf::FloatRect tile = tiles[tiles.size() / 2]->getGlobalBounds();
        return sf::Vector2f(tile.left + tile.width / 2.f, tile.top + tile.height / 2.f);
    }

    /// Paints one frame with the painter, draws it plainly, and counts the pixels that differ.
    unsigned differingPixels(const sf::View& view)
    {
        mPainter->paint(mPainted, view, 0.f);
        mPainted.display();
        const sf::Image painted = mPainted.getTexture().copyToImage();
        return countDiffering(painted, drawPlainly(view));
    }

    /// The same once every cell in view has been painted and is copied.
    unsigned differingPixelsFromCells(const sf::View& view)
    {
        const sf::Vector2u size = mPainted.getSize();
        const int side = QEL::WorldPainter::CellPixels;
        const unsigned cells = (size.x / side + 2) * (size.y / side + 2);
        for (unsigned frame = 0; frame <= cells / QEL::WorldPainter::CellsPerFrame + 1; ++frame)
            mPainter->paint(mPainted, view, 0.f);
        return differingPixels(view);
    }

    sf::Image drawPlainly(const sf::View& view)
    {
        mPlain.setView(view);
        send("QEL.Game.Draw", QEL::DrawEvent{&mPlain, QEL::ViewRules::visibleRect(view), 0.f});
        mPlain.display();
        return mPlain.getTexture().copyToImage();
    }

    static unsigned countDiffering(const sf::Image& a, const sf::Image& b)
    {
        const unsigned pixels = a.getSize().x * a.getSize().y;
        unsigned differing = 0;
        for (unsigned pixel = 0; pixel < pixels; ++pixel)
            differing += std::memcmp(a.getPixelsPtr() + 4 * pixel, b.getPixelsPtr() + 4 * pixel, 4) != 0;
        return differing;
    }

    /// What the window shows, read back before it is displayed.
    static sf::Image capture(sf::RenderWindow& window)
    {
        sf::Texture texture;
        texture.create(window.getSize().x, window.getSize().y);
        texture.update(window);
        return texture.copyToImage();
    }

    static QEL::Startup* sGame;
    std::unique_ptr<QEL::WorldPainter> mPainter;
    sf::RenderTexture mPainted;
    sf::RenderTexture mPlain;
};

QEL::Startup* WorldPainterTest::sGame = nullptr;

TEST_F(WorldPainterTest, ShowsWhatEveryDrawingDrawsItselfWithAManBehindATreeAndASnake)
{
    const sf::Vector2f foot = treeFoot(densestTree());
    gatherAround(foot);
    const sf::View view = Default.viewAt(foot);

    // The first frame is a jump: drawn afresh, nothing prepared. Cells come from the second on.
    EXPECT_EQ(differingPixels(view), 0u);
    EXPECT_EQ(mPainter->getBandsPainted(), 0u);
    EXPECT_GT(mPainter->getPatchCount(), 0u);
    EXPECT_EQ(differingPixels(view), 0u);
    EXPECT_GT(mPainter->getBandsPainted(), 0u);

    // Until every cell in view is painted, the rest is drawn afresh; then only the moving drawings are.
    for (int frame = 0; frame < 12; ++frame)
        ASSERT_EQ(differingPixels(view), 0u) << "frame " << frame;
    EXPECT_LE(mPainter->getBandsPainted(), QEL::WorldPainter::RingBandsPerScreen);
}

/// A window size, and whether cells are kept at its scale: where pixel centres come too near
/// texel borders, frames are drawn plainly.
struct SweptScreen
{
    Screen screen;
    bool cached;
};

std::ostream& operator<<(std::ostream& out, const SweptScreen& swept)
{
    return out << swept.screen.pixels.x << " x " << swept.screen.pixels.y;
}

class WorldPainterSweep : public WorldPainterTest, public ::testing::WithParamInterface<SweptScreen>
{
};

// Window sizes the resize rules allow, from a small window to a tall one at more than the
// world's own scale, in 4:3, 16:9, 1:2 and a wide one whose view the diagonal clamp shrinks:
// terrain at biome borders, the forest with a man behind a tree and a snake, a player walking
// with the camera after him, a tree felled and its trunk falling, the surf stepping.
TEST_P(WorldPainterSweep, ShowsTheSameFrameAsAPlainOne)
{
    const Screen& screen = GetParam().screen;
    const sf::Vector2f grass = openGrass();
    const sf::Vector2f borders[] = {border(QEL::Grass, QEL::Desert), border(QEL::Grass, QEL::Beach), border(QEL::ShWater, QEL::DeWater)};
    QEL::Tree& dense = densestTree();
    useScreen(screen);
    unsigned bands = 0;
    for (int frame = 0; frame < 3; ++frame)
    {
        mPainter->paint(mPainted, screen.viewAt(grass), 0.f);
        bands += mPainter->getBandsPainted();
    }
    EXPECT_EQ(bands > 0, GetParam().cached);

    for (const sf::Vector2f& place : borders)
    {
        ASSERT_EQ(differingPixels(screen.viewAt(place)), 0u) << "border, drawn afresh";
        ASSERT_EQ(differingPixelsFromCells(screen.viewAt(place)), 0u) << "border, from the cells";
    }

    const sf::Vector2f foot = treeFoot(dense);
    gatherAround(foot);
    ASSERT_EQ(differingPixels(screen.viewAt(foot)), 0u) << "forest";
    ASSERT_EQ(differingPixels(screen.viewAt(foot)), 0u) << "forest from the cells";

    QEL::Physical& body = *player().getPhysical();
    body.setPosition(Vector3(grass.x, grass.y, 0.f));
    for (int frame = 0; frame < 4; ++frame)
    {
        body.setPosition(body.getPosition() + Vector3(37.f, 11.f, 0.f));
        const Vector3 at = body.getPosition();
        ASSERT_EQ(differingPixels(screen.viewAt(sf::Vector2f(at.x, at.y - 135.f))), 0u) << "walking, frame " << frame;
    }

    QEL::Tree& tree = *standingTree(dense);
    const sf::View treeView = screen.viewAt(treeFoot(tree));
    ASSERT_EQ(differingPixels(treeView), 0u) << "before the fall";
    sendTo(tree.getOwner(), "#REKT", 0);
    for (int frame = 0; frame < 6; ++frame)
    {
        send("QEL.Game.Update", 1.f / 33.f);
        ASSERT_EQ(differingPixels(treeView), 0u) << "falling, frame " << frame;
    }

    const sf::View coast = screen.viewAt(surf());
    ASSERT_EQ(differingPixels(coast), 0u) << "surf";
    send("QEL.Game.Update", 1.5f);
    mPainter->paint(mPainted, coast, 0.f);
    ASSERT_EQ(differingPixels(coast), 0u) << "surf, the frame after its step";
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, WorldPainterSweep,
                         ::testing::Values(SweptScreen{{{200, 150}}, true}, SweptScreen{{{533, 400}}, true},
                                           SweptScreen{{{800, 600}}, true}, SweptScreen{{{903, 677}}, false},
                                           SweptScreen{{{1024, 768}}, false}, SweptScreen{{{1396, 1047}}, false},
                                           SweptScreen{{{1600, 1200}}, true}, SweptScreen{{{2000, 1500}}, true},
                                           SweptScreen{{{427, 240}}, true}, SweptScreen{{{1280, 720}}, true},
                                           SweptScreen{{{1920, 1080}}, true}, SweptScreen{{{300, 600}}, true},
                                           SweptScreen{{{600, 1200}}, true}, SweptScreen{{{1000, 250}}, false}));

TEST_F(WorldPainterTest, PaintsAWindowAsItPaintsATexture)
{
    const sf::Vector2f foot = treeFoot(densestTree());
    gatherAround(foot);
    const sf::View view = Default.viewAt(foot);
    sf::RenderWindow window(sf::VideoMode(Default.pixels.x, Default.pixels.y), "Quelmoor painter test", sf::Style::Titlebar);
    useScreen(Default);

    mPainter->paint(window, view, 0.f);
    const sf::Image painted = capture(window);
    window.setView(view);
    send("QEL.Game.Draw", QEL::DrawEvent{&window, QEL::ViewRules::visibleRect(view), 0.f});
    EXPECT_EQ(countDiffering(painted, capture(window)), 0u);
}

TEST_F(WorldPainterTest, CellsFollowTheCamera)
{
    const sf::Vector2f foot = treeFoot(densestTree());
    gatherAround(foot);
    for (int frame = 0; frame < 40; ++frame)
    {
        const float step = 23.f * static_cast<float>(frame);
        ASSERT_EQ(differingPixels(Default.viewAt(foot + sf::Vector2f(step, step / 2.f))), 0u) << "frame " << frame;
    }
}

// A camera gliding a pixel a frame keeps the cells it has: where its edge falls within a pixel
// comes out of float arithmetic a rounding apart from frame to frame, far out on the map too.
TEST_F(WorldPainterTest, CellsStayWhileTheCameraGlides)
{
    const sf::Vector2f grass = openGrass();
    player().getPhysical()->setPosition(Vector3(grass.x + 4000.f, grass.y + 4000.f, 0.f));
    for (const Screen& screen : {Screen{{800, 600}}, Screen{{1280, 720}}})
    {
        useScreen(screen);
        const sf::View start = screen.viewAt(grass);
        ASSERT_EQ(differingPixelsFromCells(start), 0u);
        const float pixel = start.getSize().y / static_cast<float>(screen.pixels.y);
        for (int frame = 1; frame <= 30; ++frame)
        {
            mPainter->paint(mPainted, screen.viewAt(grass + sf::Vector2f(pixel, pixel) * static_cast<float>(frame)), 0.f);
            ASSERT_EQ(mPainter->getPatchCount(), 0u) << screen.pixels.y << " pixels high, frame " << frame;
        }
    }
}

// The ring around the view is painted a few bands a frame: a look that changes while a cell is
// half painted must not leave the old look in its first bands.
TEST_F(WorldPainterTest, ACellPaintedOverSeveralFramesShowsTheLookItEndsWith)
{
    const sf::View view = Default.viewAt(openGrass());
    const sf::FloatRect visible = QEL::ViewRules::visibleRect(view);
    const Tessaly::EntityId entity = system().createEntity();
    auto* square = static_cast<PaintedSquare*>(system().createComponent("Test.PaintedSquare"));
    square->mArea = sf::FloatRect(visible.left - 700.f, visible.top - 700.f, visible.width + 1400.f, 700.f);
    system().addComponent(entity, square);

    mPainter->paint(mPainted, view, 0.f);
    mPainter->paint(mPainted, view, 0.f);
    ASSERT_GT(mPainter->getBandsPainted(), 0u);
    square->mColour = sf::Color::Blue;
    for (int frame = 0; frame < 12; ++frame)
        ASSERT_EQ(differingPixels(view), 0u) << "frame " << frame;

    sf::View above = view;
    above.move(-700.f, -700.f);
    for (int frame = 0; frame < 12; ++frame)
        ASSERT_EQ(differingPixels(above), 0u) << "above, frame " << frame;
    system().destroyEntity(entity);
}

TEST_F(WorldPainterTest, ChangedLooksShowAtOnce)
{
    QEL::Tree& tree = densestTree();
    const sf::Vector2f foot = treeFoot(tree);
    gatherAround(foot);
    const sf::View view = Default.viewAt(foot);
    for (int frame = 0; frame < 12; ++frame)
        ASSERT_EQ(differingPixels(view), 0u);

    sendTo(tree.getOwner(), "#branch", 0);
    EXPECT_EQ(differingPixels(view), 0u) << "stripped";

    // Chopped a little, then left: the ring and the notched trunk stay.
    send("QEL.Game.Click", QEL::ClickEvent{foot + sf::Vector2f(0.f, -100.f), false});
    const std::vector<QEL::Tree*> trees = all<QEL::Tree>("QEL.Game.Tree");
    const auto chopped = std::find_if(trees.begin(), trees.end(), [](const QEL::Tree* candidate) { return candidate->isChopping(); });
    ASSERT_NE(chopped, trees.end());
    const sf::Vector2f choppedFoot = treeFoot(**chopped);
    player().getPhysical()->setPosition(Vector3(choppedFoot.x + 30.f, choppedFoot.y - 40.f, 0.f));
    EXPECT_EQ(differingPixels(view), 0u) << "chopping";
    for (int step = 0; step < 200; ++step)
        send("QEL.Game.Update", 1.f / 33.f);
    ASSERT_TRUE((*chopped)->isChopping());
    EXPECT_EQ(differingPixels(view), 0u) << "chopped";
    player().getPhysical()->setPosition(Vector3(foot.x + 2000.f, foot.y, 0.f));
    send("QEL.Game.Update", 1.f / 33.f);
    ASSERT_FALSE((*chopped)->isChopping());
    EXPECT_GT((*chopped)->getProgress(), 0.f);
    EXPECT_EQ(differingPixels(view), 0u) << "left chopped";

    sendTo(tree.getOwner(), "#REKT", 0);
    EXPECT_EQ(differingPixels(view), 0u) << "felled";
}

TEST_F(WorldPainterTest, APickedCactusShowsAtOnce)
{
    QEL::Cactus& cactus = *all<QEL::Cactus>("QEL.Game.Cactus").front();
    const sf::FloatRect& bounds = cactus.getBounds();
    const sf::View view = Default.viewAt(sf::Vector2f(bounds.left, bounds.top));
    for (int frame = 0; frame < 12; ++frame)
        ASSERT_EQ(differingPixels(view), 0u);

    sendTo(cactus.getOwner(), "Rosebud", 0);
    ASSERT_TRUE(cactus.isPicked());
    EXPECT_EQ(differingPixels(view), 0u);
}

TEST_F(WorldPainterTest, AVisitorsNameTheBuildCursorAndNewRoadsShow)
{
    const sf::Vector2f open = openGrass();
    const sf::View view = Default.viewAt(open);
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
    send("QEL.Game.Event", key);
    system().destroyEntity(visitor);
    EXPECT_EQ(differingPixels(view), 0u) << "the visitor gone";
}

// The surf steps once the tiles are drawn, in every coast cell at once.
TEST_F(WorldPainterTest, AllTheSurfShowsItsNewFrameInTheSameFrame)
{
    const sf::View view = Default.viewAt(surf());
    for (int frame = 0; frame < 12; ++frame)
        ASSERT_EQ(differingPixels(view), 0u);
    const sf::Image before = drawPlainly(view);

    send("QEL.Game.Update", 1.5f);
    mPainter->paint(mPainted, view, 0.f);
    mPainted.display();
    EXPECT_EQ(countDiffering(mPainted.getTexture().copyToImage(), before), 0u) << "the step comes after the tiles";
    const sf::Image after = drawPlainly(view);
    EXPECT_GT(countDiffering(before, after), 0u);
    EXPECT_EQ(differingPixels(view), 0u);
}

// The frame's one "QEL.Game.Draw" carries the target and the visible rectangle; a drawing
// that knows nothing of the painter is drawn in its place every frame, in front of the rest.
TEST_F(WorldPainterTest, ADrawingWrittenWithoutThePainterIsDrawnEveryFrame)
{
    const sf::Vector2f foot = treeFoot(densestTree());
    gatherAround(foot);
    const sf::View view = Default.viewAt(foot);
    for (int frame = 0; frame < 12; ++frame)
        ASSERT_EQ(differingPixels(view), 0u);

    const Tessaly::EntityId entity = system().createEntity();
    auto* square = static_cast<PlainSquare*>(system().createComponent("Test.PlainSquare"));
    system().addComponent(entity, square);
    for (int frame = 0; frame < 3; ++frame)
    {
        square->mPosition = foot + sf::Vector2f(40.f * frame, -200.f);
        square->mDraws = 0;
        mPainter->paint(mPainted, view, 0.f);
        EXPECT_EQ(square->mDraws, 1);
        EXPECT_EQ(square->mSeen, QEL::ViewRules::visibleRect(view));
        mPainted.display();
        EXPECT_EQ(countDiffering(mPainted.getTexture().copyToImage(), drawPlainly(view)), 0u) << "frame " << frame;
    }
    system().destroyEntity(entity);
    EXPECT_EQ(differingPixels(view), 0u) << "gone";
}

// Trees take update steps only while they are on screen.
TEST_F(WorldPainterTest, TreesOffScreenTakeNoSteps)
{
    QEL::Tree& tree = densestTree();
    const sf::Vector2f foot = treeFoot(tree);
    mPainter->paint(mPainted, Default.viewAt(foot), 0.f);
    EXPECT_TRUE(tree.isUpdating());
    // Half a screen away: the tree is in the painter's ring of cells, not on screen.
    const sf::View away = Default.viewAt(foot + sf::Vector2f(1900.f, 0.f));
    ASSERT_FALSE(QEL::ViewRules::visibleRect(away).intersects(tree.getBounds()));
    mPainter->paint(mPainted, away, 0.f);
    EXPECT_FALSE(tree.isUpdating());
}

} // namespace


