#include "plym/game/Animation.hpp"

#include "tests/plym/DisplayGuard.hpp"
#include "tests/plym/TestFiles.hpp"

#include <gtest/gtest.h>

using Plym::Animation;

namespace
{

const char* const ManAnim = R"({ "image": "man.png", "frameWidth": 10, "frameHeight": 10,
  "animations": { "Idle": { "fps": 2, "frames": [[0,0],[1,0]] },
                  "Down": { "fps": 4, "frames": [[0,1],[1,1],[2,1],[3,1]] } } })";

class AnimationFile : public testing::Test
{
protected:
    void SetUp() override
    {
        PLYM_REQUIRE_DISPLAY();
        PlymTest::writeImage(mDir, "assets/man.png", 40, 20);
    }

    PlymTest::TempDirectory mDir;
};

} // namespace

TEST_F(AnimationFile, FramesAdvancePerAnimationAndApplySetsRects)
{
    Animation animation;
    // The image is found next to the animation file, not in the working directory.
    ASSERT_TRUE(animation.loadFromFile(mDir.write("assets/man.anim", ManAnim)));
    sf::Sprite sprite;
    animation.apply("Down", sprite);
    EXPECT_EQ(sprite.getTextureRect(), sf::IntRect(0, 10, 10, 10));
    ASSERT_NE(sprite.getTexture(), nullptr);
    EXPECT_EQ(sprite.getTexture()->getSize(), sf::Vector2u(40, 20));

    animation.update("Down", 0.3f);
    animation.apply("Down", sprite);
    EXPECT_EQ(sprite.getTextureRect(), sf::IntRect(10, 10, 10, 10));
    animation.update("Down", 0.5f);
    EXPECT_EQ(animation.getFrame("Down"), 3u);
    animation.update("Down", 0.25f);    // 1.05 s: wrapped round to the first frame
    EXPECT_EQ(animation.getFrame("Down"), 0u);

    EXPECT_EQ(animation.getFrame("Idle"), 0u);
    animation.update("Idle", 0.6f);
    animation.apply("Idle", sprite);
    EXPECT_EQ(sprite.getTextureRect(), sf::IntRect(10, 0, 10, 10));

    EXPECT_THROW(animation.update("Sideways", 0.1f), std::runtime_error);
    EXPECT_THROW(animation.apply("Sideways", sprite), std::runtime_error);
}

TEST_F(AnimationFile, BadFilesAreRefused)
{
    Animation animation;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(animation.loadFromFile(mDir.file("assets/none.anim")));
    EXPECT_FALSE(animation.loadFromFile(mDir.write("assets/broken.anim", "{ \"image\": ")));
    EXPECT_FALSE(animation.loadFromFile(mDir.write("assets/noimage.anim",
        R"({ "image": "absent.png", "frameWidth": 10, "frameHeight": 10, "animations": {} })")));
    EXPECT_FALSE(animation.loadFromFile(mDir.write("assets/still.anim",
        R"({ "image": "man.png", "frameWidth": 10, "frameHeight": 10, "animations": { "Idle": { "fps": 0, "frames": [[0,0]] } } })")));
    EXPECT_FALSE(animation.loadFromFile(mDir.write("assets/empty.anim",
        R"({ "image": "man.png", "frameWidth": 10, "frameHeight": 10, "animations": { "Idle": { "fps": 2, "frames": [] } } })")));
    const std::string reasons = testing::internal::GetCapturedStderr();
    EXPECT_NE(reasons.find("none.anim"), std::string::npos);
    EXPECT_NE(reasons.find("absent.png"), std::string::npos);
    EXPECT_FALSE(animation.hasAnimation("Idle"));
}
