#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PluralRules.h"

namespace lx::platform {
namespace {

constexpr Lcid kRussian = 0x0419, kPolish = 0x0415, kArabic = 0x0401, kJapanese = 0x0411,
               kFrench = 0x040C, kGerman = 0x0407;

TEST(PluralRulesTest, CategoriesOfCountsFollowTheLanguage) {
  const struct {
    Lcid lcid;
    std::int64_t count;
    const char* category;
  } cases[] = {
      {kRussian, 1, "one"},    {kRussian, 21, "one"},      {kRussian, 11, "many"},
      {kRussian, 3, "few"},    {kRussian, 0, "many"},      {kPolish, 22, "few"},
      {kPolish, 1, "one"},     {kPolish, 21, "many"},      {kArabic, 0, "zero"},
      {kArabic, 2, "two"},     {kArabic, 103, "few"},      {kArabic, 111, "many"},
      {kArabic, 100, "other"}, {kJapanese, 1, "other"},    {kFrench, 0, "one"},
      {kFrench, 2, "other"},   {kFrench, 1000000, "many"}, {0x7FFF, 1, "other"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PluralCategory(c.lcid, c.count), c.category) << c.lcid << " " << c.count;
  }
}

TEST(PluralRulesTest, WholeCountsTakeTheCategoriesWithWholeSamples) {
  using Names = std::vector<std::string>;
  EXPECT_EQ(IntegerPluralCategories(kRussian), (Names{"one", "few", "many"}));
  EXPECT_EQ(IntegerPluralCategories(kArabic),
            (Names{"zero", "one", "two", "few", "many", "other"}));
  EXPECT_EQ(IntegerPluralCategories(kJapanese), (Names{"other"}));
  EXPECT_EQ(IntegerPluralCategories(kFrench), (Names{"one", "many", "other"}));
  EXPECT_EQ(PluralSamples(kRussian, "other"), std::vector<std::int64_t>{});
}

TEST(PluralRulesTest, GettextFormsOfOneFormAndOfTwo) {
  EXPECT_EQ(GettextPlurals(kJapanese).Header(), "nplurals=1; plural=0;");
  EXPECT_EQ(GettextPlurals(kGerman).Header(), "nplurals=2; plural=(n==1) ? 0 : 1;");
}

TEST(PluralRulesTest, CountsAreWrittenInTheLocalesGrouping) {
  EXPECT_EQ(FormatCount(kGerman, 1234567), u"1.234.567");
  EXPECT_EQ(FormatCount(0x0409, -1234), u"-1,234");
}

}  // namespace
}  // namespace lx::platform
