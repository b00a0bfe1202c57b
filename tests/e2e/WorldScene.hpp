#ifndef QEL_TESTS_E2E_WORLDSCENE_HPP
#define QEL_TESTS_E2E_WORLDSCENE_HPP

#include "tests/e2e/GameClient.hpp"
#include "tests/e2e/ObserverClient.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the end-to-end tests of the shared world know of it: where its objects stand, where a
// world point shows on a client's screen, how a player is walked somewhere, and how a change
// on the screen is waited for.
namespace QEL
{
namespace Testing
{

/// A tree or a cactus as every client builds it: its entity id and where it meets the ground.
struct WorldObject
{
    std::uint32_t entity;
    sf::Vector2f position;
};

/// The trees and cacti of the world.
struct WorldObjects
{
    std::vector<WorldObject> trees;
    std::vector<WorldObject> cacti;

    /// The ground points of every tree and cactus: what a walking man must keep clear of.
    std::vector<sf::Vector2f> getObstacles() const;
};

/// Builds the world with the probe program on the client's display; nothing when the probe fails,
/// with its output in `failure`.
std::optional<WorldObjects> probeWorld(const GameClient& client, std::string& failure);

sf::Vector2f ground(const Plym::Math::Vector3& position);

/// Where a world area shows in the 800 x 600 window of a client whose man stands at `player`:
/// the camera looks 135 units above his feet and shows two world units per pixel (far from
/// the world's edges, where it would be clamped).
sf::FloatRect toPixels(sf::Vector2f player, const sf::FloatRect& world);
sf::Vector2f toPixel(sf::Vector2f player, sf::Vector2f world);

/// Part of the window where the world is not hidden by the minimap or the button bar.
bool inOpenView(const sf::FloatRect& pixels);

/// Whether the area overlaps the picture of a man standing at `feet`, or the name drawn over him
/// when he is somebody else's player.
bool coversMan(const sf::FloatRect& area, sf::Vector2f feet, bool named);

/// What a standing tree draws over the ground: trunk and crown.
sf::FloatRect pictureOfTree(sf::Vector2f tree);

/// Whether any tree but `entity` draws over the area.
bool hiddenByTrees(const WorldObjects& world, const sf::FloatRect& area, std::uint32_t entity);

/// Where a click reaches a tree.
sf::FloatRect clickBoundsOfTree(sf::Vector2f tree);

/// Where a cactus is drawn and clicked, whatever its height.
sf::FloatRect boundsOfCactus(sf::Vector2f cactus);

/// A way from `from` to `to` made of legs along the axes that keeps 150 units from every
/// obstacle and never comes closer than it started to the men standing at `men`, with few
/// turns: the end of every leg, the last one at `to`. Nothing when there is none nearby.
std::optional<std::vector<sf::Vector2f>> findWay(sf::Vector2f from, sf::Vector2f to, const std::vector<sf::Vector2f>& obstacles,
                                                 const std::vector<sf::Vector2f>& men);

/// Walks straight along one axis by holding its key until the streamed position is about at
/// `to`, then waits for the man to stand still; his resting move.
std::optional<ObserverClient::Move> walk(GameClient& client, ObserverClient& observer, std::uint32_t player,
                                         sf::Vector2f from, sf::Vector2f to);

/// Walks the legs of a way found by `findWay`; the resting move at its end.
std::optional<ObserverClient::Move> walkWay(GameClient& client, ObserverClient& observer, std::uint32_t player,
                                            sf::Vector2f from, const std::vector<sf::Vector2f>& way);

/// Share of the pixels in the area that differ clearly between the two pictures.
double changedShare(const sf::Image& before, const sf::Image& after, const sf::FloatRect& area);

/// Takes screenshots until the area has changed by at least `share` against `before`; the
/// share of the last one. On failure both pictures are left in the temporary folder under `name`.
double waitForChange(const GameClient& client, const sf::Image& before, const sf::FloatRect& area, double share,
                     std::chrono::milliseconds deadline, const std::string& name);

/// Keeps the picture in the temporary folder for whoever looks into a failure.
void keepPicture(const sf::Image& picture, const std::string& name);

} // namespace Testing
} // namespace QEL

#endif
