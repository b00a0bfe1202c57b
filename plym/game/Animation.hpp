#ifndef PLYM_GAME_ANIMATION_HPP
#define PLYM_GAME_ANIMATION_HPP

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <map>
#include <string>
#include <vector>

namespace Plym
{

/// Named frame sequences over one image, read from an animation file (JSON):
///
///   { "image": "QELMan.png", "frameWidth": 180, "frameHeight": 270,
///     "animations": { "Idle": { "fps": 2, "frames": [[0,0],[1,0]] }, ... } }
///
/// Frames are [column, row] cells of frameWidth x frameHeight pixels; the image path is
/// relative to the animation file's folder. Every animation keeps its own clock and loops.
class Animation
{
public:
    /// Reads the file and its image; false (with the reason on standard error) when either
    /// is missing or malformed. The animation is unchanged on failure.
    bool loadFromFile(const std::string& path);

    /// Advances the named animation's clock. Throws std::runtime_error for an unknown name.
    void update(const std::string& name, float seconds);

    /// Sets the sprite's texture and the rectangle of the named animation's current frame.
    /// Throws std::runtime_error for an unknown name.
    void apply(const std::string& name, sf::Sprite& sprite) const;

    bool hasAnimation(const std::string& name) const;

    /// Index of the named animation's current frame.
    std::size_t getFrame(const std::string& name) const;

private:
    struct Sequence
    {
        float fps = 0.f;
        std::vector<sf::Vector2u> frames;
        float time = 0.f;    // seconds into the loop
    };

    std::size_t frameOf(const Sequence& sequence) const;

    sf::Texture mTexture;
    sf::Vector2u mFrameSize;
    std::map<std::string, Sequence> mSequences;
};

} // namespace Plym

#endif
