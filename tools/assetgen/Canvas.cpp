#include "tools/assetgen/Canvas.hpp"

#include "tools/assetgen/Palette.hpp"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace QEL::AssetGen {

Canvas::Canvas(unsigned width, unsigned height, sf::Color fill)
: mWidth(width), mHeight(height), mPixels(static_cast<std::size_t>(width) * height, fill)
{
}

unsigned Canvas::getWidth() const
{
    return mWidth;
}

unsigned Canvas::getHeight() const
{
    return mHeight;
}

bool Canvas::contains(int x, int y) const
{
    return x >= 0 && y >= 0 && x < static_cast<int>(getWidth()) && y < static_cast<int>(getHeight());
}

sf::Color Canvas::get(int x, int y) const
{
    return contains(x, y) ? mPixels[static_cast<std::size_t>(y) * mWidth + x] : sf::Color::Transparent;
}

void Canvas::set(int x, int y, sf::Color color)
{
    if (contains(x, y))
        mPixels[static_cast<std::size_t>(y) * mWidth + x] = color;
}

void Canvas::blend(int x, int y, sf::Color color)
{
    if (!contains(x, y) || color.a == 0)
        return;
    sf::Color& pixel = mPixels[static_cast<std::size_t>(y) * mWidth + x];
    if (color.a == 255)
    {
        pixel = color;
        return;
    }
    const sf::Color below = pixel;
    const float a = color.a / 255.0f;
    const float b = below.a / 255.0f * (1.0f - a);
    const float out = a + b;
    auto channel = [&](sf::Uint8 top, sf::Uint8 bottom) {
        return static_cast<sf::Uint8>(std::lround((top * a + bottom * b) / out));
    };
    pixel = sf::Color(channel(color.r, below.r), channel(color.g, below.g), channel(color.b, below.b),
                      static_cast<sf::Uint8>(std::lround(out * 255.0f)));
}

void Canvas::fillRect(int left, int top, int width, int height, sf::Color color)
{
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            blend(x, y, color);
}

void Canvas::fillEllipse(float cx, float cy, float rx, float ry, sf::Color color)
{
    fillEllipse(cx, cy, rx, ry, [color](int, int) { return color; });
}

void Canvas::fillEllipse(float cx, float cy, float rx, float ry, const Shader& shader)
{
    const int x0 = static_cast<int>(std::floor(cx - rx));
    const int x1 = static_cast<int>(std::ceil(cx + rx));
    const int y0 = static_cast<int>(std::floor(cy - ry));
    const int y1 = static_cast<int>(std::ceil(cy + ry));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
        {
            const float dx = (x + 0.5f - cx) / rx;
            const float dy = (y + 0.5f - cy) / ry;
            if (dx * dx + dy * dy <= 1.0f)
                blend(x, y, shader(x, y));
        }
}

void Canvas::fillCapsule(sf::Vector2f a, sf::Vector2f b, float radius, const Shader& shader)
{
    const int x0 = static_cast<int>(std::floor(std::min(a.x, b.x) - radius));
    const int x1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + radius));
    const int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - radius));
    const int y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + radius));
    const sf::Vector2f ab = b - a;
    const float length2 = std::max(ab.x * ab.x + ab.y * ab.y, 1e-6f);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
        {
            const sf::Vector2f p(x + 0.5f - a.x, y + 0.5f - a.y);
            const float t = std::clamp((p.x * ab.x + p.y * ab.y) / length2, 0.0f, 1.0f);
            const float dx = p.x - ab.x * t;
            const float dy = p.y - ab.y * t;
            if (dx * dx + dy * dy <= radius * radius)
                blend(x, y, shader(x, y));
        }
}

void Canvas::fillCapsule(sf::Vector2f a, sf::Vector2f b, float radius, sf::Color color)
{
    fillCapsule(a, b, radius, [color](int, int) { return color; });
}

void Canvas::fillPolygon(const std::vector<sf::Vector2f>& points, sf::Color color)
{
    if (points.size() < 3)
        return;
    float top = points[0].y;
    float bottom = points[0].y;
    for (const sf::Vector2f& p : points)
    {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    // Even-odd scanline fill sampled at pixel centres.
    for (int y = static_cast<int>(std::floor(top)); y <= static_cast<int>(std::ceil(bottom)); ++y)
    {
        const float sy = y + 0.5f;
        std::vector<float> crossings;
        for (std::size_t i = 0; i < points.size(); ++i)
        {
            const sf::Vector2f& p = points[i];
            const sf::Vector2f& q = points[(i + 1) % points.size()];
            if ((p.y <= sy) != (q.y <= sy))
                crossings.push_back(p.x + (sy - p.y) / (q.y - p.y) * (q.x - p.x));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2)
            for (int x = static_cast<int>(std::ceil(crossings[i] - 0.5f)); x + 0.5f < crossings[i + 1]; ++x)
                blend(x, y, color);
    }
}

void Canvas::outline(float darkness)
{
    const Canvas source = *this;
    const int w = static_cast<int>(getWidth());
    const int h = static_cast<int>(getHeight());
    auto opaque = [&](int x, int y) { return source.get(x, y).a >= 128; };
    const int dx[4] = {1, -1, 0, 0};
    const int dy[4] = {0, 0, 1, -1};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            if (opaque(x, y))
                continue;
            for (int i = 0; i < 4; ++i)
                if (opaque(x + dx[i], y + dy[i]))
                {
                    set(x, y, Palette::outlineOf(source.get(x + dx[i], y + dy[i]), darkness));
                    break;
                }
        }
}

void Canvas::paste(const Canvas& src, int x, int y)
{
    for (unsigned sy = 0; sy < src.getHeight(); ++sy)
        for (unsigned sx = 0; sx < src.getWidth(); ++sx)
            blend(x + static_cast<int>(sx), y + static_cast<int>(sy), src.get(sx, sy));
}

void Canvas::copy(const Canvas& src, int x, int y)
{
    for (unsigned sy = 0; sy < src.getHeight(); ++sy)
        for (unsigned sx = 0; sx < src.getWidth(); ++sx)
            set(x + static_cast<int>(sx), y + static_cast<int>(sy), src.get(sx, sy));
}

Canvas Canvas::crop(int left, int top, unsigned width, unsigned height) const
{
    Canvas result(width, height);
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x)
            result.set(x, y, get(left + static_cast<int>(x), top + static_cast<int>(y)));
    return result;
}

Canvas Canvas::scaled(unsigned factor) const
{
    Canvas result(getWidth() * factor, getHeight() * factor);
    for (unsigned y = 0; y < result.getHeight(); ++y)
        for (unsigned x = 0; x < result.getWidth(); ++x)
            result.mPixels[static_cast<std::size_t>(y) * result.mWidth + x] =
                mPixels[static_cast<std::size_t>(y / factor) * mWidth + x / factor];
    return result;
}

Canvas Canvas::mirrored() const
{
    Canvas result(*this);
    for (unsigned y = 0; y < mHeight; ++y)
        std::reverse(result.mPixels.begin() + y * mWidth, result.mPixels.begin() + (y + 1) * mWidth);
    return result;
}

sf::Image Canvas::toImage() const
{
    static_assert(sizeof(sf::Color) == 4, "pixels are handed over as RGBA bytes");
    sf::Image image;
    image.create(mWidth, mHeight, reinterpret_cast<const sf::Uint8*>(mPixels.data()));
    return image;
}

bool Canvas::saveToFile(const std::string& path) const
{
    // libpng's fast mode: the image writer built into SFML takes about a second per megapixel,
    // which would make every build wait for the art.
    png_image description;
    std::memset(&description, 0, sizeof(description));
    description.version = PNG_IMAGE_VERSION;
    description.width = getWidth();
    description.height = getHeight();
    description.format = PNG_FORMAT_RGBA;
    description.flags = PNG_IMAGE_FLAG_FAST;
    const sf::Image image = toImage();
    const bool written = png_image_write_to_file(&description, path.c_str(), 0, image.getPixelsPtr(), 0, nullptr) != 0;
    png_image_free(&description);
    return written;
}

} // namespace QEL::AssetGen
