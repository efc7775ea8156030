#include <gtest/gtest.h>

#include <string>

#include "lxpo/PluralForms.h"
#include "platform/PluralRules.h"
#include "support/FixedSystem.h"
#include "support/Raised.h"

namespace lx::tools {
namespace {

// Languages whose CLDR rules differ in kind: one form, two, French's 0, Slavic few/many,
// six Arabic forms, Romanian, Latvian's zero, Welsh and Breton, Lithuanian and Irish.
constexpr unsigned kLanguages[] = {0x0411, 0x0409, 0x0407, 0x041F, 0x040C, 0x0419, 0x0415,
                                   0x0405, 0x0401, 0x0418, 0x0426, 0x0452, 0x047E, 0x0427,
                                   0x083C, 0x040D, 0x0410, 0x0C0A, 0x0416};

TEST(PluralFormsTest, TheWrittenExpressionGivesEveryCountTheCategoryIcuGives) {
  for (const unsigned lcid : kLanguages) {
    const platform::GettextPluralForms forms = platform::GettextPlurals(lcid);
    ASSERT_EQ(ParsePluralForms(forms.Header()).count, forms.count) << forms.Header();
    auto check = [&](std::int64_t n) {
      const unsigned long form =
          EvaluatePluralExpression(forms.expression, static_cast<unsigned long>(n));
      ASSERT_LT(form, forms.categories.size()) << lcid << " " << n;
      EXPECT_EQ(forms.categories[form], platform::PluralCategory(lcid, n))
          << "LCID " << lcid << ", n = " << n << ", " << forms.Header();
    };
    for (std::int64_t n = 0; n <= 1000; ++n)
      check(n);
    for (const std::string& category : forms.categories) {
      for (const std::int64_t sample : platform::PluralSamples(lcid, category))
        check(sample);
    }
  }
}

TEST(PluralFormsTest, FormsOfAFileFollowItsOwnExpression) {
  // gettext's usual Russian header orders one, few, many as lxpo does; one that puts "many"
  // first maps the other way round.
  const std::map<std::string, int> usual{{"few", 1}, {"many", 2}, {"one", 0}};
  EXPECT_EQ(FormOfCategories("nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && "
                             "n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);",
                             0x0419, "ru"),
            usual);
  const std::map<std::string, int> reversed{{"few", 1}, {"many", 0}, {"one", 2}};
  EXPECT_EQ(FormOfCategories("nplurals=3; plural=n%10==1 && n%100!=11 ? 2 : n%10>=2 && "
                             "n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 0;",
                             0x0419, "ru"),
            reversed);
}

TEST(PluralFormsTest, RefusesHeadersThatDoNotParseOrDisagree) {
  const struct {
    const char* header;
    const char* message;
  } cases[] = {
      {"nplurals=2;", "Plural-Forms \"nplurals=2;\": \"nplurals=N; plural=EXPRESSION;\" expected"},
      {"nplurals=x; plural=0;",
       "Plural-Forms \"nplurals=x; plural=0;\": nplurals is not a number from 1 up"},
      {"nplurals=2; plural=(n==1 ? 0;", "plural expression \"(n==1 ? 0\": \":\" expected"},
      {"nplurals=2; plural=n%0;", "plural expression \"n%0\": division by 0"},
      {"nplurals=2; plural=n != 1;",
       "Plural-Forms \"nplurals=2; plural=n != 1;\" does not agree with the plural rules of "
       "ru: 21 (\"one\") takes form 1, other counts of \"one\" form 0"},
      {"nplurals=2; plural=n>1;",
       "Plural-Forms \"nplurals=2; plural=n>1;\" does not agree with the plural rules of ru: "
       "21 (\"one\") takes form 1, other counts of \"one\" form 0"},
      {"nplurals=1; plural=n;",
       "Plural-Forms \"nplurals=1; plural=n;\" does not agree with the plural rules of ru: 1 "
       "takes form 1 of 1"},
  };
  for (const auto& c : cases) {
    EXPECT_RAISES(FormOfCategories(c.header, 0x0419, "ru"), PoError, c.message);
  }
  const std::string deep = std::string(100000, '(') + "n" + std::string(100000, ')');
  EXPECT_RAISES(EvaluatePluralExpression(deep, 1), PoError,
                "plural expression \"" + deep + "\": nested too deeply");
  EXPECT_RAISES(EvaluatePluralExpression(std::string(100000, '!') + "n", 1), PoError,
                "plural expression \"" + std::string(100000, '!') + "n\": nested too deeply");
}

}  // namespace
}  // namespace lx::tools
