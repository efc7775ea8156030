#include <gtest/gtest.h>

#include "framework/runtime/DateTime.h"
#include "platform/Exception.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
}

TEST(DateTimeTest, CountsDaysFromTheRunTimeEpoch) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2000, 2, 29), 36585.0);
  const TDateParts parts = DecodeDateTime(At(2026, 12, 8, 13, 5, 9, 250));
  EXPECT_EQ(parts.year, 2026);
  EXPECT_EQ(parts.month, 12);
  EXPECT_EQ(parts.day, 8);
  EXPECT_EQ(parts.hour, 13);
  EXPECT_EQ(parts.minute, 5);
  EXPECT_EQ(parts.second, 9);
  EXPECT_EQ(parts.millisecond, 250);
  EXPECT_EQ(parts.dayOfWeek, 3);  // a Tuesday
  EXPECT_EQ(DecodeDateTime(EncodeDate(1, 1, 1)).year, 1);
  EXPECT_EQ(DecodeDateTime(-1.25).day, 29);
  EXPECT_EQ(DecodeDateTime(-1.25).hour, 6);
}

TEST(DateTimeTest, RejectsImpossibleDatesAndTimes) {
  EXPECT_RAISES(EncodeDate(2023, 2, 29), platform::EConvertError,
                "Invalid argument to date encode");
  EXPECT_RAISES(EncodeDate(0, 1, 1), platform::EConvertError, "Invalid argument to date encode");
  try {
    EncodeTime(24, 0, 0, 0);
    FAIL();
  } catch (const platform::EConvertError& e) {
    EXPECT_EQ(e.Message(), "Invalid argument to time encode");
  }
  try {
    EncodeDate(2024, 13, 1);
    FAIL();
  } catch (const platform::EConvertError& e) {
    EXPECT_EQ(e.Message(), "Invalid argument to date encode");
  }
}

TEST(DateTimeTest, FormatsWithTheSeparatorsOfTheSettings) {
  TFormatSettings settings;
  settings.DateSeparator = '.';
  settings.TimeSeparator = '-';
  const TDateTime value = At(2026, 3, 7, 9, 4, 5, 6);
  EXPECT_EQ(FormatDateTime("dd/mm/yyyy", value, settings), "07.03.2026");
  EXPECT_EQ(FormatDateTime("hh:nn:ss", value, settings), "09-04-05");
  EXPECT_EQ(FormatDateTime("d/m/yy h:n:s.z zzz", value, settings), "7.3.26 9-4-5.6 006");
}

TEST(DateTimeTest, NamesMonthsAndDaysAndNestsFormats) {
  TFormatSettings settings;
  settings.ShortDateFormat = "dd/MM/yyyy";
  settings.LongTimeFormat = "hh:nn:ss";
  const TDateTime value = At(2026, 12, 8, 14, 30, 0);
  EXPECT_EQ(FormatDateTime("ddd dddd mmm mmmm", value, settings), "Tue Tuesday Dec December");
  EXPECT_EQ(FormatDateTime("ddddd", value, settings), "08/12/2026");
  EXPECT_EQ(FormatDateTime("c", value, settings), "08/12/2026 14:30:00");
  EXPECT_EQ(FormatDateTime("c", EncodeDate(2026, 12, 8), settings), "08/12/2026");
  EXPECT_EQ(FormatDateTime("tt", value, settings), "14:30:00");
  EXPECT_EQ(FormatDateTime("'dd' \"mm\" d", value, settings), "dd mm 8");
  settings.ShortDateFormat = "ddddd";  // a format naming itself must end
  EXPECT_EQ(FormatDateTime("ddddd", value, settings), "");
}

TEST(DateTimeTest, MinutesFollowHoursAndMarkersChooseTheTwelveHourClock) {
  TFormatSettings settings;
  settings.TimeAMString = "vorm.";
  settings.TimePMString = "nachm.";
  const TDateTime afternoon = At(2026, 1, 1, 14, 7, 0);
  EXPECT_EQ(FormatDateTime("hh:mm", afternoon, settings), "14:07");
  EXPECT_EQ(FormatDateTime("h:mm AMPM", afternoon, settings), "2:07 nachm.");
  EXPECT_EQ(FormatDateTime("AMPM h:mm", At(2026, 1, 1, 0, 7), settings), "vorm. 12:07");
  EXPECT_EQ(FormatDateTime("h am/pm", afternoon, settings), "2 pm");
  EXPECT_EQ(FormatDateTime("h A/P", At(2026, 1, 1, 9), settings), "9 A");
  EXPECT_EQ(FormatDateTime("h 'am' hh", afternoon, settings), "14 am 14");
}

}  // namespace
}  // namespace lx::framework
