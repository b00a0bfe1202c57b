#ifndef QEL_ASSETGEN_ASSETWRITER_HPP
#define QEL_ASSETGEN_ASSETWRITER_HPP

#include "tools/assetgen/Canvas.hpp"
#include "tools/assetgen/ContactSheet.hpp"

#include <SFML/Config.hpp>

#include <mutex>
#include <string>
#include <vector>

namespace QEL::AssetGen {

// Writes the generated files into the data directory, reporting each one on the console,
// and collects the pictures for the contact sheet "preview.png". Sounds may be written from a
// second thread; pictures and the preview from one.
class AssetWriter {
public:
    explicit AssetWriter(std::string directory);

    // Prints the start of a group of files.
    void announce(const std::string& what) const;

    void writeImage(const std::string& name, const Canvas& picture);
    void writeText(const std::string& name, const std::string& content);
    // Mono 16-bit samples, encoded as Ogg Vorbis.
    void writeSound(const std::string& name, const std::vector<sf::Int16>& samples, unsigned sampleRate);
    void writePreview();

private:
    std::string pathOf(const std::string& name) const;
    void report(const std::string& name, const std::string& detail) const;

    std::string mDirectory;
    ContactSheet mContactSheet;
    mutable std::mutex mConsole;   // pictures and music are written from two threads
};

} // namespace QEL::AssetGen

#endif
