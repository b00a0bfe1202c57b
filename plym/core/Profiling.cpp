#include "plym/core/Profiling.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace Plym
{
namespace
{

struct Section
{
    std::string name;
    std::int64_t startNs = 0;
    std::int64_t frameNs = 0;
    std::int64_t totalNs = 0;
    std::uint64_t frameCalls = 0;
    std::uint64_t totalCalls = 0;
    std::uint32_t openCount = 0;
    std::uint32_t depth = 0;
    bool inFrame = false;
    bool inTotals = false;
};

struct Registry
{
    std::vector<Section> sections;                        // index = id - 1
    std::unordered_map<std::string, Profiling::Id> byName;
    std::unordered_map<const char*, Profiling::Id> byAddress;
    std::vector<Profiling::Id> frameOrder;                // sections of the current record
    std::vector<Profiling::Id> totalOrder;                // sections folded into the totals
    std::uint32_t openDepth = 0;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

std::int64_t nowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

Section& section(Profiling::Id id)
{
    Registry& r = registry();
    if (id == 0 || id > r.sections.size())
        throw std::runtime_error("Profiling: unknown section id " + std::to_string(id));
    return r.sections[id - 1];
}

// Enters the section into the current record the first time it is timed in it.
void touch(Section& s, Profiling::Id id, std::uint32_t depth)
{
    if (s.inFrame)
        return;
    s.inFrame = true;
    s.depth = depth;
    registry().frameOrder.push_back(id);
}

struct Line
{
    const Section* section;
    std::int64_t ns;
    std::uint64_t calls;
};

std::size_t nameWidth(const std::vector<Line>& lines)
{
    std::size_t width = 24;
    for (const Line& line : lines)
        width = std::max(width, line.section->depth * 2 + line.section->name.size() + 1);
    return width;
}

std::string formatLine(const Line& line, std::size_t width, const std::string& tail)
{
    std::string text(line.section->depth * 2, ' ');
    text += line.section->name;
    text.resize(width, ' ');
    char numbers[64];
    std::snprintf(numbers, sizeof(numbers), "%9.3f ms", static_cast<double>(line.ns) / 1e6);
    return text + numbers + tail + "\n";
}

} // namespace

Profiling::Id Profiling::getId(const std::string& name)
{
    Registry& r = registry();
    auto found = r.byName.find(name);
    if (found != r.byName.end())
        return found->second;
    r.sections.emplace_back();
    r.sections.back().name = name;
    const Id id = static_cast<Id>(r.sections.size());
    r.byName.emplace(name, id);
    return id;
}

void Profiling::start(Id id)
{
    Section& s = section(id);
    if (s.openCount++ > 0)
        return;
    Registry& r = registry();
    touch(s, id, r.openDepth);
    ++r.openDepth;
    s.startNs = nowNs();
}

void Profiling::start(const std::string& name)
{
    start(getId(name));
}

void Profiling::end(Id id)
{
    Section& s = section(id);
    if (s.openCount == 0 || --s.openCount > 0)
        return;
    Registry& r = registry();
    s.frameNs += nowNs() - s.startNs;
    ++s.frameCalls;
    --r.openDepth;
    touch(s, id, r.openDepth);
}

void Profiling::end(const std::string& name)
{
    end(getId(name));
}

std::string Profiling::getStats(float frameSeconds)
{
    std::vector<Line> lines;
    for (Id id : registry().frameOrder)
    {
        const Section& s = section(id);
        lines.push_back({&s, s.frameNs, s.frameCalls});
    }
    const std::size_t width = nameWidth(lines);
    std::string text;
    for (const Line& line : lines)
    {
        char share[32] = "";
        if (frameSeconds > 0.f)
            std::snprintf(share, sizeof(share), " %6.1f%%", static_cast<double>(line.ns) / (frameSeconds * 1e7));
        text += formatLine(line, width, share);
    }
    return text;
}

void Profiling::print()
{
    Registry& r = registry();
    std::vector<Line> lines;
    for (Id id : r.totalOrder)
    {
        const Section& s = section(id);
        lines.push_back({&s, s.totalNs + s.frameNs, s.totalCalls + s.frameCalls});
    }
    for (Id id : r.frameOrder)
    {
        const Section& s = section(id);
        if (!s.inTotals)
            lines.push_back({&s, s.frameNs, s.frameCalls});
    }
    const std::size_t width = nameWidth(lines);
    std::string text = "Profiling report:\n";
    for (const Line& line : lines)
        text += formatLine(line, width, "  (" + std::to_string(line.calls) + (line.calls == 1 ? " call)" : " calls)"));
    std::cout << text << std::flush;
}

void Profiling::reset()
{
    Registry& r = registry();
    for (Id id : r.frameOrder)
    {
        Section& s = section(id);
        s.totalNs += s.frameNs;
        s.totalCalls += s.frameCalls;
        s.frameNs = 0;
        s.frameCalls = 0;
        s.inFrame = false;
        if (!s.inTotals)
        {
            s.inTotals = true;
            r.totalOrder.push_back(id);
        }
    }
    r.frameOrder.clear();
}

void Profiling::clear()
{
    Registry& r = registry();
    for (Section& s : r.sections)
    {
        s.frameNs = s.totalNs = 0;
        s.frameCalls = s.totalCalls = 0;
        s.inFrame = s.inTotals = false;
    }
    r.frameOrder.clear();
    r.totalOrder.clear();
}

Profiling::Block::Block(const char* name)
{
    Registry& r = registry();
    auto cached = r.byAddress.find(name);
    if (cached != r.byAddress.end() && r.sections[cached->second - 1].name == name)
        mId = cached->second;
    else
        mId = r.byAddress[name] = getId(name);
    start(mId);
}

Profiling::Block::Block(Id id) : mId(id)
{
    start(mId);
}

Profiling::Block::~Block()
{
    end(mId);
}

} // namespace Plym
