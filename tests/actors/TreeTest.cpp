#include "actors/Tree.hpp"
#include "actors/Woody.hpp"
#include "app/ResourceManager.hpp"
#include "physics/Physical.hpp"
#include "plym/core/Vector3.hpp"
#include "plym/game/RadialProgressBar.hpp"
#include "tests/actors/ObjectsFixture.hpp"
#include "tests/actors/Pictures.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include <string>
#include <vector>

namespace
{

using namespace ObjectsTest;
using Plym::Math::Vector2;
using Plym::Math::Vector3;

/// A tree at (X, Y) whose picture covers (X - 180, Y - 540) to (X + 180, Y + 56), with the
/// player standing next to it.
class TreeTest : public ObjectsFixture
{
protected:
    static constexpr float X = 1000.f;
    static constexpr float Y = 600.f;

    TreeTest() : tree(spawn<QEL::Tree>("QEL.Tree", "QEL.Game.Tree"))
    {
        sendTo(tree.getOwner(), "SetPosition", Vector3(X, Y, 0.f));
        placePlayer(X + 100.f, Y);
    }

    void drawOnScreen() { draw(X - 400.f, Y - 400.f); }
    /// The view that shows the whole tree.
    static constexpr float WholeLeft = X - 400.f;
    static constexpr float WholeTop = Y - 550.f;

    /// A picture of the tree's sheet: its rectangle and origin.
    struct Part
    {
        sf::IntRect rect;
        sf::Vector2f origin;
    };

    /// The tree as it must look in the whole view: its shadow, the sheet's parts in order,
    /// then the chopping ring at the tree's progress and the axe when asked for.
    sf::Image expectedTree(const std::vector<Part>& parts, bool ring, bool axe)
    {
        return expectedPicture(WholeLeft, WholeTop, [&](sf::RenderTarget& target) {
            sf::Sprite sprite(QEL::gTextures.get("Tree::Shadow"));
            sprite.setPosition(X, Y);
            sprite.setOrigin(120.f, 56.f);
            sprite.setColor(sf::Color(0, 0, 0, 42));
            target.draw(sprite);
            sprite.setColor(sf::Color::White);
            sprite.setTexture(QEL::gSpritesheets.get("Tree").getTexture());
            for (const Part& part : parts)
            {
                sprite.setTextureRect(part.rect);
                sprite.setOrigin(part.origin);
                target.draw(sprite);
            }
            const auto drawCentred = [&](const sf::Texture& texture) {
                sf::Sprite centred(texture);
                centred.setOrigin(sf::Vector2f(texture.getSize()) / 2.f);
                centred.setPosition(X, Y);
                target.draw(centred);
            };
            Plym::RadialProgressBar bar(32, 19, 0.f, 1.f);
            bar.setCurrent(tree.getProgress());
            bar.update();
            if (ring)
                drawCentred(bar.getTexture());
            if (axe)
                drawCentred(QEL::gTextures.get("Action::Axe"));
        });
    }
    void drawOffScreen() { draw(X + 5000.f, Y - 400.f); }

    std::vector<QEL::Woody*> woods()
    {
        std::vector<QEL::Woody*> found;
        for (Tessaly::Component* component : allComponents("QEL.Game.Woody"))
            found.push_back(static_cast<QEL::Woody*>(component));
        return found;
    }

    /// Chops until the tree falls at a draw.
    void fell()
    {
        drawOnScreen();
        ASSERT_TRUE(click(X, Y - 100.f).handled);
        step(496);
        drawOnScreen();
        ASSERT_TRUE(tree.isFelled());
    }

    QEL::Tree& tree;
};

TEST_F(TreeTest, FallsAtTheFirstDrawAfterFifteenSecondsOfChopping)
{
    connect();
    drawOnScreen();
    ASSERT_TRUE(click(X, Y - 100.f).handled);
    EXPECT_TRUE(tree.isChopping());

    step(494);  // 14.97 s
    drawOnScreen();
    EXPECT_NEAR(tree.getProgress(), 494.f / 495.f, 1e-4f);
    EXPECT_FALSE(tree.isFelled());

    step(2);  // 15.03 s
    EXPECT_GE(tree.getProgress(), 1.f);
    EXPECT_FALSE(tree.isFelled()) << "a tree falls when it is drawn, not in a step";
    EXPECT_TRUE(woods().empty());

    drawOnScreen();
    EXPECT_TRUE(tree.isFelled());
    EXPECT_FALSE(tree.isChopping());
    ASSERT_EQ(woods().size(), 1u);
    const std::vector<QEL::Network::Packet> sent = sentPackets();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].getChannel(), 0);
    EXPECT_EQ(sent[0].getPayload(), entityMessage(tree.getOwner(), "#REKT"));

    // The wood learns where it lies at the next step; the stump ignores clicks from now on.
    step();
    EXPECT_EQ(woods()[0]->getPosition(), Vector2(X, Y + 175.f));
    EXPECT_FALSE(click(X, Y - 100.f).handled);
    EXPECT_FALSE(click(X, Y - 100.f, true).handled);
    EXPECT_FALSE(tree.isDebranched());
    step(10);
    drawOnScreen();
    EXPECT_EQ(woods().size(), 1u);
    EXPECT_TRUE(sentPackets().empty());
}

TEST_F(TreeTest, ShowsTheTrunkOfItsProgressTheBranchesTheRingAndTheAxe)
{
    const Part stump{{540, 90, 180, 180}, {90.f, 175.f}};
    const Part cut{{360, 180, 180, 180}, {90.f, 175.f}};
    const Part notched{{360, 360, 180, 180}, {90.f, 175.f}};
    const Part trunk{{90, 360, 180, 180}, {90.f, 175.f}};
    const Part crown{{0, 0, 360, 270}, {180.f, 535.f}};
    const Part branches{{0, 270, 360, 90}, {180.f, 265.f}};
    const Part stripped{{360, 0, 360, 90}, {180.f, 265.f}};
    const auto expectLook = [&](const std::string& stage, const std::vector<Part>& parts, bool ring, bool axe) {
        draw(WholeLeft, WholeTop);
        EXPECT_EQ(Pictures::countDiffering(picture(), expectedTree(parts, ring, axe)), 0u) << stage;
    };

    expectLook("standing", {trunk, crown, branches}, false, false);
    // Each third of the chopping shows its trunk: up to a third whole, then notched, then cut.
    const struct
    {
        int steps;
        float third;  ///< The progress the chopping has just reached or just passed.
        bool passed;
        Part trunk;
    } chopping[] = {{164, 1.f / 3.f, false, trunk}, {2, 1.f / 3.f, true, notched}, {164, 2.f / 3.f, false, notched}, {2, 2.f / 3.f, true, cut}};
    click(X, Y - 100.f);
    for (const auto& stage : chopping)
    {
        step(stage.steps);
        ASSERT_EQ(tree.getProgress() > stage.third, stage.passed) << tree.getProgress();
        expectLook("chopped to " + std::to_string(tree.getProgress()), {stage.trunk, crown, branches}, true, true);
    }

    placePlayer(X + 1000.f, Y);
    step();
    expectLook("left alone", {cut, crown, branches}, true, false);
    click(X, Y - 100.f, true);
    expectLook("stripped", {cut, crown, stripped}, true, false);

    placePlayer(X, Y);
    click(X, Y - 100.f);
    step(170);
    expectLook("felled", {stump}, false, false);
}

TEST_F(TreeTest, LeavingTheReachStopsChoppingAndKeepsTheProgress)
{
    drawOnScreen();
    click(X, Y - 100.f);
    step(100);
    placePlayer(X + 300.f, Y);  // exactly at the edge of the reach
    step();
    EXPECT_TRUE(tree.isChopping());
    const float progress = tree.getProgress();
    EXPECT_NEAR(progress, 101.f / 495.f, 1e-5f);

    placePlayer(X + 300.5f, Y);
    step();
    EXPECT_FALSE(tree.isChopping());
    EXPECT_EQ(tree.getProgress(), progress);

    placePlayer(X, Y);
    step(50);
    EXPECT_FALSE(tree.isChopping()) << "coming back needs a new click";
    EXPECT_EQ(tree.getProgress(), progress);

    click(X, Y - 100.f);
    step();
    EXPECT_NEAR(tree.getProgress(), progress + 1.f / 495.f, 1e-6f);

    removePlayer();
    step();
    EXPECT_FALSE(tree.isChopping()) << "without a player nobody chops";
    EXPECT_NEAR(tree.getProgress(), progress + 1.f / 495.f, 1e-6f);
}

TEST_F(TreeTest, RelayedFellSpawnsOneWoodOnlyForAStandingTree)
{
    connect();
    drawOnScreen();
    relay(tree.getOwner(), "#REKT");
    EXPECT_TRUE(tree.isFelled());
    EXPECT_EQ(tree.getProgress(), 1.f);
    EXPECT_EQ(woods().size(), 1u);

    relay(tree.getOwner(), "#REKT");
    EXPECT_EQ(woods().size(), 1u);
    EXPECT_TRUE(sentPackets().empty()) << "news from the server is not told back";
}

TEST_F(TreeTest, RelayedFellOfATreeFelledHereSpawnsNoSecondWood)
{
    connect();
    fell();
    ASSERT_EQ(woods().size(), 1u);
    relay(tree.getOwner(), "#REKT");
    EXPECT_EQ(woods().size(), 1u);
}

TEST_F(TreeTest, WoodOfATreeFelledOffScreenLiesAtItsPlaceAtOnce)
{
    connect();
    relay(tree.getOwner(), "#branch");
    relay(tree.getOwner(), "#REKT");  // the tree was never on screen: it takes no steps
    ASSERT_EQ(woods().size(), 1u);
    EXPECT_EQ(woods()[0]->getPosition(), Vector2(X, Y + 175.f));
    EXPECT_TRUE(woods()[0]->isDebranched());
}

TEST_F(TreeTest, ClicksOutsideThePictureReachTheObjectsBehind)
{
    Probe& behind = addProbe("QEL.Game.Click", 1000000);
    const sf::Vector2f outside[] = {{X - 181.f, Y}, {X + 180.f, Y}, {X, Y - 541.f}, {X, Y + 56.f}};
    for (const sf::Vector2f& point : outside)
    {
        EXPECT_FALSE(click(point.x, point.y).handled) << point.x << ", " << point.y;
        EXPECT_FALSE(click(point.x, point.y, true).handled) << point.x << ", " << point.y;
    }
    EXPECT_EQ(behind.calls, 8);
    EXPECT_FALSE(tree.isChopping());
    EXPECT_FALSE(tree.isDebranched());

    EXPECT_TRUE(click(X - 180.f, Y - 540.f).handled);
    EXPECT_TRUE(click(X + 179.f, Y + 55.f).handled);
    EXPECT_EQ(behind.calls, 8);
    EXPECT_TRUE(tree.isChopping());
}

TEST_F(TreeTest, TreesFurtherDownTakeClicksFirst)
{
    // The tree's click request sits at -600: before a probe at -601 it is not, after one at -599 it is.
    Probe& before = addProbe("QEL.Game.Click", -601);
    Probe& after = addProbe("QEL.Game.Click", -599);
    sendTo(tree.getOwner(), "SetPosition", Vector3(X, Y + 0.9f, 0.f));
    EXPECT_TRUE(click(X, Y).handled);
    EXPECT_EQ(before.calls, 1);
    EXPECT_EQ(after.calls, 0);
}

TEST_F(TreeTest, RightClickStripsTheTreeAndTellsTheOthersOnce)
{
    connect();
    const Tessaly::Message answer = click(X, Y - 300.f, true);
    EXPECT_TRUE(answer.handled);
    EXPECT_TRUE(tree.isDebranched());
    EXPECT_FALSE(tree.isChopping());
    const std::vector<QEL::Network::Packet> sent = sentPackets();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].getChannel(), 0);
    EXPECT_EQ(sent[0].getPayload(), entityMessage(tree.getOwner(), "#branch"));

    // A stripped tree tells its wood, which then shows the stripped branches.
    fell();
    step();
    ASSERT_EQ(woods().size(), 1u);
    EXPECT_TRUE(woods()[0]->isDebranched());
}

TEST_F(TreeTest, RelayedStrippingIsNotToldBack)
{
    connect();
    relay(tree.getOwner(), "#branch");
    EXPECT_TRUE(tree.isDebranched());
    EXPECT_TRUE(sentPackets().empty());
}

TEST_F(TreeTest, TakesStepsOnlyWhileOnScreen)
{
    EXPECT_FALSE(tree.isUpdating());
    drawOnScreen();
    EXPECT_TRUE(tree.isUpdating());
    click(X, Y - 100.f);
    step(10);
    const float progress = tree.getProgress();
    EXPECT_NEAR(progress, 10.f / 495.f, 1e-6f);

    drawOffScreen();
    EXPECT_FALSE(tree.isUpdating());
    step(10);
    EXPECT_EQ(tree.getProgress(), progress);

    drawOnScreen();
    EXPECT_TRUE(tree.isUpdating());
    step();
    EXPECT_GT(tree.getProgress(), progress);
}

TEST_F(TreeTest, DrawsOnlyWhenItsPictureIsVisible)
{
    const auto anyPixel = [](const sf::Image& image) {
        for (unsigned y = 0; y < image.getSize().y; ++y)
            for (unsigned x = 0; x < image.getSize().x; ++x)
                if (image.getPixel(x, y).a != 0)
                    return true;
        return false;
    };
    drawOffScreen();
    EXPECT_FALSE(anyPixel(picture()));
    drawOnScreen();
    EXPECT_TRUE(anyPixel(picture()));
}

TEST_F(TreeTest, IsAStaticOctagonBody)
{
    const auto& body = component<QEL::Physical>(tree.getOwner(), "QEL.Physical");
    EXPECT_TRUE(body.isStatic());
    EXPECT_NEAR(body.getRadiusSquared(), 5000.f, 1e-2f);
    EXPECT_EQ(body.getPosition().x, X);
    EXPECT_EQ(body.getPosition().y, Y);
}

} // namespace
