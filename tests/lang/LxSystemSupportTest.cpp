#include <gtest/gtest.h>

#include <vector>

#include "lang/LxRecords.h"
#include "lang/LxSystemSupport.h"
#include "support/FixedSystem.h"

namespace lx::lang {
namespace {

TLxLanguage Language(int primary, int codePage, TLxLanguageFlags flags = {}) {
  return TLxLanguage(primary, 1, codePage, "", "", "", "", 0, flags);
}

bool LocaleSupported(int primary, int codePage) {
  TLxLocale locale;
  locale.PrimaryLanguage = primary;
  locale.SubLanguage = 1;
  locale.CodePage = codePage;
  return LocaleSupportedByCodePage(locale);
}

TEST(LxSystemSupportTest, CodePagesAreSupportedWhenInstalled) {
  const support::FixedSystem austrian;
  EXPECT_TRUE(IsCodePageSupported(0));
  EXPECT_TRUE(IsCodePageSupported(1251));
  EXPECT_TRUE(IsCodePageSupported(932));
  // ICU converts it, but the system does not report it installed.
  EXPECT_FALSE(IsCodePageSupported(437));
  EXPECT_FALSE(IsCodePageSupported(-1252));

  platform::SystemDescription oem = support::AustrianSystem();
  oem.installedCodePages = {437, 1361, 1252};
  const support::FixedSystem withOem(oem);
  EXPECT_TRUE(IsCodePageSupported(437));
  // Reported, but no converter exists for it.
  EXPECT_FALSE(IsCodePageSupported(1361));
  EXPECT_FALSE(IsCodePageSupported(1251));
}

TEST(LxSystemSupportTest, LanguagesTheSystemCanConvert) {
  const support::FixedSystem system;
  EXPECT_TRUE(LanguageSupportedBySystem(Language(25, 1251)));
  EXPECT_FALSE(LanguageSupportedBySystem(Language(25, 866)));
  EXPECT_TRUE(LanguageSupportedBySystem(Language(25, 866, {lfAnyCodePage})));
  EXPECT_FALSE(LanguageSupportedBySystem(Language(25, 866, {lfUser})));
  for (int plain : {0, 9, 33})
    EXPECT_TRUE(LanguageSupportedBySystem(Language(plain, 866))) << plain;
}

TEST(LxSystemSupportTest, LanguagesInTheSystemsCodePage) {
  const support::FixedSystem system;
  EXPECT_TRUE(LanguageSupportedByCodePage(Language(9, 1251)));
  EXPECT_TRUE(LanguageSupportedByCodePage(Language(33, 1253)));
  EXPECT_TRUE(LanguageSupportedByCodePage(Language(7, 1252)));
  EXPECT_FALSE(LanguageSupportedByCodePage(Language(8, 1253)));
  EXPECT_TRUE(LanguageSupportedByCodePage(Language(8, 1253, {lfAnyCodePage})));
  EXPECT_TRUE(LanguageSupportedByCodePage(Language(8, 0)));

  platform::SystemDescription greek = support::AustrianSystem();
  greek.ansiCodePage = 1253;
  const support::FixedSystem greekSystem(greek);
  EXPECT_TRUE(LanguageSupportedByCodePage(Language(8, 1253)));
  EXPECT_FALSE(LanguageSupportedByCodePage(Language(7, 1252)));
}

TEST(LxSystemSupportTest, LocalesInTheSystemsCodePage) {
  const support::FixedSystem system;
  EXPECT_TRUE(LocaleSupported(7, 1252));
  EXPECT_FALSE(LocaleSupported(8, 1253));
  EXPECT_TRUE(LocaleSupported(8, 0));
  for (int plain : {0, 9, 33})
    EXPECT_TRUE(LocaleSupported(plain, 1251)) << plain;
}

TEST(LxSystemSupportTest, SystemLocalesFollowWhatTheListHolds) {
  const support::FixedSystem system;
  std::vector<int> lcids{1};
  AppendSystemLocales(lcids);
  EXPECT_EQ(lcids,
            (std::vector<int>{1, 0x0407, 0x0409, 0x040C, 0x040D, 0x0411, 0x0419, 0x0809, 0x0C07}));

  platform::SystemDescription sorted = support::AustrianSystem();
  sorted.installedLocales = {0x10407, 0x0C07};
  const support::FixedSystem withSort(sorted);
  lcids.clear();
  AppendSystemLocales(lcids);
  EXPECT_EQ(lcids, (std::vector<int>{0x10407, 0x0C07}));
}

}  // namespace
}  // namespace lx::lang
