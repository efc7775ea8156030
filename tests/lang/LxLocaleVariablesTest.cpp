#include <gtest/gtest.h>

#include "framework/runtime/SysLocale.h"
#include "lang/LxLocaleVariables.h"
#include "lang/LxRecords.h"
#include "platform/SystemLocale.h"
#include "support/FixedSystem.h"
#include "support/lang/LxProcessState.h"

namespace lx::lang {
namespace {

class LxLocaleVariablesTest : public ::testing::Test {
 protected:
  support::FixedSystem system_;
  support::TLxProcessState state_;
};

TEST_F(LxLocaleVariablesTest, WidenYearMakesTwoDigitYearsFourDigits) {
  EXPECT_EQ(WidenYear("dd/MM/yy"), "dd/MM/yyyy");
  EXPECT_EQ(WidenYear("yy.MM.dd"), "yyyy.MM.dd");
  EXPECT_EQ(WidenYear("d MMMM yyyy"), "d MMMM yyyy");
  EXPECT_EQ(WidenYear("yy/MM/yyyy"), "yy/MM/yyyy");
  // Only the first two-digit year is widened.
  EXPECT_EQ(WidenYear("yy 'or' yy"), "yyyy 'or' yy");
  // Formats without a two-digit year gain none.
  EXPECT_EQ(WidenYear("dd.MM."), "dd.MM.");
  EXPECT_EQ(WidenYear("d/M/y"), "d/M/y");
  EXPECT_EQ(WidenYear(""), "");
}

TEST_F(LxLocaleVariablesTest, TimeFormatsFollowTheLocalesClock) {
  TLxLocale locale;
  framework::TFormatSettings settings;
  locale.TimeFormat = 0;
  locale.TimeMarkPosition = 1;
  BuildTimeFormats(locale, settings);
  EXPECT_EQ(settings.ShortTimeFormat, "AMPM h:mm");
  EXPECT_EQ(settings.LongTimeFormat, "AMPM h:mm:ss");

  locale.TimeMarkPosition = 0;
  locale.HourLeadingZero = true;
  BuildTimeFormats(locale, settings);
  EXPECT_EQ(settings.ShortTimeFormat, "hh:mm AMPM");
  EXPECT_EQ(settings.LongTimeFormat, "hh:mm:ss AMPM");

  locale.TimeFormat = 1;
  BuildTimeFormats(locale, settings);
  EXPECT_EQ(settings.ShortTimeFormat, "hh:mm");
  EXPECT_EQ(settings.LongTimeFormat, "hh:mm:ss");

  // A mark position the system does not use puts the mark nowhere.
  locale.TimeFormat = 0;
  locale.TimeMarkPosition = 2;
  locale.HourLeadingZero = false;
  BuildTimeFormats(locale, settings);
  EXPECT_EQ(settings.LongTimeFormat, "h:mm:ss");
}

TEST_F(LxLocaleVariablesTest, TheSysLocaleRecordFollowsTheGivenLocale) {
  InitSysLocaleFor(0);
  framework::TSysLocale& record = framework::SysLocale();
  EXPECT_EQ(record.DefaultLCID, 0x0409u);
  EXPECT_EQ(record.PriLangID, 9);
  EXPECT_EQ(record.SubLangID, 1);
  EXPECT_FALSE(record.FarEast);
  EXPECT_FALSE(record.MiddleEast);

  InitSysLocaleFor(0x0411);
  EXPECT_EQ(record.DefaultLCID, 0x0411u);
  EXPECT_EQ(record.PriLangID, 17);
  EXPECT_TRUE(record.FarEast);
  EXPECT_FALSE(record.MiddleEast);
  EXPECT_TRUE(record.LeadBytes.test(0x81));
  EXPECT_TRUE(record.LeadBytes.test(0xFC));
  EXPECT_FALSE(record.LeadBytes.test(0xA0));
  EXPECT_FALSE(record.LeadBytes.test(0x41));

  InitSysLocaleFor(0x040D);
  EXPECT_EQ(record.SubLangID, 1);
  EXPECT_FALSE(record.FarEast);
  EXPECT_TRUE(record.MiddleEast);
  EXPECT_TRUE(record.LeadBytes.none());

  InitSysLocaleFor(0x0419);
  EXPECT_FALSE(record.FarEast);
  EXPECT_FALSE(record.MiddleEast);

  // A sort id alone names no language: the English default stays, and English is Western.
  InitSysLocaleFor(0x10000);
  EXPECT_EQ(record.DefaultLCID, 0x10000u);
  EXPECT_EQ(record.PriLangID, 9);
  EXPECT_FALSE(record.FarEast);
}

TEST_F(LxLocaleVariablesTest, LocaleCodePageFallsBackToTheSystemsOwn) {
  EXPECT_EQ(LocaleCodePage(0x0419), 1251);
  EXPECT_EQ(LocaleCodePage(0x0439), 0);
  EXPECT_EQ(LocaleCodePage(0x07FE), 1252);
}

TEST_F(LxLocaleVariablesTest, StartupValuesComeFromTheUserAndThreadLocales) {
  EXPECT_EQ(StartupLocaleValues(), (TLxLocaleValues{0, 0, 2}));

  {
    const support::FixedSystem american(platform::SystemDescriptionFor(0x0409));
    EXPECT_EQ(StartupLocaleValues(), (TLxLocaleValues{1, 6, 0}));
  }
  platform::SystemDescription british = support::AustrianSystem();
  british.userDefaultLcid = 0x0809;
  {
    const support::FixedSystem system(british);
    EXPECT_EQ(StartupLocaleValues().MeasurementSystem, 0);
  }
  // The thread locale decides the week, the user's locale the measurement.
  british.userDefaultLcid = 0x0009;
  british.threadLocale = 0x0409;
  const support::FixedSystem system(british);
  EXPECT_EQ(StartupLocaleValues(), (TLxLocaleValues{1, 6, 0}));
}

}  // namespace
}  // namespace lx::lang
