#include "app/StepTimer.hpp"
#include "app/ViewRules.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace
{

float diagonal(const sf::View& view)
{
    return std::hypot(view.getSize().x, view.getSize().y);
}

TEST(StepTimer, StallCountsAtMostFiftyMilliseconds)
{
    QEL::StepTimer timer;
    EXPECT_EQ(timer.addFrame(200000), 50000);
    EXPECT_TRUE(timer.consumeStep());
    EXPECT_FALSE(timer.consumeStep());
    EXPECT_EQ(timer.getAccumulator(), 19697);
}

TEST(StepTimer, StepsOnlyOnceAWholeStepGathered)
{
    QEL::StepTimer timer;
    timer.addFrame(30302);
    EXPECT_FALSE(timer.consumeStep());
    timer.addFrame(1);
    EXPECT_TRUE(timer.consumeStep());
    EXPECT_EQ(timer.getAccumulator(), 0);
}

TEST(ViewRules, ResizeKeepsHeightAndFollowsAspect)
{
    sf::View view(sf::Vector2f(0, 0), sf::Vector2f(1600, 1200));
    QEL::ViewRules::fitToWindow(view, sf::Vector2u(1000, 600));
    EXPECT_FLOAT_EQ(view.getSize().y, 1200.f);
    EXPECT_FLOAT_EQ(view.getSize().x, 2000.f);
}

TEST(ViewRules, ResizeBoundsTheDiagonal)
{
    // A window shape that would give a diagonal of 500 grows to 1000, keeping the aspect.
    sf::View small(sf::Vector2f(0, 0), sf::Vector2f(400, 300));
    QEL::ViewRules::fitToWindow(small, sf::Vector2u(800, 600));
    EXPECT_NEAR(diagonal(small), 1000.f, 0.01f);
    EXPECT_NEAR(small.getSize().x / small.getSize().y, 800.f / 600.f, 1e-4f);

    sf::View large(sf::Vector2f(0, 0), sf::Vector2f(4000, 3000));
    QEL::ViewRules::fitToWindow(large, sf::Vector2u(800, 600));
    EXPECT_NEAR(diagonal(large), 4000.f, 0.01f);
}

TEST(ViewRules, ClickAtWindowCentreIsViewCentre)
{
    sf::View view(sf::Vector2f(11520, 11520), sf::Vector2f(1600, 1200));
    const sf::Vector2f point = QEL::ViewRules::pixelToWorld(view, sf::Vector2i(400, 300), sf::Vector2u(800, 600));
    EXPECT_FLOAT_EQ(point.x, 11520.f);
    EXPECT_FLOAT_EQ(point.y, 11520.f);
    const sf::Vector2f corner = QEL::ViewRules::pixelToWorld(view, sf::Vector2i(0, 0), sf::Vector2u(800, 600));
    EXPECT_FLOAT_EQ(corner.x, 10720.f);
    EXPECT_FLOAT_EQ(corner.y, 10920.f);
}

TEST(ViewRules, CameraKeepsHalfAViewFromTheBorder)
{
    const sf::Vector2f size(1600, 1200);
    const sf::Vector2f low = QEL::ViewRules::clampCamera(sf::Vector2f(10, -500), size, 23040.f);
    EXPECT_FLOAT_EQ(low.x, 800.f);
    EXPECT_FLOAT_EQ(low.y, 600.f);
    const sf::Vector2f high = QEL::ViewRules::clampCamera(sf::Vector2f(23000, 23040), size, 23040.f);
    EXPECT_FLOAT_EQ(high.x, 22240.f);
    EXPECT_FLOAT_EQ(high.y, 22440.f);
    const sf::Vector2f inside = QEL::ViewRules::clampCamera(sf::Vector2f(5000, 7000), size, 23040.f);
    EXPECT_FLOAT_EQ(inside.x, 5000.f);
    EXPECT_FLOAT_EQ(inside.y, 7000.f);
}

TEST(ViewRules, SnappedCameraPutsTheViewEdgeAQuarterPixelIn)
{
    // 1600 x 1200 world units in 800 x 600 pixels: a pixel is two units.
    const sf::Vector2f size(1600, 1200);
    for (const sf::Vector2f focus : {sf::Vector2f(5000.f, 7000.f), sf::Vector2f(5000.7f, 7001.3f), sf::Vector2f(5001.9f, 6999.1f)})
    {
        const sf::Vector2f centre = QEL::ViewRules::snapToPixels(focus, size, sf::Vector2u(800, 600));
        EXPECT_LE(std::abs(centre.x - focus.x), 1.f);
        EXPECT_LE(std::abs(centre.y - focus.y), 1.f);
        const float left = (centre.x - 800.f) / 2.f;
        const float top = (centre.y - 600.f) / 2.f;
        EXPECT_FLOAT_EQ(left - std::floor(left), 0.25f);
        EXPECT_FLOAT_EQ(top - std::floor(top), 0.25f);
    }
    // A window without pixels (minimised) leaves the camera alone.
    EXPECT_EQ(QEL::ViewRules::snapToPixels(sf::Vector2f(5000.7f, 3.f), size, sf::Vector2u(0, 0)), sf::Vector2f(5000.7f, 3.f));
}

} // namespace
