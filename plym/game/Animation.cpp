#include "plym/game/Animation.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace Plym
{
namespace
{

// Shared by the const and non-const look-ups.
template <class Map>
auto& lookup(Map& sequences, const std::string& name)
{
    auto found = sequences.find(name);
    if (found == sequences.end())
        throw std::runtime_error("Animation: no animation named \"" + name + "\"");
    return found->second;
}

} // namespace

bool Animation::loadFromFile(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
    {
        std::cerr << "Animation: cannot open \"" << path << "\"" << std::endl;
        return false;
    }
    sf::Vector2u frameSize;
    std::map<std::string, Sequence> sequences;
    std::string image;
    try
    {
        const nlohmann::json document = nlohmann::json::parse(file);
        image = document.at("image").get<std::string>();
        frameSize.x = document.at("frameWidth").get<unsigned>();
        frameSize.y = document.at("frameHeight").get<unsigned>();
        for (const auto& [name, entry] : document.at("animations").items())
        {
            Sequence sequence;
            sequence.fps = entry.at("fps").get<float>();
            for (const auto& frame : entry.at("frames"))
                sequence.frames.emplace_back(frame.at(0).get<unsigned>(), frame.at(1).get<unsigned>());
            if (!(sequence.fps > 0.f) || sequence.frames.empty())
                throw std::runtime_error("animation \"" + name + "\" needs a positive fps and at least one frame");
            sequences.emplace(name, std::move(sequence));
        }
        if (frameSize.x == 0 || frameSize.y == 0)
            throw std::runtime_error("frameWidth and frameHeight must be positive");
    }
    catch (const std::exception& error)
    {
        std::cerr << "Animation: \"" << path << "\" is malformed: " << error.what() << std::endl;
        return false;
    }
    sf::Texture texture;
    const std::string imagePath = (std::filesystem::path(path).parent_path() / image).string();
    if (!texture.loadFromFile(imagePath))
    {
        std::cerr << "Animation: cannot load the image \"" << imagePath << "\" of \"" << path << "\"" << std::endl;
        return false;
    }
    mTexture.swap(texture);
    mFrameSize = frameSize;
    mSequences = std::move(sequences);
    return true;
}

void Animation::update(const std::string& name, float seconds)
{
    Sequence& sequence = lookup(mSequences, name);
    const float loop = static_cast<float>(sequence.frames.size()) / sequence.fps;
    // Kept within one loop so that the clock never loses precision over a long run.
    sequence.time = std::fmod(sequence.time + seconds, loop);
    if (sequence.time < 0.f)
        sequence.time += loop;
}

void Animation::apply(const std::string& name, sf::Sprite& sprite) const
{
    const Sequence& sequence = lookup(mSequences, name);
    const sf::Vector2u cell = sequence.frames[frameOf(sequence)];
    sprite.setTexture(mTexture);
    sprite.setTextureRect(sf::IntRect(static_cast<int>(cell.x * mFrameSize.x), static_cast<int>(cell.y * mFrameSize.y),
                                      static_cast<int>(mFrameSize.x), static_cast<int>(mFrameSize.y)));
}

bool Animation::hasAnimation(const std::string& name) const
{
    return mSequences.count(name) > 0;
}

std::size_t Animation::getFrame(const std::string& name) const
{
    return frameOf(lookup(mSequences, name));
}

std::size_t Animation::frameOf(const Sequence& sequence) const
{
    const auto frame = static_cast<std::size_t>(sequence.time * sequence.fps);
    return frame % sequence.frames.size();
}

} // namespace Plym
