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
