#include "plym/game/FontFinder.hpp"

#include <gtest/gtest.h>

#include <filesystem>

using Plym::FontFinder;

TEST(FontFinder, FindsDejaVuSansOnce)
{
    const std::string path = FontFinder::findFontFile("DejaVu Sans");
    ASSERT_FALSE(path.empty());
    EXPECT_TRUE(std::filesystem::exists(path));

    const sf::Font& font = FontFinder::getDefaultFont();
    EXPECT_NE(font.getInfo().family.find("DejaVu Sans"), std::string::npos) << font.getInfo().family;
    EXPECT_EQ(&FontFinder::getDefaultFont(), &font);
}
