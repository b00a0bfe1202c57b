#include "tools/assetgen/SoundEffects.hpp"

#include "tools/assetgen/EffectTrack.hpp"

#include <functional>

namespace QEL::AssetGen {

namespace {

using Shape = EffectTrack::Shape;

// How one effect is made: its file, length in seconds, random seed and layers.
struct Recipe {
    const char* file;
    float seconds;
    std::uint32_t seed;
    std::function<void(EffectTrack&)> layers;
};

// An axe biting into a trunk; `depth` 0 to 3 follows the cut from the bark to the heartwood,
// each deeper stroke lower and duller: less crack and fewer chips, more thud.
void axeStroke(EffectTrack& track, int depth)
{
    const float deeper = static_cast<float>(depth);
    const float knock = 330.0f - 50.0f * deeper;
    track.noise(0.0f, 0.02f, 1500.0f, 8000.0f - 1200.0f * deeper, Shape::Strike, 150.0f, 1.0f - 0.2f * deeper);
    track.tone(0.0f, 0.3f, knock * 1.15f, knock, 22.0f, 0.9f);
    track.tone(0.0f, 0.15f, knock * 2.7f, knock * 2.6f, 40.0f, 0.3f);
    track.noise(0.0f, 0.25f, 80.0f, 900.0f - 120.0f * deeper, Shape::Strike, 18.0f, 0.8f + 0.25f * deeper);
    track.crackle(0.005f, 0.08f, 8 - 2 * depth, 6000.0f, 0.5f);
}

const Recipe Recipes[] = {
    // The trunk giving way before it falls.
    {"TreeCreak.ogg", 1.3f, 9201, [](EffectTrack& track) {
        track.creak(0.0f, 1.25f, 38.0f, 420.0f, 1.0f);
        track.creak(0.3f, 0.9f, 23.0f, 260.0f, 0.7f);
        track.noise(0.0f, 1.3f, 200.0f, 1500.0f, Shape::Swell, 0.0f, 0.15f);
    }},
    // The trunk hitting the ground: a heavy thud, a bounce and the crown's branches breaking.
    {"TreeCrash.ogg", 1.8f, 9202, [](EffectTrack& track) {
        track.tone(0.0f, 1.0f, 95.0f, 45.0f, 4.5f, 1.0f);
        track.noise(0.0f, 1.6f, 60.0f, 700.0f, Shape::Strike, 3.0f, 1.6f);
        track.noise(0.01f, 1.2f, 800.0f, 5000.0f, Shape::Strike, 4.5f, 0.8f);
        track.crackle(0.0f, 0.9f, 60, 7000.0f, 0.8f);
        track.tone(0.35f, 0.5f, 80.0f, 50.0f, 8.0f, 0.5f);
        track.noise(0.35f, 0.4f, 60.0f, 600.0f, Shape::Strike, 10.0f, 0.6f);
    }},
    // Branches stripped off a standing tree: a crack, splinters, then the leaves.
    {"BranchSnap.ogg", 0.5f, 9203, [](EffectTrack& track) {
        track.noise(0.0f, 0.03f, 2000.0f, 9000.0f, Shape::Strike, 120.0f, 1.0f);
        track.tone(0.0f, 0.08f, 900.0f, 600.0f, 60.0f, 0.5f);
        track.crackle(0.01f, 0.15f, 12, 7000.0f, 0.6f);
        track.noise(0.03f, 0.45f, 1500.0f, 6000.0f, Shape::Swell, 0.0f, 0.25f);
    }},
    // The felled crown's twigs cut away: two swishes of leaves and a snip.
    {"Trim.ogg", 0.9f, 9204, [](EffectTrack& track) {
        track.noise(0.0f, 0.45f, 1200.0f, 7000.0f, Shape::Swell, 0.0f, 0.8f);
        track.noise(0.35f, 0.5f, 900.0f, 6000.0f, Shape::Swell, 0.0f, 0.7f);
        track.crackle(0.05f, 0.8f, 25, 6000.0f, 0.35f);
        track.tone(0.1f, 0.05f, 2500.0f, 2200.0f, 80.0f, 0.3f);
    }},
    // The rope thrown round the log, pulled tight and knotted.
    {"RopeTie.ogg", 0.55f, 9205, [](EffectTrack& track) {
        track.noise(0.0f, 0.25f, 400.0f, 3000.0f, Shape::Swell, 0.0f, 0.6f);
        track.creak(0.22f, 0.28f, 60.0f, 300.0f, 0.7f);
        track.tone(0.25f, 0.2f, 160.0f, 120.0f, 25.0f, 0.6f);
        track.noise(0.25f, 0.1f, 100.0f, 1200.0f, Shape::Strike, 40.0f, 0.5f);
    }},
    // The knot worked loose and the rope slapping down slack.
    {"RopeUntie.ogg", 0.45f, 9206, [](EffectTrack& track) {
        track.creak(0.0f, 0.15f, 70.0f, 340.0f, 0.5f);
        track.noise(0.08f, 0.35f, 500.0f, 3500.0f, Shape::Swell, 0.0f, 0.7f);
        track.noise(0.3f, 0.12f, 150.0f, 1500.0f, Shape::Strike, 35.0f, 0.4f);
    }},
    // A rosebud plucked off a cactus: a soft pop and a little sparkle.
    {"RosebudPick.ogg", 0.3f, 9207, [](EffectTrack& track) {
        track.tone(0.0f, 0.12f, 380.0f, 1100.0f, 25.0f, 0.9f);
        track.noise(0.0f, 0.015f, 3000.0f, 9000.0f, Shape::Strike, 200.0f, 0.5f);
        track.tone(0.05f, 0.22f, 1760.0f, 1760.0f, 14.0f, 0.25f);
        track.tone(0.09f, 0.2f, 2637.0f, 2637.0f, 16.0f, 0.18f);
    }},
    // Jumping into water: the plunge, the spray and bubbles rising.
    {"Splash.ogg", 1.0f, 9208, [](EffectTrack& track) {
        track.noise(0.0f, 0.8f, 300.0f, 5000.0f, Shape::Strike, 5.0f, 1.0f);
        track.noise(0.0f, 0.15f, 60.0f, 400.0f, Shape::Strike, 20.0f, 0.8f);
        track.bubbles(0.05f, 0.7f, 18, 700.0f, 0.35f);
        track.crackle(0.02f, 0.5f, 30, 8000.0f, 0.3f);
    }},
    // One soft step through water.
    {"Wade.ogg", 0.5f, 9209, [](EffectTrack& track) {
        track.noise(0.0f, 0.45f, 150.0f, 1800.0f, Shape::Swell, 0.0f, 0.9f);
        track.bubbles(0.1f, 0.3f, 4, 500.0f, 0.25f);
    }},
    // One step on grass: blades crunching over a soft heel.
    {"StepGrass.ogg", 0.25f, 9210, [](EffectTrack& track) {
        track.noise(0.0f, 0.12f, 1500.0f, 7000.0f, Shape::Strike, 30.0f, 0.7f);
        track.crackle(0.0f, 0.08f, 10, 7000.0f, 0.6f);
        track.noise(0.0f, 0.08f, 80.0f, 500.0f, Shape::Strike, 40.0f, 0.7f);
    }},
    // One step on sand: a duller shuffle of grains.
    {"StepSand.ogg", 0.25f, 9211, [](EffectTrack& track) {
        track.noise(0.0f, 0.18f, 400.0f, 3000.0f, Shape::Strike, 18.0f, 0.8f);
        track.crackle(0.0f, 0.15f, 25, 4000.0f, 0.25f);
        track.noise(0.0f, 0.06f, 60.0f, 300.0f, Shape::Strike, 50.0f, 0.5f);
    }},
    // A paving stone set down on gravel.
    {"RoadLay.ogg", 0.5f, 9212, [](EffectTrack& track) {
        track.tone(0.0f, 0.25f, 600.0f, 560.0f, 30.0f, 0.6f);
        track.tone(0.0f, 0.3f, 170.0f, 140.0f, 14.0f, 0.8f);
        track.noise(0.0f, 0.3f, 200.0f, 4000.0f, Shape::Strike, 15.0f, 0.7f);
        track.crackle(0.02f, 0.3f, 20, 6000.0f, 0.35f);
    }},
    // A paving stone prised up: a knock, then stone scraping over grit.
    {"RoadRemove.ogg", 0.6f, 9213, [](EffectTrack& track) {
        track.tone(0.0f, 0.2f, 140.0f, 120.0f, 20.0f, 0.5f);
        track.noise(0.0f, 0.5f, 500.0f, 4000.0f, Shape::Swell, 0.0f, 0.7f);
        track.crackle(0.0f, 0.45f, 35, 6000.0f, 0.35f);
        track.tone(0.35f, 0.2f, 400.0f, 380.0f, 30.0f, 0.4f);
    }},
    // The volume button.
    {"Click.ogg", 0.08f, 9214, [](EffectTrack& track) {
        track.tone(0.0f, 0.06f, 2200.0f, 1800.0f, 90.0f, 0.8f);
        track.noise(0.0f, 0.01f, 3000.0f, 9000.0f, Shape::Strike, 400.0f, 0.4f);
    }},
};

SoundEffects::Effect record(const std::string& file, float seconds, std::uint32_t seed, const std::function<void(EffectTrack&)>& layers)
{
    EffectTrack track(SoundEffects::SampleRate, seconds, seed);
    layers(track);
    return {file, track.render()};
}

} // namespace

std::vector<SoundEffects::Effect> SoundEffects::all()
{
    std::vector<Effect> effects;
    for (int depth = 0; depth < 4; ++depth)
        effects.push_back(record("AxeStroke" + std::to_string(depth + 1) + ".ogg", 0.4f, 9100 + static_cast<std::uint32_t>(depth),
                                 [depth](EffectTrack& track) { axeStroke(track, depth); }));
    for (const Recipe& recipe : Recipes)
        effects.push_back(record(recipe.file, recipe.seconds, recipe.seed, recipe.layers));
    return effects;
}

} // namespace QEL::AssetGen
