#include <gtest/gtest.h>

#include "lang/LxIsoLanguages.h"
#include "support/FixedSystem.h"

namespace lx::lang {
namespace {

struct IsoCase {
  const char* iso;
  const char* country;
  int primary;
  int sub;
  int codePage;
  const char* englishName;
};

TEST(LxIsoLanguagesTest, AnIsoCodeGivesTheIdsCodePageAndNames) {
  const support::FixedSystem system;
  const IsoCase cases[] = {
      {"ar", "", 1, 3, 1256, "Arabic"},    {"AR", "sa", 1, 1, 1256, "Arabic"},
      {"de", "AT", 7, 3, 1252, "German"},  {"ja", "", 17, 1, 932, "Japanese"},
      {"ru", "", 25, 1, 1251, "Russian"},  {"en", "", 9, 1, 1252, "English"},
      {"he", "IL", 13, 1, 1255, "Hebrew"},
  };
  for (const IsoCase& c : cases) {
    SCOPED_TRACE(std::string(c.iso) + "_" + c.country);
    TLxLanguage language;
    ASSERT_TRUE(LanguageFromIsoCode(c.iso, c.country, language));
    EXPECT_EQ(language.PrimaryLanguage, c.primary);
    EXPECT_EQ(language.SubLanguage, c.sub);
    EXPECT_EQ(language.CodePage, c.codePage);
    EXPECT_EQ(language.EnglishName.substr(0, std::string(c.englishName).size()), c.englishName);
    EXPECT_FALSE(language.NativeName.empty());
  }
}

TEST(LxIsoLanguagesTest, WhatTheRecordGivesIsKept) {
  const support::FixedSystem system;
  TLxLanguage language;
  language.EnglishName = "Arabic";
  language.NativeName = "Arabic";
  ASSERT_TRUE(LanguageFromIsoCode("ar", "", language));
  EXPECT_EQ(language.EnglishName, "Arabic");
  EXPECT_EQ(language.NativeName, "Arabic");
  EXPECT_EQ(language.CodePage, 1256);
}

TEST(LxIsoLanguagesTest, AnUnknownCodeLeavesTheRecordAlone) {
  const support::FixedSystem system;
  for (const auto& [iso, country] : {std::pair{"xx", ""},
                                     {"de", "XX"},
                                     {"d", ""},
                                     {"de-", ""},
                                     {"tlh", ""},
                                     {"", ""},
                                     {"de", "A1"}}) {
    SCOPED_TRACE(std::string(iso) + "_" + country);
    TLxLanguage language;
    EXPECT_FALSE(LanguageFromIsoCode(iso, country, language));
    EXPECT_EQ(language.PrimaryLanguage, 0);
    EXPECT_EQ(language.CodePage, 0);
  }
}

}  // namespace
}  // namespace lx::lang
