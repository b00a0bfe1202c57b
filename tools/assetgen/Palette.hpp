#ifndef QEL_ASSETGEN_PALETTE_HPP
#define QEL_ASSETGEN_PALETTE_HPP

#include "tools/assetgen/ColorRamp.hpp"

#include <SFML/Graphics/Color.hpp>

namespace QEL::AssetGen {

// The game's shared colours: one warm, soft palette for every picture.
class Palette {
public:
    static sf::Color mix(sf::Color a, sf::Color b, float t);
    static sf::Color darken(sf::Color color, float amount);
    static sf::Color lighten(sf::Color color, float amount);
    static sf::Color withAlpha(sf::Color color, sf::Uint8 alpha);
    // The line colour drawn around a pixel of this colour: darker, cooler, opaque.
    static sf::Color outlineOf(sf::Color inner, float darkness);

    static const ColorRamp& grass();
    static const ColorRamp& sand();
    static const ColorRamp& beach();
    static const ColorRamp& shallow();
    static const ColorRamp& deep();
    static const ColorRamp& dirt();
    static const ColorRamp& bark();
    static const ColorRamp& leaves();
    static const ColorRamp& cactus();
    static const ColorRamp& skin();
    static const ColorRamp& hair();
    static const ColorRamp& tunic();
    static const ColorRamp& trousers();
    static const ColorRamp& leather();
    static const ColorRamp& wood();
    static const ColorRamp& metal();
    static const ColorRamp& brass();
    static const ColorRamp& snake();

    static const sf::Color Ink;   // darkest line colour (eyes, text)
    static const sf::Color Foam;  // surf and highlights on water
    static const sf::Color Blossom;
};

} // namespace QEL::AssetGen

#endif
