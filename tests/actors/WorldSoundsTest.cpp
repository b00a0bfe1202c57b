// The world's sounds as the real actors make them, heard through the engine's sound service.
#include "actors/Cactus.hpp"
#include "actors/Tree.hpp"
#include "actors/Woody.hpp"
#include "plym/core/Vector3.hpp"
#include "plym/game/SoundManager.hpp"
#include "tests/actors/ObjectsFixture.hpp"

#include <string>
#include <vector>

namespace
{

using namespace ObjectsTest;
using Plym::Math::Vector2;
using Plym::Math::Vector3;
using Outcome = Plym::SoundManager::Outcome;

/// A tree at (X, Y), the player's ears next to it, and every effect asked for on record.
class WorldSoundsTest : public ObjectsFixture
{
protected:
    static constexpr float X = 1000.f;
    static constexpr float Y = 600.f;

    WorldSoundsTest() : sounds(*mEngine.getService<Plym::SoundManager>()), tree(plantTree(X))
    {
        sounds.setObserver([this](const Plym::SoundManager::Report& report) { heard.push_back(report); });
        standAt(X + 100.f);
    }

    /// The player, and the listener with him, at (x, Y).
    void standAt(float x)
    {
        placePlayer(x, Y);
        sounds.setListener(Vector2(x, Y));
    }

    QEL::Tree& plantTree(float x)
    {
        QEL::Tree& planted = spawn<QEL::Tree>("QEL.Tree", "QEL.Game.Tree");
        sendTo(planted.getOwner(), "SetPosition", Vector3(x, Y, 0.f));
        return planted;
    }

    /// A frame around the tree: a tree on screen takes steps and falls when chopped through.
    void drawTree() { draw(X - 400.f, Y - 400.f); }

    /// The names of the effects asked for since the last call, each with its outcome.
    std::vector<std::string> take()
    {
        std::vector<std::string> names;
        for (const Plym::SoundManager::Report& report : heard)
            names.push_back(report.name + (report.outcome == Outcome::Played ? "" : report.outcome == Outcome::OutOfReach ? " (too far)" : " (dropped)"));
        heard.clear();
        return names;
    }

    Plym::SoundManager& sounds;
    QEL::Tree& tree;
    std::vector<Plym::SoundManager::Report> heard;
};

using Names = std::vector<std::string>;

TEST_F(WorldSoundsTest, ChoppingStrokesFollowTheCutThenTheTreeCreaksAndCrashesWhereItLands)
{
    drawTree();
    ASSERT_TRUE(click(X, Y - 100.f).handled);
    step();
    EXPECT_EQ(take(), Names{"Tree::Stroke1"}) << "the first stroke comes at once";

    // Leaving the reach halfway stops the strokes; coming back goes on where the cut stands.
    step(249);
    std::vector<std::string> strokes = take();
    standAt(X + 1000.f);
    step(100);
    EXPECT_TRUE(take().empty());
    standAt(X + 100.f);
    ASSERT_TRUE(click(X, Y - 100.f).handled);
    for (int i = 0; i < 300 && tree.getProgress() < 1.f; ++i)
        step();
    drawTree();
    ASSERT_TRUE(tree.isFelled());

    std::vector<std::string> rest = take();
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back(), "Tree::Creak");
    rest.pop_back();
    strokes.insert(strokes.end(), rest.begin(), rest.end());
    ASSERT_EQ(strokes.size(), static_cast<std::size_t>(QEL::Tree::Strokes - 1));
    // Each quarter of the cut sounds duller than the one before, five strokes to a quarter.
    strokes.insert(strokes.begin(), "Tree::Stroke1");
    for (std::size_t i = 0; i < strokes.size(); ++i)
        EXPECT_EQ(strokes[i], "Tree::Stroke" + std::to_string(i * 4 / strokes.size() + 1)) << i;

    step(60);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].name, "Tree::Crash");
    EXPECT_EQ(heard[0].outcome, Outcome::Played);
    EXPECT_EQ(heard[0].position, Vector2(X + 270.f, Y + 175.f - 140.f));
    take();
    step(60);
    EXPECT_TRUE(take().empty()) << "a tree falls once";
}

TEST_F(WorldSoundsTest, ARelayedFellFarAwayIsNotHeardAndOneNearbyIs)
{
    QEL::Tree& far = plantTree(X + 5000.f);
    connect();

    relay(far.getOwner(), "#REKT");
    step(60);
    EXPECT_EQ(take(), (Names{"Tree::Creak (too far)", "Tree::Crash (too far)"}));
    EXPECT_EQ(sounds.getPlayed(), 0u);

    relay(tree.getOwner(), "#REKT");
    step(60);
    EXPECT_EQ(take(), (Names{"Tree::Creak", "Tree::Crash"}));
    relay(tree.getOwner(), "#REKT");
    step(60);
    EXPECT_TRUE(take().empty());
}

TEST_F(WorldSoundsTest, EveryActionSoundsOnceWhereItHappens)
{
    connect();
    standAt(X + 200.f);
    QEL::Cactus& cactus = spawn<QEL::Cactus>("QEL.Cactus", "QEL.Game.Cactus");
    sendTo(cactus.getOwner(), "SetPosition", Vector3(X - 200.f, Y, 0.f));
    QEL::Woody& wood = spawn<QEL::Woody>("QEL.Woody", "QEL.Game.Woody");
    sendTo(wood.getOwner(), "QEL.SetPosition", Vector2(X + 300.f, Y));
    const Tessaly::EntityId roads = mSystem.createEntity();
    mSystem.addComponent(roads, mSystem.createComponent("QEL.Game.RoadManager"));
    mSystem.finalize(roads);

    const struct
    {
        std::function<void()> act;
        Names sounds;
        Vector2 at;
    } actions[] = {
        {[&] { click(X, Y - 300.f, true); }, {"Tree::Branch"}, Vector2(X, Y)},
        {[&] { click(X, Y - 300.f, true); }, {}, {}},
        {[&] { relay(tree.getOwner(), "#branch"); }, {}, {}},
        {[&] { click(X - 200.f, Y - 100.f, true); }, {"Cactus::Pick"}, Vector2(X - 200.f, Y)},
        {[&] { relay(cactus.getOwner(), "Rosebud"); }, {}, {}},
        {[&] { click(X + 300.f, Y - 10.f, true); }, {"Woody::Trim"}, Vector2(X + 300.f, Y)},
        {[&] { click(X + 300.f, Y - 10.f, false); }, {"Woody::Tie"}, Vector2(X + 300.f, Y)},
        {[&] { click(X + 300.f, Y - 10.f, true); }, {"Woody::Untie"}, Vector2(X + 300.f, Y)},
        {[&] { click(X + 300.f, Y - 10.f, true); }, {}, {}},
        {[&] { keyPressed(sf::Keyboard::R); click(1900.f, 500.f); }, {"Road::Lay"}, Vector2(1935.f, 495.f)},
        {[&] { click(1900.f, 500.f, true); }, {"Road::Remove"}, Vector2(1935.f, 495.f)},
        {[&] { click(1900.f, 500.f, true); }, {}, {}},
    };
    for (std::size_t i = 0; i < std::size(actions); ++i)
    {
        actions[i].act();
        const Vector2 at = heard.empty() ? Vector2() : heard.back().position;
        EXPECT_EQ(take(), actions[i].sounds) << "action " << i;
        if (!actions[i].sounds.empty())
        {
            EXPECT_EQ(at, actions[i].at) << "action " << i;
        }
    }
}

} // namespace
