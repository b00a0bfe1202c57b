#include "tests/e2e/WorldScene.hpp"

#include "tests/support/ChildProcess.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <queue>
#include <sstream>
#include <thread>

using namespace std::chrono_literals;

namespace QEL
{
namespace Testing
{

std::vector<sf::Vector2f> WorldObjects::getObstacles() const
{
    std::vector<sf::Vector2f> points;
    for (const auto* objects : {&trees, &cacti})
    {
        for (const WorldObject& object : *objects)
            points.push_back(object.position);
    }
    return points;
}

std::optional<WorldObjects> probeWorld(const GameClient& client, std::string& failure)
{
    ChildProcess probe({programPath("quelmoor-world-probe"), "--data-dir", programPath("../data")},
                       {{"DISPLAY", client.getDisplay().getName()}, {"ALSOFT_DRIVERS", "null"}});
    if (probe.waitForExit(60s) != 0)
    {
        failure = probe.getOutput();
        return std::nullopt;
    }
    std::istringstream lines(probe.getOutput());
    WorldObjects world;
    std::string line;
    while (std::getline(lines, line))
    {
        std::istringstream fields(line);
        std::string kind;
        WorldObject object{};
        if (!(fields >> kind >> object.entity >> object.position.x >> object.position.y))
            continue;
        if (kind == "tree")
            world.trees.push_back(object);
        else if (kind == "cactus")
            world.cacti.push_back(object);
    }
    return world;
}

sf::Vector2f ground(const Plym::Math::Vector3& position)
{
    return {position.x, position.y};
}

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

bool inOpenView(const sf::FloatRect& pixels)
{
    const sf::FloatRect minimap(540.f, 0.f, 260.f, 240.f);
    return pixels.left >= 10.f && pixels.top >= 10.f && pixels.left + pixels.width <= 790.f &&
           pixels.top + pixels.height <= 480.f && !pixels.intersects(minimap);
}

bool coversMan(const sf::FloatRect& area, sf::Vector2f feet, bool named)
{
    // A man's picture is 180 x 270 units above his feet; a name is drawn over his head.
    const sf::FloatRect figure(feet.x - 90.f, feet.y - 280.f, 180.f, 290.f);
    const sf::FloatRect name(feet.x - 150.f, feet.y - 340.f, 300.f, 80.f);
    return area.intersects(figure) || (named && area.intersects(name));
}

sf::FloatRect pictureOfTree(sf::Vector2f tree)
{
    return {tree.x - 180.f, tree.y - 535.f, 360.f, 540.f};
}

bool hiddenByTrees(const WorldObjects& world, const sf::FloatRect& area, std::uint32_t entity)
{
    return std::any_of(world.trees.begin(), world.trees.end(), [&](const WorldObject& tree) {
        return tree.entity != entity && pictureOfTree(tree.position).intersects(area);
    });
}

sf::FloatRect clickBoundsOfTree(sf::Vector2f tree)
{
    return {tree.x - 180.f, tree.y - 540.f, 360.f, 596.f};
}

sf::FloatRect boundsOfCactus(sf::Vector2f cactus)
{
    // Twelve stem pieces and the top reach 390 units up; the arms stand out 45 units to the right.
    return {cactus.x - 30.f, cactus.y - 400.f, 90.f, 410.f};
}

namespace
{

/// The grid a way is searched on: nodes 30 units apart, aligned on the way's end, over the
/// rectangle around both ends.
class WayGrid
{
public:
    static constexpr float Step = 30.f;

    WayGrid(sf::Vector2f from, sf::Vector2f to) : mOrigin(to)
    {
        const float margin = 1200.f;
        mFirst = sf::Vector2i(toCell(std::min(from.x, to.x) - margin - to.x), toCell(std::min(from.y, to.y) - margin - to.y));
        const sf::Vector2i last(toCell(std::max(from.x, to.x) + margin - to.x), toCell(std::max(from.y, to.y) + margin - to.y));
        mSize = last - mFirst + sf::Vector2i(1, 1);
        mBlocked.assign(static_cast<std::size_t>(mSize.x * mSize.y), false);
    }

    int getCount() const { return mSize.x * mSize.y; }
    sf::Vector2f getPoint(int node) const
    {
        return mOrigin + Step * sf::Vector2f(static_cast<float>(mFirst.x + node % mSize.x), static_cast<float>(mFirst.y + node / mSize.x));
    }
    int getNode(sf::Vector2f point) const
    {
        return (toCell(point.y - mOrigin.y) - mFirst.y) * mSize.x + toCell(point.x - mOrigin.x) - mFirst.x;
    }
    /// The neighbour in one of the four directions (0 right, 1 down, 2 left, 3 up), or -1 off the grid.
    int getNeighbour(int node, int direction) const
    {
        const int x = node % mSize.x + (direction == 0) - (direction == 2);
        const int y = node / mSize.x + (direction == 1) - (direction == 3);
        return x < 0 || y < 0 || x >= mSize.x || y >= mSize.y ? -1 : y * mSize.x + x;
    }
    bool isBlocked(int node) const { return mBlocked[static_cast<std::size_t>(node)]; }
    void block(int node) { mBlocked[static_cast<std::size_t>(node)] = true; }

private:
    static int toCell(float offset) { return static_cast<int>(std::lround(offset / Step)); }

    sf::Vector2f mOrigin;
    sf::Vector2i mFirst;
    sf::Vector2i mSize;
    std::vector<bool> mBlocked;
};

float distance(sf::Vector2f a, sf::Vector2f b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

} // namespace

std::optional<std::vector<sf::Vector2f>> findWay(sf::Vector2f from, sf::Vector2f to, const std::vector<sf::Vector2f>& obstacles,
                                                 const std::vector<sf::Vector2f>& men)
{
    WayGrid grid(from, to);
    for (int node = 0; node < grid.getCount(); ++node)
    {
        const sf::Vector2f point = grid.getPoint(node);
        const bool nearObstacle = std::any_of(obstacles.begin(), obstacles.end(), [&](sf::Vector2f obstacle) {
            return std::abs(obstacle.x - point.x) < 150.f && std::abs(obstacle.y - point.y) < 150.f && distance(obstacle, point) < 150.f;
        });
        const bool towardsMan = std::any_of(men.begin(), men.end(), [&](sf::Vector2f man) {
            return distance(man, point) < 150.f && distance(man, point) < distance(man, from) - 1.f;
        });
        if (nearObstacle || towardsMan)
            grid.block(node);
    }
    // Cheapest way over (node, heading) states: a step costs 1, a turn as much as 20 steps.
    const int start = grid.getNode(from);
    const int end = grid.getNode(to);
    const int turnCost = 20;
    std::vector<int> cost(static_cast<std::size_t>(grid.getCount() * 4), std::numeric_limits<int>::max());
    std::vector<int> previous(cost.size(), -1);
    using Entry = std::pair<int, int>;  // cost, state
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    for (int heading = 0; heading < 4; ++heading)
    {
        cost[static_cast<std::size_t>(start * 4 + heading)] = 0;
        open.push({0, start * 4 + heading});
    }
    int reached = -1;
    while (!open.empty() && reached < 0)
    {
        const auto [spent, state] = open.top();
        open.pop();
        if (spent > cost[static_cast<std::size_t>(state)])
            continue;
        if (state / 4 == end)
        {
            reached = state;
            break;
        }
        for (int heading = 0; heading < 4; ++heading)
        {
            const int next = grid.getNeighbour(state / 4, heading);
            if (next < 0 || grid.isBlocked(next))
                continue;
            const int nextState = next * 4 + heading;
            const int nextCost = spent + 1 + (heading == state % 4 ? 0 : turnCost);
            if (nextCost < cost[static_cast<std::size_t>(nextState)])
            {
                cost[static_cast<std::size_t>(nextState)] = nextCost;
                previous[static_cast<std::size_t>(nextState)] = state;
                open.push({nextCost, nextState});
            }
        }
    }
    if (reached < 0)
        return std::nullopt;
    // Walking back, a leg ends wherever the heading changes.
    std::vector<sf::Vector2f> way{to};
    for (int state = reached; previous[static_cast<std::size_t>(state)] >= 0; state = previous[static_cast<std::size_t>(state)])
    {
        const int before = previous[static_cast<std::size_t>(state)];
        if (before % 4 != state % 4 && before / 4 != start)
            way.push_back(grid.getPoint(before / 4));
    }
    std::reverse(way.begin(), way.end());
    return way;
}

std::optional<ObserverClient::Move> walk(GameClient& client, ObserverClient& observer, std::uint32_t player,
                                         sf::Vector2f from, sf::Vector2f to)
{
    const bool sideways = std::abs(to.x - from.x) > std::abs(to.y - from.y);
    const float sign = (sideways ? to.x - from.x : to.y - from.y) > 0.f ? 1.f : -1.f;
    const std::string key = sideways ? (sign > 0.f ? "d" : "a") : (sign > 0.f ? "s" : "w");
    const std::size_t before = observer.getMoveCount(player);
    if (!client.holdKey(key))
        return std::nullopt;
    // The man slides on a little once the key is up.
    const auto there = observer.waitForMove(player, [&](const ObserverClient::Move& move) {
        return ((sideways ? move.position.x - to.x : move.position.y - to.y) * sign) > -40.f;
    }, 30s, before);
    client.releaseKey(key);
    if (!there)
        return std::nullopt;
    return observer.waitForStill(player, 30s, observer.getMoveCount(player));
}

std::optional<ObserverClient::Move> walkWay(GameClient& client, ObserverClient& observer, std::uint32_t player,
                                            sf::Vector2f from, const std::vector<sf::Vector2f>& way)
{
    // Each leg is walked along the axis it was planned on: from the leg's planned start, not
    // from where the man came to rest, which may lie a little off.
    std::optional<ObserverClient::Move> rest;
    for (const sf::Vector2f end : way)
    {
        rest = walk(client, observer, player, from, end);
        if (!rest)
            return std::nullopt;
        from = end;
    }
    return rest;
}

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
    keepPicture(before, name + "-before");
    keepPicture(now, name + "-after");
    return seen;
}

void keepPicture(const sf::Image& picture, const std::string& name)
{
    picture.saveToFile((std::filesystem::temp_directory_path() / ("quelmoor-e2e-" + name + ".png")).string());
}

} // namespace Testing
} // namespace QEL
