#include "tools/assetgen/AssetWriter.hpp"

#include <SFML/Audio/OutputSoundFile.hpp>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace QEL::AssetGen {

AssetWriter::AssetWriter(std::string directory) : mDirectory(std::move(directory)) {}

std::string AssetWriter::pathOf(const std::string& name) const
{
    return mDirectory + "/" + name;
}

void AssetWriter::announce(const std::string& what) const
{
    const std::lock_guard<std::mutex> lock(mConsole);
    std::cout << what << "..." << std::endl;
}

void AssetWriter::report(const std::string& name, const std::string& detail) const
{
    const std::lock_guard<std::mutex> lock(mConsole);
    std::cout << "  wrote " << name << " (" << detail << ")" << std::endl;
}

void AssetWriter::writeImage(const std::string& name, const Canvas& picture)
{
    if (!picture.saveToFile(pathOf(name)))
        throw std::runtime_error("Cannot write " + pathOf(name));
    mContactSheet.add(name, picture);
    report(name, std::to_string(picture.getWidth()) + " x " + std::to_string(picture.getHeight()));
}

void AssetWriter::writeText(const std::string& name, const std::string& content)
{
    std::ofstream file(pathOf(name), std::ios::binary);
    file << content;
    if (!file)
        throw std::runtime_error("Cannot write " + pathOf(name));
    report(name, std::to_string(content.size()) + " bytes");
}

void AssetWriter::writeSound(const std::string& name, const std::vector<sf::Int16>& samples, unsigned sampleRate)
{
    // The Vorbis writer draws its stream serial number from rand(); pin it so files repeat byte for byte.
    std::srand(20240);
    {
        sf::OutputSoundFile file;
        if (!file.openFromFile(pathOf(name), sampleRate, 1))
            throw std::runtime_error("Cannot write " + pathOf(name));
        file.write(samples.data(), samples.size());
    }
    char seconds[32];
    std::snprintf(seconds, sizeof(seconds), "%.2f s", static_cast<double>(samples.size()) / sampleRate);
    report(name, seconds);
}

void AssetWriter::writePreview()
{
    const Canvas preview = mContactSheet.compose();
    if (!preview.saveToFile(pathOf("preview.png")))
        throw std::runtime_error("Cannot write " + pathOf("preview.png"));
    report("preview.png", "contact sheet");
}

} // namespace QEL::AssetGen
