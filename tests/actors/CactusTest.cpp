#include "actors/Cactus.hpp"
#include "app/ResourceManager.hpp"
#include "physics/CircleCollisionShape.hpp"
#include "physics/Physical.hpp"
#include "plym/core/Vector3.hpp"
#include "tests/actors/ObjectsFixture.hpp"
#include "tests/actors/Pictures.hpp"

#include <SFML/Graphics/Sprite.hpp>

#include <algorithm>

namespace
{

using namespace ObjectsTest;
using Plym::Math::Vector3;

/// A cactus at (X, Y), its picture covering (X - 30, Y - 300) to (X + 30, Y).
class CactusTest : public ObjectsFixture
{
protected:
    static constexpr float X = 3000.f;
    static constexpr float Y = 500.9f;

    CactusTest() : cactus(spawn<QEL::Cactus>("QEL.Cactus", "QEL.Game.Cactus")) {}

    void place() { sendTo(cactus.getOwner(), "SetPosition", Vector3(X, Y, 0.f)); }

    /// Whether anything is drawn where the cactus's stem stands, in the picture being drawn now.
    bool cactusShown()
    {
        mTarget.display();
        const sf::Image image = picture();
        for (unsigned y = 400; y < 500; ++y)
            for (unsigned x = 370; x < 430; ++x)
                if (image.getPixel(x, y).a != 0)
                    return true;
        return false;
    }

    /// Draws the world with the cactus, up to twelve pieces high, in the middle.
    static constexpr float AroundLeft = X - 400.f;
    static constexpr float AroundTop = Y - 500.f;
    void drawAround() { draw(AroundLeft, AroundTop); }

    /// The cactus as it must look: its shadow, the stem stacked upwards, the top and the two
    /// arms, from the sheet's whole (p = 0) or picked (p = 1) cells.
    sf::Image expectedCactus(unsigned p)
    {
        const Plym::Spritesheet& sheet = QEL::gSpritesheets.get("Cactus");
        const sf::Texture& shadow = QEL::gTextures.get("Cactus::Shadow");
        const float height = 30.f * cactus.getSegments();
        return expectedPicture(AroundLeft, AroundTop, [&](sf::RenderTarget& target) {
            sf::Sprite sprite(shadow);
            sprite.setPosition(X, Y);
            sprite.setOrigin(sf::Vector2f(shadow.getSize()) / 2.f);
            sprite.setColor(sf::Color(0, 0, 0, 42));
            target.draw(sprite);
            sprite.setTexture(sheet.getTexture());
            sprite.setColor(sf::Color::White);
            const auto drawCell = [&](unsigned column, unsigned row, float originX, float originY) {
                sprite.setTextureRect(sheet.getRect(column, row));
                sprite.setOrigin(originX, originY);
                target.draw(sprite);
            };
            for (unsigned i = 0; i < cactus.getSegments(); ++i)
                drawCell(1 - p, 2, 15.f, 30.f + 30.f * i);
            drawCell(1 - p, 1, 15.f, 30.f + height);
            drawCell(2, 3 * p + 1, -15.f, height);
            drawCell(2, 3 * p + 2, -15.f, height - 30.f);
        });
    }

    QEL::Cactus& cactus;
};

TEST_F(CactusTest, LeftClickIsConsumedWithoutEffect)
{
    place();
    connect();
    Probe& behind = addProbe("QEL.Game.Click", 1000000);
    EXPECT_TRUE(click(X, Y - 100.f).handled);
    EXPECT_TRUE(click(X - 30.f, Y - 300.f).handled);
    EXPECT_TRUE(click(X + 29.f, Y - 1.f).handled);
    EXPECT_EQ(behind.calls, 0);
    EXPECT_FALSE(cactus.isPicked());
    EXPECT_TRUE(sentPackets().empty());

    EXPECT_FALSE(click(X + 30.f, Y - 100.f).handled);
    EXPECT_FALSE(click(X, Y - 301.f).handled);
    EXPECT_FALSE(click(X, Y, true).handled);
    EXPECT_EQ(behind.calls, 3);
    EXPECT_FALSE(cactus.isPicked());
}

TEST_F(CactusTest, RightClickPicksAndTellsTheOthersEveryTime)
{
    place();
    connect();
    EXPECT_TRUE(click(X, Y - 100.f, true).handled);
    EXPECT_TRUE(cactus.isPicked());
    EXPECT_TRUE(click(X, Y - 200.f, true).handled);
    const std::vector<QEL::Network::Packet> sent = sentPackets();
    ASSERT_EQ(sent.size(), 2u);
    for (const QEL::Network::Packet& packet : sent)
    {
        EXPECT_EQ(packet.getChannel(), 0);
        EXPECT_EQ(packet.getPayload(), entityMessage(cactus.getOwner(), "Rosebud"));
    }
}

TEST_F(CactusTest, RelayedRosebudPicksQuietly)
{
    place();
    connect();
    drawAround();
    const sf::Image unpicked = picture();
    relay(cactus.getOwner(), "Rosebud");
    EXPECT_TRUE(cactus.isPicked());
    EXPECT_TRUE(sentPackets().empty()) << "news from the server is not told back";

    drawAround();
    const sf::Image picked = picture();
    EXPECT_GT(Pictures::countDiffering(picked, unpicked), 0u) << "a picked cactus shows its picked pictures";
    relay(cactus.getOwner(), "Rosebud");
    drawAround();
    EXPECT_EQ(Pictures::countDiffering(picture(), picked), 0u);
}

TEST_F(CactusTest, ShowsItsWholeCellsThenItsPickedOnes)
{
    place();
    drawAround();
    EXPECT_EQ(Pictures::countDiffering(picture(), expectedCactus(0)), 0u) << cactus.getSegments() << " pieces, whole";
    click(X, Y - 100.f, true);
    drawAround();
    EXPECT_EQ(Pictures::countDiffering(picture(), expectedCactus(1)), 0u) << cactus.getSegments() << " pieces, picked";
}

TEST_F(CactusTest, IsAStaticCircleOfRadius25)
{
    place();
    const auto& body = component<QEL::Physical>(cactus.getOwner(), "QEL.Physical");
    EXPECT_TRUE(body.isStatic());
    const auto* circle = dynamic_cast<const QEL::CircleCollisionShape*>(body.getShape());
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->getRadius(), 25.f);
    EXPECT_EQ(body.getPosition(), Vector3(X, Y, 0.f));
}

TEST_F(CactusTest, ClickAndDrawOrderFollowTheGround)
{
    // Placed at y 500.9, the cactus draws at priority 500 and takes clicks at -500.
    bool shownBefore = true;
    bool shownAfter = false;
    addProbe("QEL.Game.Draw", 499, [&](Tessaly::Message&) { shownBefore = cactusShown(); });
    addProbe("QEL.Game.Draw", 501, [&](Tessaly::Message&) { shownAfter = cactusShown(); });
    Probe& before = addProbe("QEL.Game.Click", -501);
    Probe& after = addProbe("QEL.Game.Click", -499);
    place();

    drawAround();
    EXPECT_FALSE(shownBefore);
    EXPECT_TRUE(shownAfter);
    EXPECT_TRUE(click(X, Y - 10.f).handled);
    EXPECT_EQ(before.calls, 1);
    EXPECT_EQ(after.calls, 0);
}

TEST_F(CactusTest, DrawsWhenAnyOfItsPictureIsOnScreen)
{
    place();
    bool shown = false;
    addProbe("QEL.Game.Draw", 1000000, [&](Tessaly::Message&) { shown = cactusShown(); });
    // The visible rectangle passed on decides; the target's view always shows the cactus.
    const auto drawFrom = [&](float left) {
        mTarget.setView(sf::View(sf::FloatRect(X - 400.f, Y - 500.f, 800.f, 600.f)));
        mTarget.clear(sf::Color::Transparent);
        sendGlobal("QEL.Game.Draw", QEL::DrawEvent{&mTarget, sf::FloatRect(left, Y - 500.f, 800.f, 600.f), 0.f});
        return shown;
    };
    // Its arms reach 45 units right of the stem: a view starting there still shows them.
    EXPECT_TRUE(drawFrom(X + 44.f));
    EXPECT_FALSE(drawFrom(X + 46.f));
}

TEST_F(CactusTest, HasThreeToTwelveStemPieces)
{
    unsigned fewest = cactus.getSegments();
    unsigned most = cactus.getSegments();
    for (int i = 0; i < 300; ++i)
    {
        const unsigned segments = spawn<QEL::Cactus>("QEL.Cactus", "QEL.Game.Cactus").getSegments();
        fewest = std::min(fewest, segments);
        most = std::max(most, segments);
    }
    EXPECT_EQ(fewest, 3u);
    EXPECT_EQ(most, 12u);
}

} // namespace
