#include "app/Screenshot.hpp"

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <stdexcept>
#include <string>

namespace QEL
{

std::filesystem::path Screenshot::save(sf::RenderWindow& window, const std::filesystem::path& folder, std::time_t when)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw std::runtime_error("cannot make the folder " + folder.string() + ": " + error.message());

    const sf::Vector2u size = window.getSize();
    sf::Texture frame;
    if (!frame.create(size.x, size.y))
        throw std::runtime_error("cannot read the window's picture");
    frame.update(window);
    const std::filesystem::path file = freeName(folder, when);
    if (!frame.copyToImage().saveToFile(file.string()))
        throw std::runtime_error("cannot write " + file.string());
    return file;
}

std::filesystem::path Screenshot::freeName(const std::filesystem::path& folder, std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof(stamp), "quelmoor-%Y-%m-%d_%H-%M-%S", &local);
    std::filesystem::path file = folder / (std::string(stamp) + ".png");
    std::error_code error;
    for (int copy = 2; std::filesystem::exists(file, error); ++copy)
        file = folder / (std::string(stamp) + "-" + std::to_string(copy) + ".png");
    return file;
}

} // namespace QEL
