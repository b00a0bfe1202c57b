#ifndef QEL_ASSETGEN_CANVAS_HPP
#define QEL_ASSETGEN_CANVAS_HPP

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/System/Vector2.hpp>

#include <functional>
#include <string>
#include <vector>

namespace QEL::AssetGen {

// A picture being painted: pixel access, filled shapes and compositing; it becomes an sf::Image.
// Painters draw at a coarse "art" resolution and enlarge the result with scaled().
class Canvas {
public:
    // Colour of one pixel of a shape, from its position.
    using Shader = std::function<sf::Color(int x, int y)>;

    Canvas(unsigned width, unsigned height, sf::Color fill = sf::Color::Transparent);

    unsigned getWidth() const;
    unsigned getHeight() const;
    bool contains(int x, int y) const;

    // Transparent outside the canvas.
    sf::Color get(int x, int y) const;
    // Writes are ignored outside the canvas.
    void set(int x, int y, sf::Color color);
    // Alpha-composites the colour over the pixel.
    void blend(int x, int y, sf::Color color);

    void fillRect(int left, int top, int width, int height, sf::Color color);
    void fillEllipse(float cx, float cy, float rx, float ry, sf::Color color);
    void fillEllipse(float cx, float cy, float rx, float ry, const Shader& shader);
    // A thick segment with round ends (limbs, branches, strokes).
    void fillCapsule(sf::Vector2f a, sf::Vector2f b, float radius, const Shader& shader);
    void fillCapsule(sf::Vector2f a, sf::Vector2f b, float radius, sf::Color color);
    void fillPolygon(const std::vector<sf::Vector2f>& points, sf::Color color);

    // Rings every opaque area with a one pixel line, darker than the pixel it borders.
    void outline(float darkness = 0.45f);
    // Draws src over this canvas with its top-left corner at (x, y).
    void paste(const Canvas& src, int x, int y);
    // Copies src's pixels unchanged, alpha included.
    void copy(const Canvas& src, int x, int y);
    Canvas crop(int left, int top, unsigned width, unsigned height) const;
    Canvas scaled(unsigned factor) const;
    Canvas mirrored() const;

    sf::Image toImage() const;
    bool saveToFile(const std::string& path) const;

private:
    // Pixels row by row; kept outside sf::Image while painting, as every access through its
    // accessors costs a call.
    unsigned mWidth;
    unsigned mHeight;
    std::vector<sf::Color> mPixels;
};

} // namespace QEL::AssetGen

#endif
