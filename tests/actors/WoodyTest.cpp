#include "actors/Woody.hpp"
#include "tests/actors/ObjectsFixture.hpp"

#include <cmath>

namespace
{

using namespace ObjectsTest;
using Plym::Math::Vector2;

/// A wood told to stand at (X, Y), as a falling tree tells it.
class WoodyTest : public ObjectsFixture
{
protected:
    static constexpr float X = 2000.f;
    static constexpr float Y = 400.f;

    WoodyTest() : wood(spawn<QEL::Woody>("QEL.Woody", "QEL.Game.Woody"))
    {
        sendTo(wood.getOwner(), "QEL.SetPosition", Vector2(X, Y));
    }

    void frame(int count = 1)
    {
        for (int i = 0; i < count; ++i)
        {
            step();
            draw(wood.getPosition().x - 400.f, wood.getPosition().y - 300.f);
        }
    }

    /// Lets the trunk fall and settle at its lying place.
    void settle()
    {
        frame(60);
        ASSERT_EQ(wood.getPosition(), Vector2(X + 270.f, Y - 140.f));
    }

    /// Clicks the middle of the log, which is inside its area upright and lying.
    Tessaly::Message clickLog(bool right)
    {
        return click(wood.getPosition().x, wood.getPosition().y, right);
    }

    /// Puts the player where the rope's anchor comes to lie at `anchor`.
    void anchorAt(const Vector2& anchor) { placePlayer(anchor.x + 45.f, anchor.y + 64.f); }

    QEL::Woody& wood;
};

TEST_F(WoodyTest, FallsOverInFiftyThreeStepsAndSettlesOnce)
{
    frame(52);
    EXPECT_LT(wood.getFallAngle(), 91.f);
    EXPECT_GT(wood.getFallAngle(), 85.f);
    EXPECT_EQ(wood.getPosition(), Vector2(X, Y));

    step();
    EXPECT_GE(wood.getFallAngle(), 91.f);
    EXPECT_EQ(wood.getPosition(), Vector2(X, Y)) << "the trunk settles when drawn";
    draw(X - 400.f, Y - 300.f);
    EXPECT_EQ(wood.getPosition(), Vector2(X + 270.f, Y - 140.f));

    // Lying, the log's area is 270 wide and 180 high around its place.
    const sf::FloatRect bounds = wood.getBounds();
    EXPECT_NEAR(bounds.width, 270.f, 0.01f);
    EXPECT_NEAR(bounds.height, 180.f, 0.01f);
    EXPECT_NEAR(bounds.left + bounds.width / 2.f, X + 270.f, 0.01f);
    EXPECT_NEAR(bounds.top + bounds.height / 2.f, Y - 140.f, 0.01f);

    frame(30);
    EXPECT_EQ(wood.getPosition(), Vector2(X + 270.f, Y - 140.f));
}

TEST_F(WoodyTest, TrimmedCrownFadesOutInTwoAndAHalfSeconds)
{
    settle();
    placePlayer(X + 5000.f, Y);  // trimming needs no reach
    ASSERT_TRUE(clickLog(true).handled);
    EXPECT_TRUE(wood.isTrimmed());
    EXPECT_EQ(wood.getAlpha(), 255);

    frame(84);  // 2.55 s
    EXPECT_GT(wood.getAlpha(), 0);
    EXPECT_LE(wood.getAlpha(), 5);
    frame();
    EXPECT_LE(wood.getAlpha(), 0);
    const int faded = wood.getAlpha();
    frame(10);
    EXPECT_EQ(wood.getAlpha(), faded);

    // The log itself stays.
    const sf::Image image = picture();
    unsigned opaque = 0;
    for (unsigned y = 250; y < 350; ++y)
        for (unsigned x = 350; x < 450; ++x)
            opaque += image.getPixel(x, y).a != 0;
    EXPECT_GT(opaque, 0u);
}

TEST_F(WoodyTest, UntrimmedWoodKeepsItsCrown)
{
    step(200);
    EXPECT_EQ(wood.getAlpha(), 255);
}

TEST_F(WoodyTest, TieIsRefusedFartherThan180Units)
{
    placePlayer(X + 180.f, Y);
    EXPECT_FALSE(clickLog(false).handled);
    EXPECT_FALSE(wood.isAttached());

    placePlayer(X + 179.9f, Y);
    EXPECT_TRUE(clickLog(false).handled);
    EXPECT_TRUE(wood.isAttached());
    EXPECT_FALSE(clickLog(false).handled) << "a tied log cannot be tied again";

    EXPECT_TRUE(clickLog(true).handled);
    EXPECT_FALSE(wood.isAttached());
    EXPECT_FALSE(wood.isTrimmed()) << "the right click only untied the rope";
    EXPECT_TRUE(clickLog(false).handled);
    EXPECT_TRUE(wood.isAttached());
}

TEST_F(WoodyTest, TiedTrimmedLogIsPulledToTheRopeLengthButNeverPushed)
{
    settle();
    const Vector2 lying = wood.getPosition();
    anchorAt(lying + Vector2(100.f, 0.f));
    ASSERT_TRUE(clickLog(true).handled);
    ASSERT_TRUE(clickLog(false).handled);
    ASSERT_TRUE(wood.isTrimmed());
    ASSERT_TRUE(wood.isAttached());
    frame();
    EXPECT_EQ(wood.getPosition(), lying);

    const Vector2 anchor = lying + Vector2(300.f, 400.f);  // 500 away
    anchorAt(anchor);
    frame();
    const Vector2 pulled = wood.getPosition();
    EXPECT_NEAR(pulled.x, lying.x + 150.f, 1e-3f);
    EXPECT_NEAR(pulled.y, lying.y + 200.f, 1e-3f);
    EXPECT_NEAR((pulled - anchor).getLength(), 250.f, 1e-3f);

    anchorAt(pulled + Vector2(0.f, 50.f));
    frame(5);
    EXPECT_EQ(wood.getPosition(), pulled);

    ASSERT_TRUE(clickLog(true).handled);
    EXPECT_FALSE(wood.isAttached());
    anchorAt(pulled + Vector2(0.f, 1000.f));
    frame();
    EXPECT_EQ(wood.getPosition(), pulled) << "an untied log stays";
}

TEST_F(WoodyTest, RopeDoesNotPullAnUntrimmedLog)
{
    settle();
    const Vector2 lying = wood.getPosition();
    anchorAt(lying);
    ASSERT_TRUE(clickLog(false).handled);
    anchorAt(lying + Vector2(1000.f, 0.f));
    frame(3);
    EXPECT_EQ(wood.getPosition(), lying);
}

TEST_F(WoodyTest, RightClickOnAnUntiedTrimmedWoodChangesNothingButIsHandled)
{
    placePlayer(X, Y);
    ASSERT_TRUE(clickLog(true).handled);
    step(5);
    const int alpha = wood.getAlpha();
    EXPECT_LT(alpha, 255);

    EXPECT_TRUE(clickLog(true).handled);
    EXPECT_TRUE(wood.isTrimmed());
    EXPECT_FALSE(wood.isAttached());
    EXPECT_EQ(wood.getAlpha(), alpha);
    EXPECT_EQ(wood.getPosition(), Vector2(X, Y));
}

TEST_F(WoodyTest, ClicksNeedThePlayerAndTheLogsArea)
{
    EXPECT_FALSE(clickLog(false).handled);
    EXPECT_FALSE(clickLog(true).handled);
    EXPECT_FALSE(wood.isTrimmed());

    placePlayer(X, Y);
    EXPECT_FALSE(click(X + 1000.f, Y, true).handled);
    EXPECT_FALSE(click(X + 1000.f, Y, false).handled);
    EXPECT_FALSE(wood.isTrimmed());
    EXPECT_FALSE(wood.isAttached());
}

} // namespace
