#include "plym/game/MusicManager.hpp"

#include "tests/plym/TestFiles.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using Plym::MusicManager;

using PlymTest::writeTone;

TEST(MusicManager, FirstAddedTrackPlaysAndVolumeScales)
{
    PlymTest::TempDirectory dir;
    const std::string first = writeTone(dir, "first.ogg", 2.f);
    const std::string second = writeTone(dir, "second.ogg", 2.f);
    ASSERT_FALSE(first.empty());

    MusicManager music;
    music.add(first);
    music.add(second);
    EXPECT_EQ(music.getCurrent(), first);
    EXPECT_EQ(music.getPlaylist().size(), 2u);
    ASSERT_NE(music.getMusic(), nullptr);
    EXPECT_FALSE(music.getMusic()->getLoop());
    EXPECT_FLOAT_EQ(music.getMusic()->getVolume(), 100.f);

    music.setVolume(0.5f);
    EXPECT_FLOAT_EQ(music.getMusic()->getVolume(), 50.f);

    music.play(second, 0.75f, true);
    EXPECT_EQ(music.getCurrent(), second);
    EXPECT_TRUE(music.getMusic()->getLoop());
    EXPECT_FLOAT_EQ(music.getMusic()->getVolume(), 37.5f);
    music.setVolume(1.f);
    EXPECT_FLOAT_EQ(music.getMusic()->getVolume(), 75.f);
    music.setVolume(4.f);
    EXPECT_EQ(music.getVolume(), 1.f);
}

TEST(MusicManager, MissingFilesAreReportedAndSkipped)
{
    PlymTest::TempDirectory dir;
    const std::string track = writeTone(dir, "track.ogg", 2.f);
    MusicManager music;

    testing::internal::CaptureStderr();
    music.add(dir.file("missing.ogg"));
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("missing.ogg"), std::string::npos);
    EXPECT_EQ(music.getCurrent(), "");

    music.add(track);    // nothing plays yet, so this one starts
    EXPECT_EQ(music.getCurrent(), track);

    testing::internal::CaptureStderr();
    music.play(dir.file("gone.ogg"), 0.75f, true);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(music.getCurrent(), track);    // the playing track goes on
}

TEST(MusicManager, AnEndedTrackGivesWayToTheNext)
{
    PlymTest::TempDirectory dir;
    const std::string shortTrack = writeTone(dir, "short.ogg", 0.05f);
    const std::string next = writeTone(dir, "next.ogg", 2.f);
    MusicManager music;
    music.add(shortTrack);
    music.add(next);
    ASSERT_EQ(music.getCurrent(), shortTrack);

    // Wait (bounded) for the stream to end; the assertion is on the order, not the time.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (music.getCurrent() == shortTrack && std::chrono::steady_clock::now() < deadline)
    {
        music.update(1.f / 33.f);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(music.getCurrent(), next);
}
