#include "tools/assetgen/Palette.hpp"

#include <cmath>

namespace QEL::AssetGen {

const sf::Color Palette::Ink(43, 33, 45);
const sf::Color Palette::Foam(236, 246, 240);
const sf::Color Palette::Blossom(236, 112, 150);

sf::Color Palette::mix(sf::Color a, sf::Color b, float t)
{
    auto channel = [t](sf::Uint8 x, sf::Uint8 y) {
        return static_cast<sf::Uint8>(std::lround(x + (y - x) * t));
    };
    return sf::Color(channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b), channel(a.a, b.a));
}

sf::Color Palette::darken(sf::Color color, float amount)
{
    // Shadows lean towards a warm purple instead of grey.
    const sf::Color shadow(46, 30, 52, color.a);
    return mix(color, shadow, amount);
}

sf::Color Palette::lighten(sf::Color color, float amount)
{
    const sf::Color light(255, 246, 214, color.a);
    return mix(color, light, amount);
}

sf::Color Palette::withAlpha(sf::Color color, sf::Uint8 alpha)
{
    color.a = alpha;
    return color;
}

sf::Color Palette::outlineOf(sf::Color inner, float darkness)
{
    sf::Color line = mix(inner, Ink, darkness + 0.25f);
    line.a = 255;
    return line;
}

const ColorRamp& Palette::grass()
{
    static const ColorRamp ramp{{58, 110, 58}, {76, 134, 62}, {98, 158, 68}, {124, 180, 78}, {156, 200, 96}};
    return ramp;
}

const ColorRamp& Palette::sand()
{
    static const ColorRamp ramp{{186, 136, 84}, {208, 160, 102}, {224, 182, 122}, {236, 202, 144}, {246, 222, 172}};
    return ramp;
}

const ColorRamp& Palette::beach()
{
    static const ColorRamp ramp{{210, 180, 126}, {226, 200, 146}, {238, 216, 164}, {246, 230, 186}};
    return ramp;
}

const ColorRamp& Palette::shallow()
{
    static const ColorRamp ramp{{58, 140, 182}, {72, 160, 196}, {92, 180, 208}, {128, 206, 222}, {176, 230, 232}};
    return ramp;
}

const ColorRamp& Palette::deep()
{
    static const ColorRamp ramp{{28, 58, 118}, {36, 74, 138}, {46, 90, 154}, {66, 114, 176}, {104, 150, 200}};
    return ramp;
}

const ColorRamp& Palette::dirt()
{
    static const ColorRamp ramp{{118, 84, 56}, {146, 108, 72}, {170, 132, 90}, {192, 158, 112}, {214, 186, 140}};
    return ramp;
}

const ColorRamp& Palette::bark()
{
    static const ColorRamp ramp{{72, 46, 40}, {98, 64, 48}, {126, 86, 58}, {156, 112, 74}, {184, 142, 98}};
    return ramp;
}

const ColorRamp& Palette::leaves()
{
    static const ColorRamp ramp{{34, 78, 56}, {46, 102, 60}, {66, 130, 64}, {96, 158, 70}, {138, 190, 88}, {182, 216, 118}};
    return ramp;
}

const ColorRamp& Palette::cactus()
{
    static const ColorRamp ramp{{44, 98, 70}, {60, 126, 78}, {86, 152, 86}, {128, 182, 104}};
    return ramp;
}

const ColorRamp& Palette::skin()
{
    static const ColorRamp ramp{{170, 104, 84}, {208, 142, 110}, {234, 178, 140}, {248, 206, 170}};
    return ramp;
}

const ColorRamp& Palette::hair()
{
    static const ColorRamp ramp{{84, 40, 30}, {122, 60, 36}, {160, 86, 44}, {196, 120, 62}, {224, 160, 92}};
    return ramp;
}

const ColorRamp& Palette::tunic()
{
    static const ColorRamp ramp{{42, 66, 120}, {56, 92, 152}, {76, 122, 180}, {108, 156, 204}};
    return ramp;
}

const ColorRamp& Palette::trousers()
{
    static const ColorRamp ramp{{70, 56, 60}, {96, 78, 74}, {124, 102, 88}, {150, 128, 106}};
    return ramp;
}

const ColorRamp& Palette::leather()
{
    static const ColorRamp ramp{{70, 40, 32}, {98, 60, 40}, {130, 84, 52}, {164, 114, 70}};
    return ramp;
}

const ColorRamp& Palette::wood()
{
    static const ColorRamp ramp{{64, 40, 34}, {92, 60, 42}, {124, 84, 54}, {156, 112, 70}, {186, 144, 94}};
    return ramp;
}

const ColorRamp& Palette::metal()
{
    static const ColorRamp ramp{{70, 78, 96}, {110, 120, 138}, {156, 166, 180}, {204, 212, 220}, {240, 244, 248}};
    return ramp;
}

const ColorRamp& Palette::brass()
{
    static const ColorRamp ramp{{104, 66, 36}, {150, 104, 48}, {194, 148, 66}, {226, 190, 98}, {248, 228, 156}};
    return ramp;
}

const ColorRamp& Palette::snake()
{
    static const ColorRamp ramp{{58, 84, 40}, {90, 118, 46}, {128, 150, 58}, {170, 180, 84}};
    return ramp;
}

} // namespace QEL::AssetGen
