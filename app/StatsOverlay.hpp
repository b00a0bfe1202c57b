#ifndef QEL_APP_STATSOVERLAY_HPP
#define QEL_APP_STATSOVERLAY_HPP

#include "app/KeyLatch.hpp"

#include <SFML/Graphics/Text.hpp>
#include <SFML/Window/Event.hpp>

#include <cstdint>

namespace QEL
{

/// The statistics overlay that F3 shows and hides: the frame rate and the profiler's report,
/// refreshed twice a second while it is shown.
class StatsOverlay
{
public:
    StatsOverlay();

    /// F3 toggles the overlay once per press, however long the key is held.
    void handle(const sf::Event& event);

    bool isShown() const { return mShown; }

    /// Counts a frame that took `microseconds`.
    void countFrame(std::int64_t microseconds);

    /// "<rate> FPS", an empty line, then the statistics; empty until the first refresh shown.
    const sf::Text& getText() const { return mText; }

private:
    bool mShown = false;
    KeyLatch mF3{sf::Keyboard::F3};
    int mFrames = 0;
    float mTimer = 9001.f;    // so that the first refresh comes after the first frame
    sf::Text mText;
};

} // namespace QEL

#endif
