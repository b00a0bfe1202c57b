#include "tools/assetgen/IconPainter.hpp"

#include "tools/assetgen/Palette.hpp"

namespace QEL::AssetGen {

Canvas IconPainter::icon() const
{
    Canvas art(Art, Art);
    const auto shaded = [](const ColorRamp& ramp, float cy, float ry) {
        // Lit from the top: lighter above, darker below.
        return [&ramp, cy, ry](int x, int y) { return ramp.pick(0.75f - 0.4f * (y - cy) / ry, x, y); };
    };
    art.fillEllipse(32.f, 32.f, 30.f, 30.f, shaded(Palette::deep(), 32.f, 30.f));
    art.fillEllipse(32.f, 36.f, 23.f, 17.f, shaded(Palette::beach(), 36.f, 17.f));
    art.fillEllipse(32.f, 35.f, 19.f, 13.f, shaded(Palette::grass(), 35.f, 13.f));
    art.fillEllipse(33.f, 43.f, 9.f, 3.f, Palette::withAlpha(Palette::darken(Palette::grass().tone(0), 0.4f), 120));
    art.fillCapsule(sf::Vector2f(32.f, 43.f), sf::Vector2f(32.f, 28.f), 2.5f, shaded(Palette::bark(), 36.f, 8.f));
    art.fillEllipse(32.f, 22.f, 13.f, 11.f, shaded(Palette::leaves(), 22.f, 11.f));
    art.fillEllipse(27.f, 18.f, 6.f, 5.f, shaded(Palette::leaves(), 14.f, 5.f));
    art.outline();
    return art.scaled(Scale);
}

} // namespace QEL::AssetGen
