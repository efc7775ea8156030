#include <gtest/gtest.h>

#include <algorithm>

#include "platform/LocaleIds.h"

namespace lx::platform {
namespace {

TEST(LocaleIdsTest, MapsLcidsThroughIcusTable) {
  EXPECT_EQ(IcuLocaleOfLcid(0x0C07), "de_AT");
  EXPECT_EQ(IcuLocaleOfLcid(0x0404), "zh_Hant_TW");
  EXPECT_EQ(IcuLocaleOfLcid(0x0007), "de");
  EXPECT_EQ(IcuLocaleOfLcid(0x10407), "de_DE@collation=phonebook");
  EXPECT_EQ(LcidOfIcuLocale("de_AT"), 0x0C07u);
  EXPECT_EQ(LcidOfIcuLocale("sr_Latn_RS"), 0x241Au);
  EXPECT_EQ(LcidOfIcuLocale("xx_YY"), 0u);
}

TEST(LocaleIdsTest, LcidsIcuWouldOnlyGuessAreUnknown) {
  // ICU answers 0x0802 with "bg" and 0x20407 with "de"; Windows knows neither.
  for (Lcid lcid : {0x0802u, 0x20407u, 0x5678u, 0x0000u, 0x0400u, 0x0800u}) {
    EXPECT_FALSE(IsKnownLcid(lcid)) << std::hex << lcid;
    EXPECT_EQ(IcuLocaleOfLcid(lcid), std::nullopt) << std::hex << lcid;
  }
  EXPECT_TRUE(IsKnownLcid(0x0411));
}

TEST(LocaleIdsTest, ReadsPosixLocaleTexts) {
  EXPECT_EQ(LcidOfPosixLocale("de_AT.UTF-8"), 0x0C07u);
  EXPECT_EQ(LcidOfPosixLocale("de_AT.ISO-8859-15@euro"), 0x0C07u);
  EXPECT_EQ(LcidOfPosixLocale("zh_TW.Big5"), 0x0404u);
  EXPECT_EQ(LcidOfPosixLocale("sr_RS@latin"), 0x241Au);
  EXPECT_EQ(LcidOfPosixLocale("sr_RS"), 0x281Au);
  EXPECT_EQ(LcidOfPosixLocale("de"), 0x0407u);
  EXPECT_EQ(LcidOfPosixLocale("ja"), 0x0411u);
}

TEST(LocaleIdsTest, PosixLocalesWithoutACountryLocaleMeanEnglishUnitedStates) {
  for (const char* text : {"", "C", "POSIX", "C.UTF-8", "xx_YY", "de_XX"}) {
    EXPECT_EQ(LcidOfPosixLocale(text), kEnglishUnitedStates) << text;
  }
}

TEST(LocaleIdsTest, SupportedLcidsAreKnownCountryLocalesInAscendingOrder) {
  const std::vector<Lcid> lcids = IcuSupportedLcids();
  EXPECT_TRUE(std::is_sorted(lcids.begin(), lcids.end()));
  EXPECT_EQ(std::adjacent_find(lcids.begin(), lcids.end()), lcids.end());
  for (Lcid lcid : {0x0407u, 0x0409u, 0x0C07u, 0x0411u, 0x040Du}) {
    EXPECT_NE(std::find(lcids.begin(), lcids.end(), lcid), lcids.end()) << std::hex << lcid;
  }
  // Language-only locales are no country locales.
  for (Lcid lcid : {0x0007u, 0x0004u}) {
    EXPECT_EQ(std::find(lcids.begin(), lcids.end(), lcid), lcids.end()) << std::hex << lcid;
  }
  EXPECT_TRUE(std::all_of(lcids.begin(), lcids.end(), IsKnownLcid));
}

}  // namespace
}  // namespace lx::platform
