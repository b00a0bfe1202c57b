#include "tests/e2e/GameClient.hpp"
#include "tests/e2e/ObserverClient.hpp"
#include "tests/e2e/ServerProcess.hpp"
#include "tests/support/ChildProcess.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

using namespace std::chrono_literals;
using QEL::Testing::ChildProcess;
using QEL::Testing::GameClient;
using QEL::Testing::ObserverClient;
using QEL::Testing::ServerProcess;
using Move = ObserverClient::Move;

namespace
{

struct TreeSpot
{
    std::uint32_t entity;
    sf::Vector2f position;
};

/// The trees of the world with their entity ids, from the probe's listing.
std::vector<TreeSpot> readTrees(const std::string& listing)
{
    std::istringstream lines(listing);
    std::vector<TreeSpot> trees;
    std::string line;
    while (std::getline(lines, line))
    {
        std::istringstream fields(line);
        std::string word;
        TreeSpot tree{};
        if (fields >> word >> tree.entity >> tree.position.x >> tree.position.y && word == "tree")
            trees.push_back(tree);
    }
    return trees;
}

sf::Vector2f ground(const Plym::Math::Vector3& position)
{
    return {position.x, position.y};
}

/// Where a world point shows in the 800 x 600 window of a client whose man stands at `player`:
/// the camera looks 135 units above his feet and shows two world units per pixel (far from
/// the world's edges, where it would be clamped).
sf::FloatRect toPixels(sf::Vector2f player, const sf::FloatRect& world)
{
    return {(world.left - player.x) / 2.f + 400.f, (world.top - (player.y - 135.f)) / 2.f + 300.f, world.width / 2.f,
            world.height / 2.f};
}

sf::Vector2f toPixel(sf::Vector2f player, sf::Vector2f world)
{
    const sf::FloatRect pixel = toPixels(player, sf::FloatRect(world, sf::Vector2f()));
    return {pixel.left, pixel.top};
}

/// Part of the window where the world is not hidden by the minimap or the button bar.
bool inOpenView(const sf::FloatRect& pixels)
{
    const sf::FloatRect minimap(540.f, 0.f, 260.f, 240.f);
    return pixels.left >= 10.f && pixels.top >= 10.f && pixels.left + pixels.width <= 790.f &&
           pixels.top + pixels.height <= 480.f && !pixels.intersects(minimap);
}

/// What a standing tree draws over the ground: trunk and crown.
sf::FloatRect pictureOf(const TreeSpot& tree)
{
    return {tree.position.x - 180.f, tree.position.y - 535.f, 360.f, 540.f};
}

/// Where a click reaches the tree.
sf::FloatRect clickBoundsOf(const TreeSpot& tree)
{
    return {tree.position.x - 180.f, tree.position.y - 540.f, 360.f, 596.f};
}

/// Whether the area overlaps the picture of a man standing at `feet` (180 x 270 units above
/// them), or the name drawn over him when he is somebody else's player.
bool coversMan(const sf::FloatRect& area, sf::Vector2f feet, bool named)
{
    const sf::FloatRect figure(feet.x - 90.f, feet.y - 280.f, 180.f, 290.f);
    const sf::FloatRect name(feet.x - 150.f, feet.y - 340.f, 300.f, 80.f);
    return area.intersects(figure) || (named && area.intersects(name));
}

float distanceToSegment(sf::Vector2f point, sf::Vector2f from, sf::Vector2f to)
{
    const sf::Vector2f way = to - from;
    const float length = way.x * way.x + way.y * way.y;
    const float along = length > 0.f ? std::clamp(((point.x - from.x) * way.x + (point.y - from.y) * way.y) / length, 0.f, 1.f) : 0.f;
    const sf::Vector2f nearest = from + way * along;
    return std::hypot(point.x - nearest.x, point.y - nearest.y);
}

/// How player A gets to a tree and what the test looks at.
struct ChopPlan
{
    TreeSpot tree;
    sf::Vector2f corner;  ///< A walks straight to here, then turns and walks to `stand`
    sf::Vector2f stand;   ///< where A stands while chopping, below the tree
    sf::Vector2f click;   ///< the world point A clicks
    sf::FloatRect crown;  ///< middle of the tree's crown, in world units
};

/// Whether a man walking straight from `from` to `to` keeps clear of every trunk and of the man
/// standing at `other` (he may start beside him, but must not walk into him).
bool legClear(sf::Vector2f from, sf::Vector2f to, const std::vector<TreeSpot>& trees, sf::Vector2f other)
{
    // Bodies are about 140 x 70 units.
    const float toOther = distanceToSegment(other, from, to);
    const bool awayFromOther = toOther >= 150.f || toOther >= std::hypot(other.x - from.x, other.y - from.y) - 0.01f;
    return awayFromOther && std::none_of(trees.begin(), trees.end(), [&](const TreeSpot& tree) {
        return distanceToSegment(tree.position, from, to) <= 130.f;
    });
}

/// A point of the tree's picture that no tree further down the screen takes the click from.
std::optional<sf::Vector2f> findClickPoint(const std::vector<TreeSpot>& trees, const TreeSpot& tree)
{
    for (float y = tree.position.y - 100.f; y > tree.position.y - 520.f; y -= 20.f)
    {
        for (float x = tree.position.x - 160.f; x < tree.position.x + 160.f; x += 20.f)
        {
            const sf::Vector2f point(x, y);
            const bool taken = std::any_of(trees.begin(), trees.end(), [&](const TreeSpot& other) {
                return other.entity != tree.entity && other.position.y >= tree.position.y && clickBoundsOf(other).contains(point);
            });
            if (!taken)
                return point;
        }
    }
    return std::nullopt;
}

/// The nearest tree that A can walk to from `spawnA` on a clear L-shaped path and whose crown
/// has nothing in front of it: no other tree, no man. B will join later and appear beside the
/// observer standing at `watcher`, above or below him; the crown must be in B's open view then.
std::optional<ChopPlan> planChop(const std::vector<TreeSpot>& trees, sf::Vector2f spawnA, sf::Vector2f watcher)
{
    const sf::Vector2f spawnsB[] = {watcher - sf::Vector2f(0.f, 100.f), watcher + sf::Vector2f(0.f, 100.f)};
    std::optional<ChopPlan> best;
    float bestLength = 0.f;
    for (const TreeSpot& tree : trees)
    {
        const sf::Vector2f stand = tree.position + sf::Vector2f(0.f, 150.f);
        const sf::FloatRect crown(tree.position.x - 80.f, tree.position.y - 480.f, 160.f, 160.f);
        const float length = std::abs(stand.x - spawnA.x) + std::abs(stand.y - spawnA.y);
        if (best && length >= bestLength)
            continue;
        const bool seen = inOpenView(toPixels(stand, crown)) && !coversMan(crown, watcher, true) && !coversMan(crown, stand, true) &&
                          std::all_of(std::begin(spawnsB), std::end(spawnsB), [&](sf::Vector2f spawnB) {
                              return inOpenView(toPixels(spawnB, crown)) && !coversMan(crown, spawnB, false);
                          }) &&
                          std::none_of(trees.begin(), trees.end(), [&](const TreeSpot& other) {
                              return other.entity != tree.entity && pictureOf(other).intersects(crown);
                          });
        const auto click = findClickPoint(trees, tree);
        if (!seen || !click)
            continue;
        for (const sf::Vector2f corner : {sf::Vector2f(spawnA.x, stand.y), sf::Vector2f(stand.x, spawnA.y)})
        {
            if (legClear(spawnA, corner, trees, watcher) && legClear(corner, stand, trees, watcher))
            {
                best = ChopPlan{tree, corner, stand, *click, crown};
                bestLength = length;
                break;
            }
        }
    }
    return best;
}

/// An area of bare ground as large as the crown area, in B's open view, away from every tree,
/// the falling trunk and the men.
std::optional<sf::FloatRect> findOpenGround(const std::vector<TreeSpot>& trees, const ChopPlan& plan, sf::Vector2f spawnB,
                                            sf::Vector2f watcher)
{
    const sf::Vector2f tree = plan.tree.position;
    const sf::FloatRect fall(tree.x - 200.f, tree.y - 560.f, 560.f, 940.f);
    for (float y = 10.f; y < 480.f; y += 20.f)
    {
        for (float x = 10.f; x < 790.f; x += 20.f)
        {
            const sf::FloatRect pixels(x, y, plan.crown.width / 2.f, plan.crown.height / 2.f);
            const sf::FloatRect area(spawnB.x + (x - 400.f) * 2.f, spawnB.y - 135.f + (y - 300.f) * 2.f, plan.crown.width,
                                     plan.crown.height);
            const bool open = inOpenView(pixels) && !area.intersects(fall) && !coversMan(area, spawnB, false) &&
                              !coversMan(area, watcher, true) && !coversMan(area, plan.stand, true) &&
                              std::none_of(trees.begin(), trees.end(),
                                           [&](const TreeSpot& other) { return pictureOf(other).intersects(area); });
            if (open)
                return area;
        }
    }
    return std::nullopt;
}

/// Walks straight along one axis by holding its key until the streamed position is about at
/// `to`, then waits for the man to stand still; his resting move.
std::optional<Move> walk(GameClient& client, ObserverClient& observer, std::uint32_t player, sf::Vector2f from, sf::Vector2f to)
{
    const bool sideways = std::abs(to.x - from.x) > std::abs(to.y - from.y);
    const float sign = (sideways ? to.x - from.x : to.y - from.y) > 0.f ? 1.f : -1.f;
    const std::string key = sideways ? (sign > 0.f ? "d" : "a") : (sign > 0.f ? "s" : "w");
    const std::size_t before = observer.getMoveCount(player);
    if (!client.holdKey(key))
        return std::nullopt;
    // The man slides on a little once the key is up.
    const auto there = observer.waitForMove(player, [&](const Move& move) {
        return ((sideways ? move.position.x - to.x : move.position.y - to.y) * sign) > -40.f;
    }, 30s, before);
    client.releaseKey(key);
    if (!there)
        return std::nullopt;
    return observer.waitForStill(player, 30s, observer.getMoveCount(player));
}

/// Share of the pixels in the area that differ clearly between the two pictures.
double changedShare(const sf::Image& before, const sf::Image& after, const sf::FloatRect& area)
{
    int changed = 0;
    int total = 0;
    for (unsigned y = static_cast<unsigned>(area.top); y < static_cast<unsigned>(area.top + area.height); ++y)
    {
        for (unsigned x = static_cast<unsigned>(area.left); x < static_cast<unsigned>(area.left + area.width); ++x)
        {
            const sf::Color a = before.getPixel(x, y);
            const sf::Color b = after.getPixel(x, y);
            const int difference = std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
            changed += difference > 24 ? 1 : 0;
            ++total;
        }
    }
    return total > 0 ? static_cast<double>(changed) / total : 0.0;
}

/// Takes screenshots until the area has changed by at least `share` against `before`; the
/// share of the last one.
double waitForChange(const GameClient& client, const sf::Image& before, const sf::FloatRect& area, double share,
                     std::chrono::milliseconds deadline, const std::string& name)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    double seen = 0.0;
    sf::Image now;
    do
    {
        now = client.screenshot();
        seen = now.getSize() == before.getSize() ? changedShare(before, now, area) : 0.0;
        if (seen >= share)
            return seen;
        std::this_thread::sleep_for(200ms);
    } while (std::chrono::steady_clock::now() < end);
    // Left for whoever looks into the failure.
    const auto folder = std::filesystem::temp_directory_path();
    before.saveToFile((folder / ("quelmoor-e2e-" + name + "-before.png")).string());
    now.saveToFile((folder / ("quelmoor-e2e-" + name + "-after.png")).string());
    return seen;
}

TEST(SharedWorld, ATreeFelledByOnePlayerFallsForTheOther)
{
    ServerProcess server;
    ASSERT_TRUE(server.waitUntilListening(30s)) << server.getProcess().getOutput();
    ObserverClient observer(server.getPort(), "watcher");
    ASSERT_TRUE(observer.waitJoined(30s));
    // The observer never moves from where the server puts new players.
    const sf::Vector2f watcher(11520.f, 11520.f);

    // Both clients load the world at once; B joins only once A has walked away from the spawn.
    GameClient axeman(server.getAddress());
    GameClient onlooker(server.getAddress());
    // The world as every client builds it, with its entity ids.
    ChildProcess probe({QEL::Testing::programPath("quelmoor-world-probe"), "--data-dir", QEL::Testing::programPath("../data")},
                       {{"DISPLAY", axeman.getDisplay().getName()}, {"ALSOFT_DRIVERS", "null"}});
    ASSERT_EQ(probe.waitForExit(60s), 0) << probe.getOutput();
    const std::vector<TreeSpot> trees = readTrees(probe.getOutput());
    ASSERT_FALSE(trees.empty()) << probe.getOutput();

    ASSERT_TRUE(axeman.join("axeman", 90s)) << axeman.getProcess().getOutput();
    const auto a = observer.waitForPlayer("axeman", 30s);
    ASSERT_TRUE(a.has_value());
    // A appears on top of the observer and stands still once their bodies have pushed apart.
    const auto spawnA = observer.waitForStill(*a, 30s);
    ASSERT_TRUE(spawnA.has_value());
    const auto plan = planChop(trees, ground(spawnA->position), watcher);
    ASSERT_TRUE(plan.has_value()) << "no tree near the spawn to chop";

    ASSERT_TRUE(axeman.focus());
    const auto corner = walk(axeman, observer, *a, ground(spawnA->position), plan->corner);
    ASSERT_TRUE(corner.has_value()) << "A did not reach " << plan->corner.x << ", " << plan->corner.y;
    const auto stand = walk(axeman, observer, *a, ground(corner->position), plan->stand);
    ASSERT_TRUE(stand.has_value()) << "A did not reach " << plan->stand.x << ", " << plan->stand.y;
    const sf::Vector2f feet = ground(stand->position);
    ASSERT_LT(std::hypot(feet.x - plan->tree.position.x, feet.y - plan->tree.position.y), 280.f);

    ASSERT_TRUE(onlooker.join("onlooker", 90s)) << onlooker.getProcess().getOutput();
    const auto b = observer.waitForPlayer("onlooker", 30s);
    ASSERT_TRUE(b.has_value());
    const auto spawnB = observer.waitForStill(*b, 30s);
    ASSERT_TRUE(spawnB.has_value());
    const sf::FloatRect crownOnB = toPixels(ground(spawnB->position), plan->crown);
    ASSERT_TRUE(inOpenView(crownOnB) && !coversMan(plan->crown, ground(spawnB->position), false))
        << "B stands at " << spawnB->position.x << ", " << spawnB->position.y;
    const auto openGround = findOpenGround(trees, *plan, ground(spawnB->position), watcher);
    ASSERT_TRUE(openGround.has_value());
    const sf::FloatRect groundOnB = toPixels(ground(spawnB->position), *openGround);

    const sf::Image onlookerBefore = onlooker.screenshot();
    ASSERT_EQ(onlookerBefore.getSize(), sf::Vector2u(800, 600));
    const sf::FloatRect crownOnA = toPixels(feet, plan->crown);
    const sf::Image axemanBefore = axeman.screenshot();
    ASSERT_EQ(axemanBefore.getSize(), sf::Vector2u(800, 600));

    // A left click on the tree starts the chopping; fifteen seconds later it falls.
    const sf::Vector2f click = toPixel(feet, plan->click);
    ASSERT_TRUE(axeman.click(static_cast<int>(click.x), static_cast<int>(click.y), 1));
    EXPECT_TRUE(observer.waitForWorldEvent(plan->tree.entity, "#REKT", 90s))
        << "no fall of tree " << plan->tree.entity << " relayed";

    // The crown vanishes on both screens, while the bare ground on B's screen stays as it was:
    // B's camera has not moved.
    EXPECT_GE(waitForChange(axeman, axemanBefore, crownOnA, 0.4, 30s, "axeman"), 0.4);
    EXPECT_GE(waitForChange(onlooker, onlookerBefore, crownOnB, 0.4, 30s, "onlooker"), 0.4);
    EXPECT_LT(changedShare(onlookerBefore, onlooker.screenshot(), groundOnB), 0.05);

    for (GameClient* client : {&axeman, &onlooker})
    {
        const auto status = client->close(30s);
        ASSERT_TRUE(status.has_value()) << client->getProcess().getOutput();
        EXPECT_EQ(*status, 0) << client->getProcess().getOutput();
    }
}

} // namespace
