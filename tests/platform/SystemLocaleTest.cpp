#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/SystemLocale.h"
#include "support/FixedSystem.h"

namespace lx::platform {
namespace {

using support::AustrianSystem;
using support::FixedSystem;

bool Holds(const std::vector<std::uint32_t>& values, std::uint32_t value) {
  return std::find(values.begin(), values.end(), value) != values.end();
}

// Sets the locale variables for one test and puts the old values back.
class ScopedLocaleEnvironment {
 public:
  ScopedLocaleEnvironment(const char* lcAll, const char* lcMessages, const char* lang) {
    const std::pair<const char*, const char*> values[] = {
        {"LC_ALL", lcAll}, {"LC_MESSAGES", lcMessages}, {"LANG", lang}};
    for (const auto& [name, value] : values) {
      if (const char* old = std::getenv(name)) saved_[name] = old;
      if (value != nullptr) {
        setenv(name, value, 1);
      } else {
        unsetenv(name);
      }
    }
  }
  ~ScopedLocaleEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
      auto found = saved_.find(name);
      if (found != saved_.end()) {
        setenv(name, found->second.c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
  }

 private:
  std::map<std::string, std::string> saved_;
};

TEST(SystemLocaleTest, ScopedDescriptionsNestAndRestoreEverything) {
  FixedSystem austrian;
  {
    SystemDescription japanese = SystemDescriptionFor(0x0411);
    japanese.installedLocales = {0x0411};
    FixedSystem japaneseSystem(japanese);
    EXPECT_EQ(UserDefaultLcid(), 0x0411u);
    EXPECT_EQ(AnsiCodePage(), 932u);
    EXPECT_TRUE(DbcsEnabled());
    ASSERT_TRUE(SetThreadLocale(0x0409));
    EXPECT_EQ(ThreadLocale(), 0x0409u);
  }
  EXPECT_EQ(UserDefaultLcid(), 0x0C07u);
  EXPECT_EQ(ThreadLocale(), 0x0C07u);
  EXPECT_EQ(AnsiCodePage(), 1252u);
  EXPECT_FALSE(DbcsEnabled());
  EXPECT_EQ(SupportedLocaleTexts().size(), 8u);
}

// The system's own description lists its locales when asked, however it was first reached and
// whatever was put in force meanwhile.
TEST(SystemLocaleTest, TheSystemsLocalesAreListedWhenAskedFor) {
  UserDefaultLcid();
  { FixedSystem austrian; }
  EXPECT_EQ(SupportedLocaleTexts().size(), IcuSupportedLcids().size());
  EXPECT_EQ(CurrentSystemDescription().installedLocales, IcuSupportedLcids());
}

TEST(SystemLocaleTest, DefaultIdsResolveToTheDescribedLocales) {
  SystemDescription description = AustrianSystem();
  description.systemDefaultLcid = 0x0407;
  FixedSystem system(description);
  EXPECT_EQ(ResolveDefaultLcid(LOCALE_NEUTRAL), 0x0C07u);
  EXPECT_EQ(ResolveDefaultLcid(LOCALE_USER_DEFAULT), 0x0C07u);
  EXPECT_EQ(ResolveDefaultLcid(LOCALE_SYSTEM_DEFAULT), 0x0407u);
  EXPECT_EQ(ResolveDefaultLcid(0x0409), 0x0409u);
  EXPECT_EQ(SystemDefaultLcid(), 0x0407u);
}

TEST(SystemLocaleTest, ThreadLocaleTakesOnlyKnownLocales) {
  SystemDescription description = AustrianSystem();
  description.systemDefaultLcid = 0x0407;
  FixedSystem system(description);
  EXPECT_TRUE(SetThreadLocale(0x0419));
  EXPECT_EQ(ThreadLocale(), 0x0419u);
  EXPECT_FALSE(SetThreadLocale(0x5678));
  EXPECT_FALSE(SetThreadLocale(0x0802));
  EXPECT_EQ(ThreadLocale(), 0x0419u);
  EXPECT_TRUE(SetThreadLocale(LOCALE_SYSTEM_DEFAULT));
  EXPECT_EQ(ThreadLocale(), 0x0407u);
}

TEST(SystemLocaleTest, EnumeratesInstalledLocalesAndCodePagesAsTexts) {
  SystemDescription description = AustrianSystem();
  description.installedLocales = {0x0C07, 0x0407, 0x10407, 0x0411};
  description.installedCodePages = {1252, 12345, 932, 1200};
  FixedSystem system(description);
  EXPECT_EQ(SupportedLocaleTexts(),
            (std::vector<std::string>{"00000C07", "00000407", "00010407", "00000411"}));
  EXPECT_EQ(InstalledCodePageTexts(), (std::vector<std::string>{"1252", "932"}));
}

TEST(SystemLocaleTest, DescriptionForALocaleFollowsItsCodePage) {
  const SystemDescription japanese = SystemDescriptionFor(0x0411);
  EXPECT_EQ(japanese.userDefaultLcid, 0x0411u);
  EXPECT_EQ(japanese.systemDefaultLcid, 0x0411u);
  EXPECT_EQ(japanese.threadLocale, 0x0411u);
  EXPECT_EQ(japanese.ansiCodePage, 932u);
  EXPECT_TRUE(japanese.dbcsEnabled);
  EXPECT_FALSE(japanese.middleEastEnabled);
  EXPECT_TRUE(Holds(japanese.installedCodePages, 932));
  EXPECT_TRUE(Holds(japanese.installedCodePages, 1252));
  EXPECT_FALSE(Holds(japanese.installedCodePages, 12345));
  EXPECT_TRUE(Holds(japanese.installedLocales, 0x0411));

  const SystemDescription hebrew = SystemDescriptionFor(0x040D);
  EXPECT_EQ(hebrew.ansiCodePage, 1255u);
  EXPECT_TRUE(hebrew.middleEastEnabled);
  EXPECT_FALSE(hebrew.dbcsEnabled);

  // A Unicode-only locale still has an ANSI code page on the system.
  EXPECT_EQ(SystemDescriptionFor(0x0439).ansiCodePage, 1252u);
}

TEST(SystemLocaleTest, EnvironmentChoosesTheLocaleInPosixOrder) {
  {
    ScopedLocaleEnvironment environment(nullptr, nullptr, "de_AT.UTF-8");
    EXPECT_EQ(SystemDescriptionFromEnvironment().userDefaultLcid, 0x0C07u);
  }
  {
    ScopedLocaleEnvironment environment("", "fr_FR.UTF-8", "de_AT.UTF-8");
    EXPECT_EQ(SystemDescriptionFromEnvironment().userDefaultLcid, 0x040Cu);
  }
  {
    ScopedLocaleEnvironment environment("ru_RU.UTF-8", "fr_FR.UTF-8", "de_AT.UTF-8");
    const SystemDescription russian = SystemDescriptionFromEnvironment();
    EXPECT_EQ(russian.userDefaultLcid, 0x0419u);
    EXPECT_EQ(russian.ansiCodePage, 1251u);
  }
  for (const char* lang : {static_cast<const char*>(nullptr), "C", "POSIX"}) {
    ScopedLocaleEnvironment environment(nullptr, nullptr, lang);
    EXPECT_EQ(SystemDescriptionFromEnvironment().userDefaultLcid, kEnglishUnitedStates);
  }
}

TEST(SystemLocaleTest, RightToLeftCharactersDependOnTheLocalesCodePage) {
  FixedSystem system;
  EXPECT_TRUE(IsRightToLeftCharacter(0x040D, '\xE0'));  // alef in 1255
  EXPECT_TRUE(IsRightToLeftCharacter(0x0401, '\xC7'));  // alef in 1256
  EXPECT_FALSE(IsRightToLeftCharacter(0x040D, 'A'));
  EXPECT_FALSE(IsRightToLeftCharacter(0x040D, '5'));
  EXPECT_FALSE(IsRightToLeftCharacter(0x0407, '\xE0'));  // a grave in 1252
  EXPECT_FALSE(IsRightToLeftCharacter(0x0411, '\x82'));  // a lead byte alone
  EXPECT_FALSE(IsRightToLeftCharacter(0x5678, '\xE0'));

  SystemDescription hebrew = AustrianSystem();
  hebrew.userDefaultLcid = 0x040D;
  hebrew.ansiCodePage = 1255;
  FixedSystem hebrewSystem(hebrew);
  EXPECT_TRUE(IsRightToLeftCharacter(LOCALE_USER_DEFAULT, '\xE0'));
  EXPECT_TRUE(IsRightToLeftCharacter(0x0439, '\xE0'));  // Unicode only: the system's page
}

TEST(SystemLocaleTest, MetricsComeFromTheDescription) {
  SystemDescription description = AustrianSystem();
  description.middleEastEnabled = true;
  FixedSystem system(description);
  EXPECT_TRUE(MiddleEastEnabled());
  EXPECT_FALSE(DbcsEnabled());
  EXPECT_TRUE(IsPlatformNT());
}

}  // namespace
}  // namespace lx::platform
