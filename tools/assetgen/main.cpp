#include "tools/assetgen/AssetGenerator.hpp"

#include <chrono>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

void printHelp()
{
    std::cout << "Usage: quelmoor-assetgen [--output DIR]\n"
                 "Draws every picture, the world map, the animation file, the music and the sound effects\n"
                 "of Quelmoor into DIR (default: the current directory). The output is the same on\n"
                 "every run.\n"
                 "  --output DIR  directory to write the files into (created if missing)\n"
                 "  --help        show this text\n";
}

} // namespace

int main(int argc, char** argv)
{
    std::string directory = ".";
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--help") == 0)
        {
            printHelp();
            return 0;
        }
        if (std::strcmp(argv[i], "--output") == 0 && i + 1 < argc)
            directory = argv[++i];
        else
        {
            std::cerr << "Unknown argument: " << argv[i] << "\n";
            printHelp();
            return 2;
        }
    }
    try
    {
        const auto start = std::chrono::steady_clock::now();
        std::filesystem::create_directories(directory);
        std::cout << "Generating Quelmoor assets into " << directory << std::endl;
        QEL::AssetGen::AssetGenerator(directory).run();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::cout << "Done in " << took.count() << " s" << std::endl;
    }
    catch (const std::exception& error)
    {
        std::cerr << "quelmoor-assetgen: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
