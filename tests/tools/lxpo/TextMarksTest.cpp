#include <gtest/gtest.h>

#include "lxpo/TextMarks.h"

namespace lx::tools {
namespace {

using List = std::vector<Placeholder>;

TEST(TextMarksTest, PlaceholdersTakeTheirArgumentsAsTheFormatRoutineDoes) {
  const std::vector<std::pair<std::string, std::optional<List>>> cases = {
      {"plain 100%% sure", List{}},
      {"%s of %d", List{{0, 's'}, {1, 'd'}}},
      {"%1:d %0:s %s", List{{1, 'd'}, {0, 's'}, {1, 's'}}},
      {"%-8.2F|%x", List{{0, 'f'}, {1, 'x'}}},
      {"%*.*f", List{{0, '*'}, {1, '*'}, {2, 'f'}}},
      {"50% done", std::nullopt},
      {"ends in %", std::nullopt},
      {"%1:", std::nullopt},
  };
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(Placeholders(text), expected) << text;
  EXPECT_TRUE(IsFormatText("%d files"));
  EXPECT_FALSE(IsFormatText("100%%"));
  EXPECT_FALSE(IsFormatText("50% done"));
}

TEST(TextMarksTest, HotKeysSkipDoubledAmpersandsAndFoldAsciiCase) {
  EXPECT_EQ(HotKeys("&Open"), (std::vector<std::string>{"o"}));
  EXPECT_EQ(HotKeys("Save && &Quit &"), (std::vector<std::string>{"q"}));
  EXPECT_EQ(HotKeys("&Öffnen &x"), (std::vector<std::string>{"Ö", "x"}));
  EXPECT_TRUE(HotKeys("R&&D").empty());
}

}  // namespace
}  // namespace lx::tools
