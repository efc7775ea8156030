#include <gtest/gtest.h>

#include "framework/runtime/FormatSettings.h"

namespace lx::framework {
namespace {

TEST(FormatSettingsTest, TakesTheFormatsOfAGermanLocale) {
  const TFormatSettings settings = GetLocaleFormatSettings(0x0407);
  EXPECT_EQ(settings.ShortDateFormat, "dd.MM.yyyy");
  EXPECT_EQ(settings.DateSeparator, '.');
  EXPECT_EQ(settings.DecimalSeparator, ',');
  EXPECT_EQ(settings.ThousandSeparator, '.');
  EXPECT_EQ(settings.CurrencyString, "\x80");  // the euro sign of code page 1252
  EXPECT_EQ(settings.CurrencyDecimals, 2);
  EXPECT_EQ(settings.ShortTimeFormat, "hh:mm");
  EXPECT_EQ(settings.LongTimeFormat, "hh:mm:ss");
  EXPECT_EQ(settings.LongDayNames[0], "Sonntag");
  EXPECT_EQ(settings.ShortDayNames[1], "Mo");
  EXPECT_EQ(settings.LongMonthNames[2], "M\xE4rz");
  EXPECT_EQ(settings.CodePage, 1252u);
}

// The texts are in their locale's code page, which the settings name for whoever shows them.
TEST(FormatSettingsTest, NameTheCodePageOfTheirTexts) {
  EXPECT_EQ(GetLocaleFormatSettings(0x0419).CodePage, 1251u);
  EXPECT_EQ(GetLocaleFormatSettings(0x0401).CodePage, 1256u);
  EXPECT_EQ(GetLocaleFormatSettings(0x0411).CodePage, 932u);
}

TEST(FormatSettingsTest, UsesTheTwelveHourClockWithItsMarkers) {
  const TFormatSettings settings = GetLocaleFormatSettings(0x0409);
  EXPECT_EQ(settings.ShortDateFormat, "M/d/yyyy");
  EXPECT_EQ(settings.ShortTimeFormat, "h:mm AMPM");
  EXPECT_EQ(settings.LongTimeFormat, "h:mm:ss AMPM");
  EXPECT_EQ(settings.TimeAMString, "AM");
  EXPECT_EQ(settings.LongDayNames[6], "Saturday");
}

TEST(FormatSettingsTest, AnUnknownLocaleKeepsTheDefaults) {
  const TFormatSettings settings = GetLocaleFormatSettings(0x7777);
  EXPECT_EQ(settings.ShortDateFormat, TFormatSettings().ShortDateFormat);
  EXPECT_EQ(settings.LongMonthNames, TFormatSettings().LongMonthNames);
}

}  // namespace
}  // namespace lx::framework
