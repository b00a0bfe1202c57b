#include "plym/game/SoundManager.hpp"

#include <SFML/Audio/SoundBuffer.hpp>

#include <gtest/gtest.h>

#include <vector>

using Plym::SoundManager;
using Outcome = Plym::SoundManager::Outcome;
using Plym::Math::Vector2;

namespace
{

/// Half a second of a mono tone.
sf::SoundBuffer halfSecond()
{
    std::vector<sf::Int16> samples(11025);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<sf::Int16>((i % 40) * 500);
    sf::SoundBuffer buffer;
    EXPECT_TRUE(buffer.loadFromSamples(samples.data(), samples.size(), 1, 22050));
    return buffer;
}

} // namespace

TEST(SoundManager, AFloodKeepsToTheVoicesAndDropsTheRestQuietlyUntilVoicesEnd)
{
    const sf::SoundBuffer buffer = halfSecond();
    SoundManager sounds;
    std::vector<Outcome> outcomes;
    sounds.setObserver([&outcomes](const SoundManager::Report& report) { outcomes.push_back(report.outcome); });

    for (int i = 0; i < 300; ++i)
        sounds.play("Flood", buffer, Vector2(10.f, 0.f));
    EXPECT_EQ(sounds.getLiveVoices(), SoundManager::MaxVoices);
    EXPECT_EQ(sounds.getPlayed(), SoundManager::MaxVoices);
    EXPECT_EQ(sounds.getDropped(), 300 - SoundManager::MaxVoices);
    ASSERT_EQ(outcomes.size(), 300u);
    EXPECT_EQ(outcomes[SoundManager::MaxVoices - 1], Outcome::Played);
    EXPECT_EQ(outcomes[SoundManager::MaxVoices], Outcome::Dropped);

    // A voice is busy for its effect's length, counted in steps; the interface waits its turn too.
    sounds.update(0.3f);
    EXPECT_EQ(sounds.playFlat("Click", buffer), Outcome::Dropped);
    sounds.update(0.3f);
    EXPECT_EQ(sounds.getLiveVoices(), 0u);
    EXPECT_EQ(sounds.playFlat("Click", buffer), Outcome::Played);
    EXPECT_EQ(sounds.play("Late", buffer, Vector2(), 1.f, 2.f), Outcome::Played);
    // Played twice as fast, the second effect ends first.
    sounds.update(0.3f);
    EXPECT_EQ(sounds.getLiveVoices(), 1u);
}

TEST(SoundManager, NothingBeyondTheReachIsPlayedAndTheReachFollowsTheListener)
{
    const sf::SoundBuffer buffer = halfSecond();
    SoundManager sounds;
    std::vector<SoundManager::Report> reports;
    sounds.setObserver([&reports](const SoundManager::Report& report) { reports.push_back(report); });
    sounds.setListener(Vector2(1000.f, 1000.f));

    const float reach = SoundManager::Reach;
    const struct
    {
        Vector2 at;
        Outcome outcome;
    } cases[] = {
        {Vector2(1000.f + reach - 1.f, 1000.f), Outcome::Played},
        {Vector2(1000.f, 1000.f - reach - 1.f), Outcome::OutOfReach},
        {Vector2(1000.f + reach * 0.72f, 1000.f + reach * 0.72f), Outcome::OutOfReach},
        {Vector2(1000.f - reach * 0.7f, 1000.f + reach * 0.7f), Outcome::Played},
    };
    for (const auto& sample : cases)
        EXPECT_EQ(sounds.play("Near or far", buffer, sample.at), sample.outcome) << sample.at.x << ", " << sample.at.y;
    EXPECT_EQ(sounds.getOutOfReach(), 2u);
    EXPECT_EQ(sounds.getLiveVoices(), 2u);  // unheard effects take no voice

    sounds.setListener(Vector2(1000.f, -100.f));
    EXPECT_EQ(sounds.play("Near now", buffer, Vector2(1000.f, -1.f)), Outcome::Played);
    // The interface's sounds are heard wherever the listener is.
    EXPECT_EQ(sounds.playFlat("Click", buffer), Outcome::Played);
    ASSERT_EQ(reports.size(), 6u);
    EXPECT_EQ(reports[4].name, "Near now");
    EXPECT_TRUE(reports[4].placed);
    EXPECT_FALSE(reports[5].placed);
}
