#include "tests/tools/AssetSounds.hpp"

#include <SFML/Audio/InputSoundFile.hpp>

#include <cmath>
#include <stdexcept>

namespace AssetSounds {

Track decode(const std::string& name)
{
    sf::InputSoundFile file;
    if (!file.openFromFile(name))
        throw std::runtime_error("cannot decode " + name);
    std::vector<sf::Int16> raw(file.getSampleCount());
    raw.resize(file.read(raw.data(), raw.size()));
    Track track;
    track.rate = file.getSampleRate();
    track.channels = file.getChannelCount();
    for (std::size_t i = 0; i + track.channels <= raw.size(); i += track.channels)
    {
        float sum = 0.0f;
        for (unsigned c = 0; c < track.channels; ++c)
            sum += raw[i + c];
        track.samples.push_back(sum / track.channels / 32768.0f);
    }
    return track;
}

double rms(const Track& track, std::size_t first, std::size_t last)
{
    double energy = 0.0;
    for (std::size_t i = first; i < last; ++i)
        energy += track.samples[i] * track.samples[i];
    return last > first ? std::sqrt(energy / static_cast<double>(last - first)) : 0.0;
}

} // namespace AssetSounds
