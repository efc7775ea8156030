#include <gtest/gtest.h>

#include "app/LanguageChoice.h"
#include "dict/LxBinDic.h"
#include "support/FixedSystem.h"
#include "support/lang/LxProcessState.h"

namespace lx::app {
namespace {

class LanguageChoiceTest : public ::testing::Test {
 protected:
  LanguageChoiceTest() {
    dictionary_.SetFileName(LX_PROBE_DICTIONARY);
    dictionary_.SetCheckLevel(lang::lxclNone);
    dictionary_.Open();
  }

  support::FixedSystem system_;
  support::TLxProcessState processState_;
  dict::TLxBinaryDictionary dictionary_{nullptr};
};

TEST_F(LanguageChoiceTest, ALanguageIsChosenByPositionEnglishNameOrOwnName) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"1", 1}, {"german", 1}, {"Deutsch", 1},  {"日本語", 5}, {"English", 0}, {"Native", 0},
      {"0", 0}, {"-1", -1},    {"Klingon", {}}, {"99", {}},    {"-3", {}},     {"", {}},
  };
  for (const auto& [text, position] : cases) {
    EXPECT_EQ(FindLanguageChoice(&dictionary_, text), position) << text;
  }
  // Without a dictionary there is English alone.
  EXPECT_EQ(FindLanguageChoice(nullptr, "English"), 0);
  EXPECT_EQ(FindLanguageChoice(nullptr, "1"), std::nullopt);
  EXPECT_EQ(FindLanguageChoice(nullptr, "-1"), std::nullopt);
}

TEST_F(LanguageChoiceTest, TheChoicesNameTheNativeLanguageEnglish) {
  EXPECT_EQ(EnglishNameAt(&dictionary_, 0), "English");
  EXPECT_EQ(OwnNameAt(&dictionary_, 4), "Русский");
  const std::string choices = LanguageChoices(&dictionary_);
  EXPECT_EQ(choices.substr(0, choices.find("  2")), "  0  English\n  1  German (Deutsch)\n");
  EXPECT_NE(choices.find("  6  Arabic (العربية)\n"), std::string::npos) << choices;
  EXPECT_EQ(LanguageChoices(nullptr), "  0  English\n");
}

}  // namespace
}  // namespace lx::app
