#include "app/ClickFlag.hpp"
#include "app/StatsOverlay.hpp"
#include "app/StepTimer.hpp"
#include "app/ViewRules.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace
{

sf::Event f3(sf::Event::EventType type)
{
    sf::Event event;
    event.type = type;
    event.key = sf::Event::KeyEvent{sf::Keyboard::F3, false, false, false, false};
    return event;
}

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

TEST(StatsOverlay, HeldF3TogglesOnceAndOtherKeysNever)
{
    QEL::StatsOverlay overlay;
    sf::Event other = f3(sf::Event::KeyPressed);
    other.key.code = sf::Keyboard::F4;
    const struct
    {
        sf::Event event;
        bool shown;
    } presses[] = {{f3(sf::Event::KeyPressed), true},  {f3(sf::Event::KeyPressed), true}, {other, true},
                   {f3(sf::Event::KeyReleased), true}, {f3(sf::Event::KeyPressed), false}, {f3(sf::Event::KeyReleased), false},
                   {other, false}};
    for (const auto& press : presses)
    {
        overlay.handle(press.event);
        EXPECT_EQ(overlay.isShown(), press.shown);
    }
}

TEST(StatsOverlay, ShownItWritesTheRateTwiceASecond)
{
    QEL::StatsOverlay overlay;
    overlay.countFrame(125000);
    EXPECT_TRUE(overlay.getText().getString().isEmpty()) << "hidden, it keeps its text";

    overlay.handle(f3(sf::Event::KeyPressed));
    // The refresh once half a second has gathered counts the frames since the last one,
    // itself included: four in 0.5 s.
    for (int frame = 0; frame < 3; ++frame)
    {
        overlay.countFrame(125000);
        EXPECT_TRUE(overlay.getText().getString().isEmpty()) << frame;
    }
    overlay.countFrame(125000);
    EXPECT_EQ(overlay.getText().getString().toAnsiString().rfind("8 FPS\n\n", 0), 0u) << overlay.getText().getString().toAnsiString();
}

TEST(ClickFlag, OtherButtonsKeepThePreviousClicksFlag)
{
    QEL::ClickFlag flag;
    const std::pair<sf::Mouse::Button, bool> clicks[] = {{sf::Mouse::Middle, false}, {sf::Mouse::Right, true},
                                                         {sf::Mouse::Middle, true},  {sf::Mouse::XButton1, true},
                                                         {sf::Mouse::Left, false},   {sf::Mouse::XButton2, false}};
    for (const auto& [button, right] : clicks)
        EXPECT_EQ(flag.press(button), right) << button;
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

// Where a pixel centre falls on a texel border, either texel may show. Wherever the camera
// stands, the view's edge sits at the same place within a pixel (cached cells line up), and at
// common window sizes pixel centres keep clear of the borders of tiles and of pictures at whole
// world units by more than rounding moves an edge (a sub-pixel of 1/256).
TEST(ViewRules, SnappedCameraKeepsPixelCentresClearOfTexelBorders)
{
    const auto nearestBorder = [](double x) {
        const double unit = std::abs(x - std::round(x));
        const double tile = std::floor(x / 90.0) * 90.0;
        const double texel = (x - tile) / static_cast<double>(1.01f);
        return std::min(unit, std::abs(texel - std::round(texel)) * static_cast<double>(1.01f));
    };
    const sf::Vector2u windows[] = {{800, 600}, {1280, 720}, {1920, 1080}, {1600, 1200}, {2000, 1500}, {200, 150}};
    for (const sf::Vector2u window : windows)
    {
        sf::View view(sf::Vector2f(), sf::Vector2f(1600.f, 1200.f));
        QEL::ViewRules::fitToWindow(view, window);
        const float scale = static_cast<float>(window.y) / view.getSize().y;
        float phase = -1.f;
        for (const sf::Vector2f focus : {sf::Vector2f(5000.f, 7000.f), sf::Vector2f(5000.7f, 7001.3f), sf::Vector2f(21001.9f, 22199.1f)})
        {
            const sf::Vector2f centre = QEL::ViewRules::snapToPixels(focus, view.getSize(), window, 23040.f);
            const std::string where = std::to_string(window.y) + " pixels high at " + std::to_string(focus.x);
            EXPECT_LE(std::abs(centre.y - focus.y), 1.f / scale) << where;
            const double top = centre.y - view.getSize().y / 2.f;
            const double edge = top * scale - std::floor(top * scale);
            if (phase >= 0.f)
            {
                EXPECT_NEAR(edge, phase, 0.003) << where; // float rounding of the camera far out
            }
            phase = static_cast<float>(edge);
            double closest = 1.0;
            for (unsigned row = 0; row < window.y; ++row)
                closest = std::min(closest, nearestBorder(top + (row + 0.5) / scale) * scale);
            EXPECT_GT(closest, 1.0 / 256.0) << where;
        }
    }
    // A window without pixels (minimised) leaves the camera alone.
    const sf::Vector2f size(1600, 1200);
    EXPECT_EQ(QEL::ViewRules::snapToPixels(sf::Vector2f(5000.7f, 3.f), size, sf::Vector2u(0, 0), 23040.f), sf::Vector2f(5000.7f, 3.f));
}

// Clamped, then snapped to the pixel grid: at every border and window size the view stays
// inside the world.
TEST(ViewRules, SnappedCameraNeverShowsBeyondTheWorld)
{
    const struct
    {
        sf::Vector2u window;
        sf::Vector2f view;
    } sizes[] = {{{800, 600}, {1600, 1200}}, {{1200, 1200}, {1200, 1200}}, {{333, 250}, {1600, 1201}},
                 {{1920, 1080}, {2133.33f, 1200}}, {{300, 600}, {866.f, 1732.f}}, {{2400, 600}, {3880.f, 970.f}}};
    const float focuses[] = {-1000.f, 0.f, 0.3f, 401.7f, 800.9f, 11520.f, 22239.4f, 22640.6f, 23039.9f, 23040.f, 30000.f};
    for (const auto& size : sizes)
    {
        for (const float x : focuses)
        {
            for (const float y : {focuses[1], focuses[4], focuses[8]})
            {
                const sf::Vector2f clamped = QEL::ViewRules::clampCamera(sf::Vector2f(x, y), size.view, 23040.f);
                const sf::Vector2f centre = QEL::ViewRules::snapToPixels(clamped, size.view, size.window, 23040.f);
                const sf::FloatRect seen = QEL::ViewRules::visibleRect(sf::View(centre, size.view));
                const std::string where = std::to_string(x) + ", " + std::to_string(y) + " in " + std::to_string(size.window.x);
                EXPECT_GE(seen.left, 0.f) << where;
                EXPECT_GE(seen.top, 0.f) << where;
                EXPECT_LE(seen.left + seen.width, 23040.f) << where;
                EXPECT_LE(seen.top + seen.height, 23040.f) << where;
            }
        }
    }
}

} // namespace
