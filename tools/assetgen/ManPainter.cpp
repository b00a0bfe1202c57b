#include "tools/assetgen/ManPainter.hpp"

#include "tools/assetgen/Palette.hpp"
#include "tools/assetgen/Random.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

namespace QEL::AssetGen {

namespace {

constexpr int FrameWidth = 60;      // art pixels; 180 x 270 on screen
constexpr int FrameHeight = 90;
constexpr float Axis = 30.0f;       // the figure's centre line: screen x 90
constexpr float HeadX = 30.0f;
constexpr float HeadY = 21.0f;
constexpr float HipY = 57.0f;
constexpr float ShoulderY = 37.0f;
constexpr float FootY = 86.5f;      // boots end on the frame's bottom row
constexpr float Pi = 3.14159265f;

using View = ManPainter::View;

// Per view: how far apart hips and shoulders sit, how long a stride looks sideways, and how
// much a forward foot moves down the screen (towards the viewer) or up it (away).
struct Build {
    float hip;
    float shoulder;
    float stride;
    float depth;
    float torso;    // half width of the tunic at the chest
};

Build buildOf(View view)
{
    switch (view)
    {
    case View::Front:        return {4.0f, 10.0f, 0.0f, 1.2f, 9.0f};
    case View::Back:         return {4.0f, 10.0f, 0.0f, -1.6f, 9.0f};
    case View::FrontQuarter: return {3.0f, 7.0f, 5.0f, 0.8f, 8.0f};
    case View::BackQuarter:  return {3.0f, 7.0f, 5.0f, -1.0f, 8.0f};
    case View::Side:
    default:                 return {0.8f, 1.0f, 8.0f, 0.0f, 6.0f};
    }
}

bool facesSideways(View view)
{
    return view == View::Side || view == View::FrontQuarter || view == View::BackQuarter;
}

// Knee or elbow of a two-part limb of equal halves, bent towards `bend` (a unit direction).
sf::Vector2f joint(sf::Vector2f root, sf::Vector2f end, float half, sf::Vector2f bend)
{
    const sf::Vector2f middle = (root + end) * 0.5f;
    const float d = std::hypot(end.x - root.x, end.y - root.y);
    const float out = std::sqrt(std::max(0.0f, half * half - d * d * 0.25f));
    return middle + bend * out;
}

// A shader for a limb or body part: material ramp, lit from the left, darker when far.
Canvas::Shader lit(const ColorRamp& ramp, float centreX, float halfWidth, float bias)
{
    return [&ramp, centreX, halfWidth, bias](int x, int y) {
        const float across = std::clamp((x + 0.5f - centreX) / halfWidth, -1.0f, 1.0f);
        return ramp.pick(0.62f - 0.3f * across + bias, x, y);
    };
}

} // namespace

ManPainter::Pose ManPainter::walkPose(View view, float phase)
{
    const Build build = buildOf(view);
    const bool sideways = facesSideways(view);
    Pose pose;
    for (int i = 0; i < 2; ++i)
    {
        const float side = i == 0 ? -1.0f : 1.0f;
        const float legPhase = phase + static_cast<float>(i) * Pi;
        const float forward = std::cos(legPhase);
        const float lift = 3.0f * std::max(0.0f, -std::sin(legPhase));
        Limb& leg = pose.legs[i];
        leg.root = sf::Vector2f(Axis + side * build.hip, HipY);
        leg.end = sf::Vector2f(Axis + side * build.hip + build.stride * forward, FootY + build.depth * forward - lift);
        const sf::Vector2f kneeBend = sideways ? sf::Vector2f(1.0f, 0.0f) : sf::Vector2f(side * 0.3f, 0.0f);
        leg.joint = joint(leg.root, leg.end, 15.0f, kneeBend);

        // Each arm swings against the leg on its side.
        const float swing = -forward;
        Limb& arm = pose.arms[i];
        arm.root = sf::Vector2f(Axis + side * build.shoulder, ShoulderY);
        arm.end = sf::Vector2f(Axis + side * (build.shoulder + 1.0f) + 0.7f * build.stride * swing,
                               55.0f + 1.2f * build.depth * swing - (sideways ? std::fabs(swing) : 0.0f));
        const sf::Vector2f elbowBend = sideways ? sf::Vector2f(-1.0f, 0.0f) : sf::Vector2f(side * 0.4f, 0.0f);
        arm.joint = joint(arm.root, arm.end, 9.1f, elbowBend);
    }
    return pose;
}

ManPainter::Pose ManPainter::standingPose(float breath, bool blink)
{
    Pose pose = walkPose(View::Front, Pi * 0.5f);
    for (int i = 0; i < 2; ++i)
    {
        const float side = i == 0 ? -1.0f : 1.0f;
        pose.legs[i].end = sf::Vector2f(Axis + side * 4.5f, FootY);
        pose.legs[i].joint = (pose.legs[i].root + pose.legs[i].end) * 0.5f;
        pose.arms[i].root.y += breath;
        pose.arms[i].end = sf::Vector2f(Axis + side * 11.5f, 55.5f + breath);
        pose.arms[i].joint = joint(pose.arms[i].root, pose.arms[i].end, 9.1f, sf::Vector2f(side * 0.4f, 0.0f));
    }
    pose.breath = breath;
    pose.blink = blink;
    return pose;
}

void ManPainter::paintLeg(Canvas& figure, const Limb& leg, bool far)
{
    Canvas layer(FrameWidth, FrameHeight);
    const float bias = far ? -0.22f : 0.0f;
    layer.fillCapsule(leg.root, leg.joint, 3.2f, lit(Palette::trousers(), leg.root.x, 3.2f, bias));
    layer.fillCapsule(leg.joint, leg.end, 2.9f, lit(Palette::trousers(), leg.joint.x, 2.9f, bias));
    // Boot: a shaft and a foot pointing the way the leg bends.
    const float toe = leg.joint.x > (leg.root.x + leg.end.x) * 0.5f + 0.5f ? 1.6f : 0.0f;
    layer.fillCapsule(leg.end + sf::Vector2f(0.0f, -4.0f), leg.end, 3.0f, lit(Palette::leather(), leg.end.x, 3.0f, bias - 0.1f));
    layer.fillEllipse(leg.end.x + toe, leg.end.y + 0.6f, 3.9f, 2.4f, lit(Palette::leather(), leg.end.x, 3.9f, bias));
    layer.outline();
    figure.paste(layer, 0, 0);
}

void ManPainter::paintArm(Canvas& figure, const Limb& arm, bool far)
{
    Canvas layer(FrameWidth, FrameHeight);
    const float bias = far ? -0.22f : 0.05f;
    layer.fillCapsule(arm.root, arm.joint, 2.8f, lit(Palette::tunic(), arm.root.x, 2.8f, bias));
    layer.fillCapsule(arm.joint, arm.end, 2.5f, lit(Palette::tunic(), arm.joint.x, 2.5f, bias));
    layer.fillEllipse(arm.end.x, arm.end.y + 1.5f, 2.4f, 2.4f, lit(Palette::skin(), arm.end.x, 2.4f, bias));
    layer.outline();
    figure.paste(layer, 0, 0);
}

void ManPainter::paintTorso(Canvas& figure, View view, float breath)
{
    const Build build = buildOf(view);
    const float half = build.torso;
    const float top = 33.0f + breath;
    Canvas layer(FrameWidth, FrameHeight);
    // Neck under the collar.
    layer.fillRect(static_cast<int>(Axis) - 2, 29, 4, 6, Palette::skin().tone(1));
    const auto tunic = lit(Palette::tunic(), Axis, half, 0.0f);
    layer.fillEllipse(Axis, top + 4.5f, half, 4.5f, tunic);
    layer.fillPolygon({{Axis - half, top + 4.0f}, {Axis + half, top + 4.0f}, {Axis + half - 1.0f, 52.0f},
                       {Axis + half + 1.0f, 61.0f}, {Axis - half - 1.0f, 61.0f}, {Axis - half + 1.0f, 52.0f}},
                      Palette::tunic().tone(2));
    // Re-shade the polygon part from the left.
    for (int y = static_cast<int>(top) + 4; y <= 61; ++y)
        for (int x = 0; x < FrameWidth; ++x)
            if (layer.get(x, y).a > 0 && y > top + 4.0f)
                layer.set(x, y, tunic(x, y));
    // Hem shadow and belt.
    for (int x = 0; x < FrameWidth; ++x)
    {
        if (layer.get(x, 60).a > 0)
            layer.set(x, 60, Palette::tunic().tone(0));
        for (int y = 50; y <= 51; ++y)
            if (layer.get(x, y).a > 0)
                layer.set(x, y, Palette::leather().pick(0.55f - 0.2f * (x - Axis) / half, x, y));
    }
    if (view == View::Front || view == View::FrontQuarter)
    {
        const int buckle = static_cast<int>(Axis) - 1 + (view == View::FrontQuarter ? 2 : 0);
        layer.fillRect(buckle, 50, 2, 2, Palette::brass().tone(3));
        // V of the collar.
        layer.fillPolygon({{Axis - 2.5f + (buckle - 29), top}, {Axis + 2.5f + (buckle - 29), top},
                           {Axis + (buckle - 29), top + 3.5f}}, Palette::skin().tone(2));
    }
    layer.outline();
    figure.paste(layer, 0, 0);
}

void ManPainter::paintHead(Canvas& figure, View view, bool blink)
{
    Canvas layer(FrameWidth, FrameHeight);
    layer.fillEllipse(HeadX, HeadY, 10.0f, 10.5f, [](int x, int y) {
        const float nx = (x + 0.5f - HeadX) / 10.0f;
        const float ny = (y + 0.5f - HeadY) / 10.5f;
        return Palette::skin().pick(0.7f - 0.3f * (0.6f * nx + 0.5f * ny), x, y);
    });
    const sf::Color cheek = Palette::mix(Palette::skin().tone(2), Palette::Blossom, 0.35f);
    const sf::Color mouth = Palette::skin().tone(0);
    auto eye = [&](int x) {
        if (blink)
            layer.fillRect(x, 23, 2, 1, Palette::Ink);
        else
        {
            layer.fillRect(x, 21, 1, 3, Palette::Ink);
            layer.set(x + 1, 22, Palette::Ink);
            layer.set(x + 1, 21, sf::Color::White);
        }
    };
    switch (view)
    {
    case View::Front:
        eye(25);
        eye(33);
        layer.fillRect(23, 25, 2, 1, cheek);
        layer.fillRect(36, 25, 2, 1, cheek);
        layer.fillRect(29, 27, 2, 1, mouth);
        break;
    case View::FrontQuarter:
        eye(29);
        eye(36);
        layer.fillRect(27, 25, 2, 1, cheek);
        layer.set(39, 24, Palette::skin().tone(1));
        layer.fillRect(33, 27, 2, 1, mouth);
        layer.fillEllipse(21.5f, 22.5f, 1.6f, 2.4f, Palette::skin().tone(1));
        break;
    case View::Side:
        eye(35);
        layer.fillRect(40, 23, 1, 2, Palette::skin().tone(2));
        layer.set(40, 25, Palette::skin().tone(1));
        layer.fillRect(36, 27, 2, 1, mouth);
        layer.fillRect(34, 25, 2, 1, cheek);
        layer.fillEllipse(28.5f, 22.5f, 1.8f, 2.6f, Palette::skin().tone(1));
        break;
    case View::BackQuarter:
        layer.fillEllipse(37.5f, 22.5f, 1.6f, 2.4f, Palette::skin().tone(1));
        break;
    case View::Back:
        break;
    }
    layer.outline();
    figure.paste(layer, 0, 0);
}

Canvas ManPainter::frame(View view, const Pose& pose)
{
    Canvas figure(FrameWidth, FrameHeight);
    // Which arm and leg are nearer the viewer; in front and back views both are alike.
    int nearArm = 1;
    int nearLeg = 1;
    if (view == View::FrontQuarter)
        nearArm = 0;
    const bool layeredArms = facesSideways(view);
    if (layeredArms)
        paintArm(figure, pose.arms[1 - nearArm], true);
    paintLeg(figure, pose.legs[1 - nearLeg], view != View::Front && view != View::Back);
    paintLeg(figure, pose.legs[nearLeg], false);
    paintTorso(figure, view, pose.breath);
    if (!layeredArms)
        paintArm(figure, pose.arms[0], false);
    paintArm(figure, pose.arms[nearArm], false);
    paintHead(figure, view, pose.blink);
    return figure;
}

Canvas ManPainter::hair(View view)
{
    Canvas layer(FrameWidth, FrameHeight);
    const float cx = 30.0f;
    const float cy = 19.5f;
    const float r = 11.2f;
    for (int y = 0; y < 34; ++y)
        for (int x = 0; x < FrameWidth; ++x)
        {
            const float px = x + 0.5f;
            const float py = y + 0.5f;
            const float nx = (px - cx) / r;
            const float ny = (py - cy) / r;
            if (nx * nx + ny * ny > 1.0f)
                continue;
            const float fringe = 16.5f + 1.8f * std::fabs(std::sin(px * 0.95f));
            bool covered = false;
            switch (view)
            {
            case View::Front:
                covered = py < fringe || (std::fabs(px - cx) > 8.6f && py < 27.0f);
                break;
            case View::FrontQuarter:
                covered = py < fringe || (px < 23.5f && py < 28.5f) || (px > 38.5f && py < 21.0f);
                break;
            case View::Side:
                covered = (px < 31.5f && py < 30.5f) || py < fringe - 0.5f || (px < 33.5f && py < 24.0f);
                break;
            case View::BackQuarter:
                covered = py < 30.5f && !(px > 36.0f && py > 19.0f);
                break;
            case View::Back:
                covered = py < 31.0f && (py < 27.0f || std::fabs(px - cx) < 8.5f);
                break;
            }
            if (!covered)
                continue;
            float shade = 0.58f - 0.38f * (0.5f * nx + 0.8f * ny) + (Random::hash(x, y / 3, 4101) - 0.5f) * 0.22f;
            const float ring = std::sqrt(nx * nx + ny * ny);
            if (ring > 0.55f && ring < 0.72f && ny < -0.25f)
                shade += 0.28f;
            layer.set(x, y, Palette::hair().pick(shade, x, y));
        }
    layer.outline(0.4f);
    return layer;
}

Canvas ManPainter::bodySheet() const
{
    Canvas sheet(WalkFrames * FrameWidth * Scale, 9 * FrameHeight * Scale);
    auto put = [&](const Canvas& frame, int column, int row) {
        sheet.copy(frame.scaled(Scale), column * FrameWidth * static_cast<int>(Scale),
                   row * FrameHeight * static_cast<int>(Scale));
    };
    put(frame(View::Front, standingPose(0.0f, false)), 0, 0);
    put(frame(View::Front, standingPose(-1.0f, false)), 1, 0);
    put(frame(View::Front, standingPose(0.0f, true)), 2, 0);
    // Rows 1 to 8: Down, Up, Right, Left, DownRight, DownLeft, UpRight, UpLeft.
    const View views[] = {View::Front, View::Back, View::Side, View::FrontQuarter, View::BackQuarter};
    const int rows[] = {1, 2, 3, 5, 7};
    for (int v = 0; v < 5; ++v)
        for (int k = 0; k < WalkFrames; ++k)
        {
            const Canvas image = frame(views[v], walkPose(views[v], 2.0f * Pi * k / WalkFrames));
            put(image, k, rows[v]);
            if (facesSideways(views[v]))
                put(image.mirrored(), k, rows[v] + 1);
        }
    return sheet;
}

Canvas ManPainter::hairSheet() const
{
    Canvas sheet(5 * FrameWidth * Scale, FrameHeight * Scale);
    const View views[] = {View::Front, View::FrontQuarter, View::Side, View::BackQuarter, View::Back};
    for (int column = 0; column < 5; ++column)
        sheet.copy(hair(views[column]).scaled(Scale), column * FrameWidth * static_cast<int>(Scale), 0);
    return sheet;
}

Canvas ManPainter::shadow() const
{
    Canvas shadow(60, 100);
    shadow.fillEllipse(30.0f, 90.0f, 16.0f, 6.0f, sf::Color::White);
    return shadow.scaled(Scale);
}

std::string ManPainter::animationFile() const
{
    nlohmann::ordered_json animations;
    animations["Idle"] = {{"fps", 2}, {"frames", {{0, 0}, {1, 0}, {0, 0}, {1, 0}, {0, 0}, {2, 0}}}};
    const char* names[] = {"Down", "Up", "Right", "Left", "DownRight", "DownLeft", "UpRight", "UpLeft"};
    for (int row = 1; row <= 8; ++row)
    {
        nlohmann::ordered_json frames = nlohmann::ordered_json::array();
        for (int k = 0; k < WalkFrames; ++k)
            frames.push_back({k, row});
        // The game plays walking three times faster than it says: 9 frames a second on screen.
        animations[names[row - 1]] = {{"fps", 3}, {"frames", frames}};
    }
    nlohmann::ordered_json document;
    document["image"] = "QELMan.png";
    document["frameWidth"] = FrameWidth * static_cast<int>(Scale);
    document["frameHeight"] = FrameHeight * static_cast<int>(Scale);
    document["animations"] = animations;
    return document.dump(2) + "\n";
}

} // namespace QEL::AssetGen
