#include "plym/core/Profiling.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

using Plym::Profiling;

namespace
{

// The line of the stats text naming a section, with its indentation.
std::string lineOf(const std::string& text, const std::string& name)
{
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
    {
        const auto at = line.find_first_not_of(' ');
        if (line.compare(at, name.size() + 1, name + " ") == 0)
            return line;
    }
    return {};
}

double millisecondsOf(const std::string& line)
{
    std::istringstream words(line);
    std::string name;
    double ms = -1;
    words >> name >> ms;
    return ms;
}

} // namespace

TEST(Profiling, NestedSectionsAreIndentedAndTimed)
{
    Profiling::clear();
    Profiling::reset();
    Profiling::start("Test.Outer");
    {
        Profiling::Block inner("Test.Inner");
        Profiling::Block deeper(Profiling::getId("Test.Deeper"));
    }
    Profiling::end("Test.Outer");

    const std::string stats = Profiling::getStats(1.f / 60.f);
    const std::string outer = lineOf(stats, "Test.Outer");
    const std::string inner = lineOf(stats, "Test.Inner");
    const std::string deeper = lineOf(stats, "Test.Deeper");
    ASSERT_FALSE(outer.empty()) << stats;
    ASSERT_FALSE(inner.empty()) << stats;
    ASSERT_FALSE(deeper.empty()) << stats;
    EXPECT_EQ(outer.rfind("Test.Outer", 0), 0u);
    EXPECT_EQ(inner.rfind("  Test.Inner", 0), 0u);
    EXPECT_EQ(deeper.rfind("    Test.Deeper", 0), 0u);
    EXPECT_LT(stats.find("Test.Outer"), stats.find("Test.Inner"));
    EXPECT_NE(outer.find(" ms"), std::string::npos);
    EXPECT_NE(outer.find('%'), std::string::npos);
    EXPECT_LE(millisecondsOf(inner), millisecondsOf(outer));
    EXPECT_GE(millisecondsOf(deeper), 0.0);
}

TEST(Profiling, ResetStartsANewFrameAndPrintReportsTotals)
{
    Profiling::clear();
    for (int frame = 0; frame < 3; ++frame)
    {
        Profiling::reset();
        Profiling::Block block("Test.Frame");
    }
    EXPECT_FALSE(lineOf(Profiling::getStats(0.016f), "Test.Frame").empty());
    Profiling::reset();
    EXPECT_TRUE(lineOf(Profiling::getStats(0.016f), "Test.Frame").empty());

    testing::internal::CaptureStdout();
    Profiling::print();
    const std::string report = testing::internal::GetCapturedStdout();
    EXPECT_NE(lineOf(report, "Test.Frame").find("(3 calls)"), std::string::npos) << report;

    Profiling::clear();
    testing::internal::CaptureStdout();
    Profiling::print();
    EXPECT_EQ(testing::internal::GetCapturedStdout().find("Test.Frame"), std::string::npos);
}

TEST(Profiling, RecursionIsTimedOnceAndStrayEndsAreIgnored)
{
    Profiling::clear();
    Profiling::reset();
    const Profiling::Id id = Profiling::getId("Test.Recursive");
    Profiling::start(id);
    Profiling::start(id);
    Profiling::end(id);
    EXPECT_TRUE(lineOf(Profiling::getStats(1.f), "Test.Recursive").find("ms") != std::string::npos);
    Profiling::end(id);
    Profiling::end(id);    // not open any more: nothing happens
    Profiling::end("Test.NeverStarted");

    testing::internal::CaptureStdout();
    Profiling::print();
    const std::string report = testing::internal::GetCapturedStdout();
    EXPECT_NE(lineOf(report, "Test.Recursive").find("(1 call)"), std::string::npos) << report;
    EXPECT_THROW(Profiling::start(Profiling::Id(999999)), std::runtime_error);
}

TEST(Profiling, IdsAreStableAndBlocksTellTextsApart)
{
    const Profiling::Id id = Profiling::getId("Test.Stable");
    Profiling::clear();
    EXPECT_EQ(Profiling::getId("Test.Stable"), id);
    EXPECT_NE(Profiling::getId("Test.Other"), id);

    // The same buffer holding two different names must give two sections.
    Profiling::reset();
    char name[16];
    std::strcpy(name, "Test.AAA");
    {
        Profiling::Block block(name);
    }
    std::strcpy(name, "Test.BBB");
    {
        Profiling::Block block(name);
    }
    const std::string stats = Profiling::getStats(1.f);
    EXPECT_FALSE(lineOf(stats, "Test.AAA").empty()) << stats;
    EXPECT_FALSE(lineOf(stats, "Test.BBB").empty()) << stats;
}
