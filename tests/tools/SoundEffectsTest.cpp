// The generated sound effects: each one the game loads is a mono file (only mono is placed in
// the world) that starts at once, lasts what its action lasts, is clearly heard and ends quietly.
#include "tests/tools/AssetSounds.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

namespace {

struct Effect {
    const char* file;
    double shortest;  // seconds
    double longest;
};

const Effect Effects[] = {
    {"AxeStroke1.ogg", 0.2, 0.6},  {"AxeStroke2.ogg", 0.2, 0.6}, {"AxeStroke3.ogg", 0.2, 0.6},
    {"AxeStroke4.ogg", 0.2, 0.6},  {"TreeCreak.ogg", 0.8, 2.0},  {"TreeCrash.ogg", 1.0, 2.5},
    {"BranchSnap.ogg", 0.2, 0.8},  {"Trim.ogg", 0.4, 1.2},       {"RopeTie.ogg", 0.2, 0.8},
    {"RopeUntie.ogg", 0.2, 0.8},   {"RosebudPick.ogg", 0.1, 0.5}, {"Splash.ogg", 0.5, 1.5},
    {"Wade.ogg", 0.2, 0.7},        {"StepGrass.ogg", 0.1, 0.35}, {"StepSand.ogg", 0.1, 0.35},
    {"RoadLay.ogg", 0.2, 0.8},     {"RoadRemove.ogg", 0.2, 0.8}, {"Click.ogg", 0.02, 0.15},
};

void PrintTo(const Effect& effect, std::ostream* out)
{
    *out << effect.file;
}

class SoundEffect : public ::testing::TestWithParam<Effect> {};

TEST_P(SoundEffect, IsMonoPromptAsLongAsItsActionHeardAndEndsQuietly)
{
    const Effect& effect = GetParam();
    const AssetSounds::Track track = AssetSounds::decode(effect.file);
    EXPECT_EQ(track.channels, 1u);
    ASSERT_GT(track.rate, 0u);
    EXPECT_GE(track.seconds(), effect.shortest);
    EXPECT_LE(track.seconds(), effect.longest);

    float peak = 0.0f;
    for (float s : track.samples)
        peak = std::max(peak, std::fabs(s));
    EXPECT_GT(peak, 0.5f);
    EXPECT_GT(AssetSounds::rms(track, 0, track.samples.size()), 0.02);

    const auto onset = std::find_if(track.samples.begin(), track.samples.end(), [](float s) { return std::fabs(s) > 0.1f; });
    EXPECT_LT(static_cast<double>(onset - track.samples.begin()) / track.rate, 0.06);

    // No click when it stops: the last two milliseconds are all but silent.
    const std::size_t tail = track.rate / 500;
    ASSERT_GT(track.samples.size(), tail);
    for (std::size_t i = track.samples.size() - tail; i < track.samples.size(); ++i)
        ASSERT_LT(std::fabs(track.samples[i]), 0.05f) << "at sample " << i;
}

INSTANTIATE_TEST_SUITE_P(EveryEffect, SoundEffect, ::testing::ValuesIn(Effects),
                         [](const ::testing::TestParamInfo<Effect>& info) {
                             const std::string file = info.param.file;
                             return file.substr(0, file.find('.'));
                         });

// How much of the sound's energy lies in its quick changes: the higher, the brighter it sounds.
double brightness(const AssetSounds::Track& track)
{
    double changes = 0.0;
    double energy = 0.0;
    for (std::size_t i = 1; i < track.samples.size(); ++i)
    {
        const double step = track.samples[i] - track.samples[i - 1];
        changes += step * step;
        energy += track.samples[i] * track.samples[i];
    }
    return changes / energy;
}

TEST(AxeStrokes, SoundDullerAsTheCutDeepens)
{
    double previous = 1e9;
    for (const char* file : {"AxeStroke1.ogg", "AxeStroke2.ogg", "AxeStroke3.ogg", "AxeStroke4.ogg"})
    {
        SCOPED_TRACE(file);
        const double bright = brightness(AssetSounds::decode(file));
        EXPECT_LT(bright, previous * 0.95);
        previous = bright;
    }
}

} // namespace
