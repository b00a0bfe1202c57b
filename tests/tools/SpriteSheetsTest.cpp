// Sprites of the world and the display: the pieces fit together where the game draws them.
#include "tests/tools/AssetImages.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <set>

namespace {

using AssetImages::anyOpaque;
using AssetImages::opaque;
using AssetImages::opaqueBounds;

// A picture of a sheet drawn with its origin at a world point: sheet pixel of a world pixel.
struct Placed {
    sf::IntRect rect;
    sf::Vector2i origin;

    bool covers(const sf::Image& sheet, int wx, int wy) const
    {
        const int x = wx + origin.x;
        const int y = wy + origin.y;
        return x >= 0 && y >= 0 && x < rect.width && y < rect.height && opaque(sheet, rect.left + x, rect.top + y);
    }
};

TEST(Tree, PiecesStackIntoOneTree)
{
    const sf::Image sheet = AssetImages::load("tree.png");
    const Placed crown{{0, 0, 360, 270}, {180, 535}};
    const Placed branches{{0, 270, 360, 90}, {180, 265}};
    const Placed stripped{{360, 0, 360, 90}, {180, 265}};
    const Placed trunks[] = {{{90, 360, 180, 180}, {90, 175}}, {{360, 360, 180, 180}, {90, 175}}, {{360, 180, 180, 180}, {90, 175}}};
    // Crown rests on the branch band, which rests on every trunk stage, which stands on the ground.
    for (int x = -12; x <= 12; x += 3)
    {
        EXPECT_TRUE(crown.covers(sheet, x, -266)) << x;
        EXPECT_TRUE(branches.covers(sheet, x, -264)) << x;
        EXPECT_TRUE(stripped.covers(sheet, x, -264)) << x;
        EXPECT_TRUE(branches.covers(sheet, x, -176)) << x;
        EXPECT_TRUE(stripped.covers(sheet, x, -176)) << x;
        for (const Placed& trunk : trunks)
        {
            EXPECT_TRUE(trunk.covers(sheet, x, -174)) << x;
            EXPECT_TRUE(trunk.covers(sheet, x, -3)) << x;
        }
    }
    // The branches spread wider than the stripped ones; the crown is wide and tall.
    EXPECT_GT(opaqueBounds(sheet, branches.rect).width, opaqueBounds(sheet, stripped.rect).width + 60);
    const sf::IntRect crownBox = opaqueBounds(sheet, crown.rect);
    EXPECT_GT(crownBox.width, 300);
    EXPECT_GT(crownBox.height, 240);
    // The chopping stages differ.
    EXPECT_FALSE(AssetImages::samePixels(AssetImages::crop(sheet, trunks[0].rect), AssetImages::crop(sheet, trunks[1].rect)));
    EXPECT_FALSE(AssetImages::samePixels(AssetImages::crop(sheet, trunks[1].rect), AssetImages::crop(sheet, trunks[2].rect)));
}

TEST(Tree, StumpAndLogAreWhereTheFallDrawsThem)
{
    const sf::Image sheet = AssetImages::load("tree.png");
    const Placed stump{{540, 90, 180, 180}, {90, 175}};
    EXPECT_TRUE(stump.covers(sheet, 0, -5));
    EXPECT_FALSE(stump.covers(sheet, 0, -120));  // short: the trunk went with the log
    const sf::IntRect log = opaqueBounds(sheet, {540, 270, 180, 270});
    EXPECT_GT(log.height, 220);                  // a long upright log, centred on its origin (90, 135)
    EXPECT_NEAR(log.left + log.width / 2.0, 540 + 90, 6);
    EXPECT_NEAR(log.top + log.height / 2.0, 270 + 135, 12);
}

TEST(Tree, NothingOutsideTheListedPictures)
{
    const sf::Image sheet = AssetImages::load("tree.png");
    const sf::IntRect used[] = {{0, 0, 360, 270}, {0, 270, 360, 90}, {360, 0, 360, 90}, {90, 360, 180, 180},
                                {360, 360, 180, 180}, {360, 180, 180, 180}, {540, 90, 180, 180}, {540, 270, 180, 270}};
    for (unsigned y = 0; y < sheet.getSize().y; y += 3)
        for (unsigned x = 0; x < sheet.getSize().x; x += 3)
        {
            bool inside = false;
            for (const sf::IntRect& rect : used)
                inside |= rect.contains(static_cast<int>(x), static_cast<int>(y));
            if (!inside)
            {
                ASSERT_FALSE(opaque(sheet, x, y)) << x << "," << y;
            }
        }
}

TEST(Shadows, LieUnderTheirOrigins)
{
    const sf::Image man = AssetImages::load("QELmancoll.png");
    ASSERT_GE(man.getSize().y, 272u);
    EXPECT_TRUE(opaque(man, 90, 270));
    const sf::IntRect manBox = opaqueBounds(man, {0, 0, static_cast<int>(man.getSize().x), static_cast<int>(man.getSize().y)});
    EXPECT_NEAR(manBox.left + manBox.width / 2.0, 90, 2);
    EXPECT_NEAR(manBox.top + manBox.height / 2.0, 270, 4);

    const sf::Image tree = AssetImages::load("Treecoll.png");
    EXPECT_TRUE(opaque(tree, 120, 56));
    const sf::IntRect treeBox = opaqueBounds(tree, {0, 0, static_cast<int>(tree.getSize().x), static_cast<int>(tree.getSize().y)});
    EXPECT_NEAR(treeBox.left + treeBox.width / 2.0, 120, 3);
    EXPECT_NEAR(treeBox.top + treeBox.height / 2.0, 56, 3);

    const sf::Image cactus = AssetImages::load("CactiColl.png");
    EXPECT_TRUE(opaque(cactus, cactus.getSize().x / 2, cactus.getSize().y / 2));
}

nlohmann::json animation()
{
    std::ifstream file("man.anim");
    return nlohmann::json::parse(file);
}

sf::Image frameOf(const sf::Image& sheet, const nlohmann::json& frame)
{
    return AssetImages::crop(sheet, {frame.at(0).get<int>() * 180, frame.at(1).get<int>() * 270, 180, 270});
}

TEST(Man, WalkingMovesLegsAndArms)
{
    const nlohmann::json anim = animation();
    const sf::Image sheet = AssetImages::load("QELMan.png");
    for (const char* name : {"Up", "Down", "Left", "Right", "UpLeft", "UpRight", "DownLeft", "DownRight"})
    {
        SCOPED_TRACE(name);
        const nlohmann::json& frames = anim.at("animations").at(name).at("frames");
        ASSERT_GE(frames.size(), 4u);
        std::set<std::vector<sf::Uint8>> legs, arms;
        for (const auto& frame : frames)
        {
            const sf::Image image = frameOf(sheet, frame);
            const sf::Image lower = AssetImages::crop(image, {0, 180, 180, 90});
            const sf::Image middle = AssetImages::crop(image, {0, 105, 180, 75});
            legs.emplace(lower.getPixelsPtr(), lower.getPixelsPtr() + 180 * 90 * 4);
            arms.emplace(middle.getPixelsPtr(), middle.getPixelsPtr() + 180 * 75 * 4);
        }
        EXPECT_GE(legs.size(), 3u);
        EXPECT_GE(arms.size(), 3u);
    }
}

TEST(Man, FacesTheWayHeWalks)
{
    // Walking left is walking right seen in a mirror; the face side shows where he looks.
    const nlohmann::json anim = animation();
    const sf::Image sheet = AssetImages::load("QELMan.png");
    const std::pair<const char*, const char*> mirrors[] = {{"Right", "Left"}, {"UpRight", "UpLeft"}, {"DownRight", "DownLeft"}};
    for (const auto& [right, left] : mirrors)
    {
        SCOPED_TRACE(right);
        sf::Image toRight = frameOf(sheet, anim.at("animations").at(right).at("frames").at(0));
        const sf::Image toLeft = frameOf(sheet, anim.at("animations").at(left).at("frames").at(0));
        EXPECT_FALSE(AssetImages::samePixels(toRight, toLeft));
        toRight.flipHorizontally();
        EXPECT_TRUE(AssetImages::samePixels(toRight, toLeft));
    }
    // In profile the face (skin) is on the right half of the head, the hair cell covers the left.
    const sf::Image profile = frameOf(sheet, anim.at("animations").at("Right").at("frames").at(0));
    const sf::Image hair = AssetImages::load("QELHair.png");
    int hairLeft = 0, hairRight = 0;
    for (unsigned y = 50; y < 90; ++y)
        for (unsigned x = 60; x < 120; ++x)
            if (opaque(hair, 2 * 180 + x, y))
                (x < 90 ? hairLeft : hairRight)++;
    EXPECT_GT(hairLeft, hairRight * 2);
    EXPECT_TRUE(opaque(profile, 110, 66));
}

TEST(Man, HairCellsSitOnTheHead)
{
    const sf::Image hair = AssetImages::load("QELHair.png");
    const sf::Image sheet = AssetImages::load("QELMan.png");
    const sf::IntRect head = opaqueBounds(sheet, {0, 0, 180, 100});
    for (int column = 0; column < 5; ++column)
    {
        SCOPED_TRACE(column);
        const sf::IntRect box = opaqueBounds(hair, {column * 180, 0, 180, 270});
        ASSERT_GT(box.width, 0);
        EXPECT_LE(box.top + box.height, 110);                 // above the shoulders
        EXPECT_NEAR(box.left - column * 180 + box.width / 2.0, 90.0, 10.0);
        EXPECT_LE(box.top, head.top + 3);                     // covers the top of the head
    }
}

TEST(Cactus, PiecesStackAndArmsJoin)
{
    const sf::Image sheet = AssetImages::load("QELCactus.png");
    auto cell = [&](int column, int row) { return AssetImages::crop(sheet, {column * 30, row * 30, 30, 30}); };
    for (int picked = 0; picked < 2; ++picked)
    {
        SCOPED_TRACE(picked ? "picked" : "unpicked");
        const sf::Image stem = cell(1 - picked, 2);
        const sf::Image top = cell(1 - picked, 1);
        const sf::Image tip = cell(2, 3 * picked + 1);
        const sf::Image elbow = cell(2, 3 * picked + 2);
        for (unsigned x = 0; x < 30; ++x)
        {
            // Stem pieces stack: a piece's top continues the bottom of the piece below.
            EXPECT_EQ(opaque(stem, x, 0), opaque(stem, x, 29));
            EXPECT_LT(AssetImages::distance(stem.getPixel(x, 0), stem.getPixel(x, 29)), 80.0f);
            EXPECT_EQ(opaque(top, x, 29), opaque(stem, x, 0));              // the top closes the stem
            EXPECT_EQ(opaque(tip, x, 29), opaque(elbow, x, 0));             // the arm's two pieces meet
        }
        int attached = 0;
        for (unsigned y = 0; y < 30; ++y)
            attached += opaque(elbow, 0, y) ? 1 : 0;                        // the arm grows from the stem
        EXPECT_GE(attached, 9);
    }
    EXPECT_FALSE(AssetImages::samePixels(cell(1, 1), cell(0, 1)));          // picking shows
    EXPECT_FALSE(AssetImages::samePixels(cell(2, 1), cell(2, 4)));
}

TEST(Snakes, LieOnTheBottomOfTheirCells)
{
    for (const char* file : {"Snake1.png", "Snake2.png"})
    {
        const sf::Image sheet = AssetImages::load(file);
        const int w = static_cast<int>(sheet.getSize().x) / 3;
        const int h = static_cast<int>(sheet.getSize().y) / 2;
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 2; ++column)
            {
                SCOPED_TRACE(std::string(file) + " " + std::to_string(column) + "," + std::to_string(row));
                const sf::IntRect box = opaqueBounds(sheet, {column * w, row * h, w, h});
                ASSERT_GT(box.width, 0);
                EXPECT_GE(box.top + box.height, row * h + h * 3 / 4);
            }
        // The two crawl bends differ, and the two directions differ.
        EXPECT_FALSE(AssetImages::samePixels(AssetImages::crop(sheet, {0, 0, w, h}), AssetImages::crop(sheet, {0, h, w, h})));
        EXPECT_FALSE(AssetImages::samePixels(AssetImages::crop(sheet, {0, 0, w, h}), AssetImages::crop(sheet, {w, 0, w, h})));
    }
}

TEST(Display, MinimapMaskAndRingAreConcentric)
{
    const sf::Image mask = AssetImages::load("MapMask.png");
    EXPECT_EQ(mask.getPixel(87, 87), sf::Color::White);
    EXPECT_EQ(mask.getPixel(3, 87), sf::Color::White);
    EXPECT_EQ(mask.getPixel(0, 0).a, 0);
    EXPECT_EQ(mask.getPixel(174, 174).a, 0);
    // The ring is drawn at (W - 177 - 11, 11), the minimap at (W - 175 - 12, 12): in ring
    // coordinates the minimap's centre is (88.5, 88.5). The ring covers the disc's rim only.
    const sf::Image ring = AssetImages::load("minimapoverlay.png");
    for (int angle = 0; angle < 360; angle += 15)
    {
        const double a = angle * 3.14159265 / 180.0;
        EXPECT_TRUE(opaque(ring, static_cast<int>(88.5 + 86.5 * std::cos(a)), static_cast<int>(88.5 + 86.5 * std::sin(a)))) << angle;
        EXPECT_FALSE(opaque(ring, static_cast<int>(88.5 + 60 * std::cos(a)), static_cast<int>(88.5 + 60 * std::sin(a)))) << angle;
    }
}

TEST(Display, ButtonBarHoldsTheButtonWalk)
{
    const sf::Image buttons = AssetImages::load("GUI_spritesheet.png");
    const sf::Image bar = AssetImages::load("GUI_new_frame.png");
    const int cellWidth = static_cast<int>(buttons.getSize().x) / 16;
    const int cellHeight = static_cast<int>(buttons.getSize().y);
    // Buttons at x 7, 42, 77, 112, then slots from 150 in steps of 35: the last slot's right edge.
    EXPECT_LE(7 + 35 * 3 + 3 + 35 * 12 + cellWidth, static_cast<int>(bar.getSize().x));
    EXPECT_LE(7 + cellHeight, static_cast<int>(bar.getSize().y) + 7);
    for (int column : {1, 2, 4, 5, 7, 8, 10, 11, 13, 14, 15})
        EXPECT_TRUE(anyOpaque(buttons, {column * cellWidth, 0, cellWidth, cellHeight})) << column;
    for (int normal : {2, 5, 8, 11, 14})  // hovering shows
        EXPECT_FALSE(AssetImages::samePixels(AssetImages::crop(buttons, {normal * cellWidth, 0, cellWidth, cellHeight}),
                                             AssetImages::crop(buttons, {(normal - 1) * cellWidth, 0, cellWidth, cellHeight})));
}

TEST(Display, VolumeStepsLookDifferent)
{
    const sf::Image volume = AssetImages::load("Volume.png");
    for (int a = 0; a < 5; ++a)
        for (int b = a + 1; b < 5; ++b)
            EXPECT_FALSE(AssetImages::samePixels(AssetImages::crop(volume, {a % 3 * 64, a / 3 * 64, 64, 64}),
                                                 AssetImages::crop(volume, {b % 3 * 64, b / 3 * 64, 64, 64})));
}

TEST(Display, ArrowPointsRight)
{
    const sf::Image arrow = AssetImages::load("arrowSilver_right.png");
    const int w = static_cast<int>(arrow.getSize().x);
    const int h = static_cast<int>(arrow.getSize().y);
    const sf::IntRect box = opaqueBounds(arrow, {0, 0, w, h});
    // The rightmost column is a narrow tip at mid height; further left the head is tall.
    const sf::IntRect tip = opaqueBounds(arrow, {box.left + box.width - 2, 0, 2, h});
    EXPECT_LE(tip.height, 6);
    EXPECT_NEAR(tip.top + tip.height / 2.0, h / 2.0, 3.0);
    const sf::IntRect head = opaqueBounds(arrow, {box.left + box.width * 6 / 10, 0, 2, h});
    const sf::IntRect tail = opaqueBounds(arrow, {box.left + 2, 0, 2, h});
    EXPECT_GT(head.height, tail.height);
}

} // namespace
