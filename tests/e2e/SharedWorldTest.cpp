#include "tests/e2e/GameClient.hpp"
#include "tests/e2e/ObserverClient.hpp"
#include "tests/e2e/ServerProcess.hpp"
#include "tests/e2e/WorldScene.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <thread>

using namespace std::chrono_literals;
using namespace QEL::Testing;

namespace
{

/// The observer stands where it joined and follows the players across the island: its server
/// relays every move to everyone.
const std::vector<std::string> WatchEverywhere = {"--interest-radius", "40000"};

// The observer never moves from where the server puts new players.
const sf::Vector2f Watcher(11520.f, 11520.f);

/// How player A gets to a tree and what the test looks at.
struct ChopPlan
{
    WorldObject tree;
    std::vector<sf::Vector2f> way;  ///< how A walks to `stand`
    sf::Vector2f stand;             ///< where A stands while chopping, below the tree
    sf::Vector2f click;   ///< the world point A clicks
    sf::FloatRect crown;  ///< middle of the tree's crown, in world units
};

/// A point of the tree's picture that no tree further down the screen takes the click from.
std::optional<sf::Vector2f> findClickPoint(const std::vector<WorldObject>& trees, const WorldObject& tree)
{
    for (float y = tree.position.y - 100.f; y > tree.position.y - 520.f; y -= 20.f)
    {
        for (float x = tree.position.x - 160.f; x < tree.position.x + 160.f; x += 20.f)
        {
            const sf::Vector2f point(x, y);
            const bool taken = std::any_of(trees.begin(), trees.end(), [&](const WorldObject& other) {
                return other.entity != tree.entity && other.position.y >= tree.position.y &&
                       clickBoundsOfTree(other.position).contains(point);
            });
            if (!taken)
                return point;
        }
    }
    return std::nullopt;
}

/// Candidates ordered by their distance from `point`, nearest first.
std::vector<WorldObject> byDistance(std::vector<WorldObject> objects, sf::Vector2f point)
{
    const auto distance = [point](const WorldObject& object) {
        return std::hypot(object.position.x - point.x, object.position.y - point.y);
    };
    std::sort(objects.begin(), objects.end(),
              [&](const WorldObject& a, const WorldObject& b) { return distance(a) < distance(b); });
    return objects;
}

/// The nearest tree that A can walk to from `spawnA` on a clear way and whose crown
/// has nothing in front of it: no other tree, no man. B will join later and appear beside the
/// observer, above or below him; the crown must be in B's open view then.
std::optional<ChopPlan> planChop(const WorldObjects& world, sf::Vector2f spawnA)
{
    const sf::Vector2f spawnsB[] = {Watcher - sf::Vector2f(0.f, 100.f), Watcher + sf::Vector2f(0.f, 100.f)};
    const std::vector<sf::Vector2f> obstacles = world.getObstacles();
    for (const WorldObject& tree : byDistance(world.trees, spawnA))
    {
        const sf::Vector2f stand = tree.position + sf::Vector2f(0.f, 150.f);
        const sf::FloatRect crown(tree.position.x - 80.f, tree.position.y - 480.f, 160.f, 160.f);
        const bool seen = inOpenView(toPixels(stand, crown)) && !coversMan(crown, Watcher, true) &&
                          !coversMan(crown, stand, true) &&
                          std::all_of(std::begin(spawnsB), std::end(spawnsB), [&](sf::Vector2f spawnB) {
                              return inOpenView(toPixels(spawnB, crown)) && !coversMan(crown, spawnB, false);
                          }) &&
                          !hiddenByTrees(world, crown, tree.entity);
        const auto click = findClickPoint(world.trees, tree);
        const auto way = seen && click ? findWay(spawnA, stand, obstacles, {Watcher}) : std::nullopt;
        if (way)
            return ChopPlan{tree, *way, stand, *click, crown};
    }
    return std::nullopt;
}

/// An area of bare ground as large as the crown area, in B's open view, away from every tree,
/// the falling trunk and the men.
std::optional<sf::FloatRect> findOpenGround(const WorldObjects& world, const ChopPlan& plan, sf::Vector2f spawnB)
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
                              !coversMan(area, Watcher, true) && !coversMan(area, plan.stand, true) &&
                              !hiddenByTrees(world, area, 0);
            if (open)
                return area;
        }
    }
    return std::nullopt;
}

/// A joined player standing still where the server put him.
struct Arrival
{
    std::uint32_t player;
    sf::Vector2f feet;
};

std::optional<Arrival> joinAndSettle(GameClient& client, ObserverClient& observer, const std::string& name)
{
    if (!client.join(name, 90s))
        return std::nullopt;
    const auto player = observer.waitForPlayer(name, 30s);
    if (!player)
        return std::nullopt;
    // He appears on top of whoever stands at the spawn and stands still once their bodies have pushed apart.
    const auto still = observer.waitForStill(*player, 30s);
    if (!still)
        return std::nullopt;
    return Arrival{*player, ground(still->position)};
}

void closeAll(std::initializer_list<GameClient*> clients)
{
    for (GameClient* client : clients)
    {
        const auto status = client->close(30s);
        ASSERT_TRUE(status.has_value()) << client->getProcess().getOutput();
        EXPECT_EQ(*status, 0) << client->getProcess().getOutput();
    }
}

TEST(SharedWorld, ATreeFelledByOnePlayerFallsForTheOther)
{
    ServerProcess server(0, WatchEverywhere);
    ASSERT_TRUE(server.waitUntilListening(30s)) << server.getProcess().getOutput();
    ObserverClient observer(server.getPort(), "watcher");
    ASSERT_TRUE(observer.waitJoined(30s));

    // Both clients load the world at once; B joins only once A has walked away from the spawn.
    GameClient axeman(server.getAddress());
    GameClient onlooker(server.getAddress());
    std::string failure;
    const auto world = probeWorld(axeman, failure);
    ASSERT_TRUE(world && !world->trees.empty()) << failure;

    const auto a = joinAndSettle(axeman, observer, "axeman");
    ASSERT_TRUE(a.has_value()) << axeman.getProcess().getOutput();
    const auto plan = planChop(*world, a->feet);
    ASSERT_TRUE(plan.has_value()) << "no tree near the spawn to chop";

    ASSERT_TRUE(axeman.focus());
    const auto stand = walkWay(axeman, observer, a->player, a->feet, plan->way);
    ASSERT_TRUE(stand.has_value()) << "A did not reach " << plan->stand.x << ", " << plan->stand.y;
    const sf::Vector2f feet = ground(stand->position);
    ASSERT_LT(std::hypot(feet.x - plan->tree.position.x, feet.y - plan->tree.position.y), 280.f);

    const auto b = joinAndSettle(onlooker, observer, "onlooker");
    ASSERT_TRUE(b.has_value()) << onlooker.getProcess().getOutput();
    const sf::FloatRect crownOnB = toPixels(b->feet, plan->crown);
    ASSERT_TRUE(inOpenView(crownOnB) && !coversMan(plan->crown, b->feet, false))
        << "B stands at " << b->feet.x << ", " << b->feet.y;
    const auto openGround = findOpenGround(*world, *plan, b->feet);
    ASSERT_TRUE(openGround.has_value());
    const sf::FloatRect groundOnB = toPixels(b->feet, *openGround);

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
    const sf::Image onlookerAfter = onlooker.screenshot();
    const double groundChange = changedShare(onlookerBefore, onlookerAfter, groundOnB);
    EXPECT_LT(groundChange, 0.05);
    if (groundChange >= 0.05)
    {
        keepPicture(onlookerBefore, "onlooker-ground-before");
        keepPicture(onlookerAfter, "onlooker-ground-after");
    }

    closeAll({&axeman, &onlooker});
}

/// Where the two players stand to see a cactus, and how they get there.
struct PickPlan
{
    WorldObject cactus;
    sf::Vector2f standA, standB;  ///< A, who picks, stands left of the cactus; B, who watches, right of it
    std::vector<sf::Vector2f> wayA, wayB;
};

/// The nearest cactus that both players can walk to on clear ways (B after A) and see
/// unhidden from where they stand.
std::optional<PickPlan> planPick(const WorldObjects& world, sf::Vector2f spawnA, sf::Vector2f spawnB)
{
    const std::vector<sf::Vector2f> obstacles = world.getObstacles();
    for (const WorldObject& cactus : byDistance(world.cacti, spawnA))
    {
        const sf::Vector2f standA = cactus.position + sf::Vector2f(-220.f, 120.f);
        const sf::Vector2f standB = cactus.position + sf::Vector2f(220.f, 120.f);
        const sf::FloatRect area = boundsOfCactus(cactus.position);
        const bool seen = !hiddenByTrees(world, area, 0) && !coversMan(area, standA, true) && !coversMan(area, standB, true) &&
                          inOpenView(toPixels(standA, area)) && inOpenView(toPixels(standB, area));
        if (!seen)
            continue;
        const auto wayA = findWay(spawnA, standA, obstacles, {Watcher, spawnB});
        const auto wayB = wayA ? findWay(spawnB, standB, obstacles, {Watcher, standA}) : std::nullopt;
        if (wayB)
            return PickPlan{cactus, standA, standB, *wayA, *wayB};
    }
    return std::nullopt;
}

/// The colours of the rosebud: in the sheet's cells of an unpicked cactus, but in none of a picked one.
std::set<std::uint32_t> rosebudColours()
{
    sf::Image sheet;
    if (!sheet.loadFromFile("QELCactus.png"))
        return {};
    const auto colours = [&](std::initializer_list<sf::Vector2u> cells) {
        std::set<std::uint32_t> found;
        for (const sf::Vector2u cell : cells)
        {
            for (unsigned y = cell.y * 30; y < cell.y * 30 + 30; ++y)
            {
                for (unsigned x = cell.x * 30; x < cell.x * 30 + 30; ++x)
                {
                    const sf::Color colour = sheet.getPixel(x, y);
                    if (colour.a == 255)
                        found.insert(colour.toInteger());
                }
            }
        }
        return found;
    };
    const std::set<std::uint32_t> unpicked = colours({{1, 1}, {1, 2}, {2, 1}, {2, 2}});
    const std::set<std::uint32_t> picked = colours({{0, 1}, {0, 2}, {2, 4}, {2, 5}});
    std::set<std::uint32_t> bud;
    std::set_difference(unpicked.begin(), unpicked.end(), picked.begin(), picked.end(), std::inserter(bud, bud.end()));
    return bud;
}

/// Pixels of the area showing a rosebud colour.
int countRosebudPixels(const sf::Image& screen, const sf::FloatRect& area, const std::set<std::uint32_t>& bud)
{
    int count = 0;
    for (unsigned y = static_cast<unsigned>(area.top); y < static_cast<unsigned>(area.top + area.height); ++y)
    {
        for (unsigned x = static_cast<unsigned>(area.left); x < static_cast<unsigned>(area.left + area.width); ++x)
        {
            sf::Color colour = screen.getPixel(x, y);
            colour.a = 255;
            count += bud.count(colour.toInteger()) > 0 ? 1 : 0;
        }
    }
    return count;
}

/// Takes screenshots until the area shows no rosebud; the rosebud pixels of the last one.
int waitForNoRosebud(const GameClient& client, const sf::FloatRect& area, const std::set<std::uint32_t>& bud,
                     const std::string& name)
{
    const auto end = std::chrono::steady_clock::now() + 30s;
    sf::Image screen;
    int left = 0;
    do
    {
        screen = client.screenshot();
        left = screen.getSize() == sf::Vector2u(800, 600) ? countRosebudPixels(screen, area, bud) : -1;
        if (left == 0)
            return 0;
        std::this_thread::sleep_for(200ms);
    } while (std::chrono::steady_clock::now() < end);
    keepPicture(screen, name);
    return left;
}

TEST(SharedWorld, ACactusPickedByOnePlayerIsPickedForTheOther)
{
    const std::set<std::uint32_t> bud = rosebudColours();
    ASSERT_FALSE(bud.empty()) << "the cactus sheet shows no rosebud";

    ServerProcess server(0, WatchEverywhere);
    ASSERT_TRUE(server.waitUntilListening(30s)) << server.getProcess().getOutput();
    ObserverClient observer(server.getPort(), "watcher");
    ASSERT_TRUE(observer.waitJoined(30s));

    GameClient picker(server.getAddress());
    GameClient onlooker(server.getAddress());
    std::string failure;
    const auto world = probeWorld(picker, failure);
    ASSERT_TRUE(world && !world->cacti.empty()) << failure;

    // Both join before anybody walks: the desert is far from the spawn, and they walk there one after the other.
    const auto a = joinAndSettle(picker, observer, "picker");
    ASSERT_TRUE(a.has_value()) << picker.getProcess().getOutput();
    const auto b = joinAndSettle(onlooker, observer, "onlooker");
    ASSERT_TRUE(b.has_value()) << onlooker.getProcess().getOutput();
    const auto plan = planPick(*world, a->feet, b->feet);
    ASSERT_TRUE(plan.has_value()) << "no cactus both players can walk to";

    ASSERT_TRUE(picker.focus());
    const auto standA = walkWay(picker, observer, a->player, a->feet, plan->wayA);
    ASSERT_TRUE(standA.has_value()) << "A did not reach " << plan->standA.x << ", " << plan->standA.y;
    ASSERT_TRUE(onlooker.focus());
    const auto standB = walkWay(onlooker, observer, b->player, b->feet, plan->wayB);
    ASSERT_TRUE(standB.has_value()) << "B did not reach " << plan->standB.x << ", " << plan->standB.y;

    const sf::FloatRect area = boundsOfCactus(plan->cactus.position);
    const sf::FloatRect cactusOnA = toPixels(ground(standA->position), area);
    const sf::FloatRect cactusOnB = toPixels(ground(standB->position), area);
    ASSERT_TRUE(inOpenView(cactusOnA) && inOpenView(cactusOnB));
    const sf::Image onlookerBefore = onlooker.screenshot();
    ASSERT_GT(countRosebudPixels(onlookerBefore, cactusOnB, bud), 0) << "B sees no rosebud on the cactus";

    // A right click on the cactus's stem picks its rosebud.
    const sf::Vector2f click = toPixel(ground(standA->position), plan->cactus.position - sf::Vector2f(0.f, 60.f));
    ASSERT_TRUE(picker.click(static_cast<int>(click.x), static_cast<int>(click.y), 3));
    EXPECT_TRUE(observer.waitForWorldEvent(plan->cactus.entity, "Rosebud", 30s))
        << "no picking of cactus " << plan->cactus.entity << " relayed";

    EXPECT_EQ(waitForNoRosebud(picker, cactusOnA, bud, "picker"), 0);
    EXPECT_EQ(waitForNoRosebud(onlooker, cactusOnB, bud, "onlooker"), 0);

    closeAll({&picker, &onlooker});
}

} // namespace
