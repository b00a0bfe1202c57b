#include "app/StatsOverlay.hpp"

#include "plym/core/Profiling.hpp"
#include "plym/game/FontFinder.hpp"

#include <cstdio>
#include <string>

namespace QEL
{

StatsOverlay::StatsOverlay()
{
    mText.setFont(Plym::FontFinder::getDefaultFont());
    mText.setCharacterSize(12);
    mText.setPosition(128.f, 0.f);
}

void StatsOverlay::handle(const sf::Event& event)
{
    if (mF3.pressed(event))
        mShown = !mShown;
}

void StatsOverlay::countFrame(std::int64_t microseconds)
{
    const float seconds = static_cast<float>(microseconds) / 1000000.f;
    ++mFrames;
    if (mTimer >= 0.5f)
    {
        if (mShown)
        {
            char rate[32];
            std::snprintf(rate, sizeof(rate), "%d FPS", static_cast<int>(mFrames / mTimer));
            mText.setString(std::string(rate) + "\n\n" + Plym::Profiling::getStats(seconds));
        }
        mFrames = 0;
        mTimer = 0.f;
    }
    mTimer += seconds;
}

} // namespace QEL
