#ifndef PLYM_TESTS_TESTFILES_HPP
#define PLYM_TESTS_TESTFILES_HPP

#include "tests/plym/TempDirectory.hpp"

#include <SFML/Audio/OutputSoundFile.hpp>
#include <SFML/Graphics/Image.hpp>

#include <cmath>
#include <vector>

namespace PlymTest
{

/// A mono sine tone of the given length written as Ogg Vorbis; its path, empty on failure.
inline std::string writeTone(const TempDirectory& dir, const std::string& name, float seconds)
{
    const unsigned rate = 22050;
    std::vector<sf::Int16> samples(static_cast<std::size_t>(rate * seconds));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<sf::Int16>(8000 * std::sin(i * 0.05));
    sf::OutputSoundFile file;
    const std::string path = dir.file(name);
    if (!file.openFromFile(path, rate, 1))
        return {};
    file.write(samples.data(), samples.size());
    return path;
}

/// A PNG of one colour; its path.
inline std::string writeImage(const TempDirectory& dir, const std::string& name, unsigned width, unsigned height)
{
    sf::Image image;
    image.create(width, height, sf::Color::Red);
    const std::string path = dir.file(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    image.saveToFile(path);
    return path;
}

} // namespace PlymTest

#endif
