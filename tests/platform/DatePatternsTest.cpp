#include <gtest/gtest.h>

#include "platform/DatePatterns.h"

namespace lx::platform {
namespace {

void ExpectPictures(std::initializer_list<std::pair<std::u16string, std::u16string>> cases) {
  for (const auto& [icu, windows] : cases) {
    EXPECT_EQ(WindowsDatePattern(icu), windows);
  }
}

TEST(DatePatternsTest, MapsFieldLettersToWindowsOnes) {
  ExpectPictures({
      {u"dd.MM.yy", u"dd.MM.yyyy"},
      {u"M/d/yy", u"M/d/yyyy"},
      {u"y-MM-dd", u"yyyy-MM-dd"},
      {u"EEEE, d. MMMM y", u"dddd, d. MMMM yyyy"},
      {u"EEE, LLL d", u"ddd, MMM d"},
      {u"cccc LLLL", u"dddd MMMM"},
      {u"MMMMM", u"MMM"},
      {u"h:mm:ss a", u"h:mm:ss tt"},
      {u"K:mm a", u"h:mm tt"},
      {u"kk:mm", u"HH:mm"},
      {u"Bh:mm", u"tth:mm"},
  });
}

TEST(DatePatternsTest, QuotesLiteralLettersTheWindowsWay) {
  ExpectPictures({
      {u"d 'de' MMMM 'de' y", u"d 'de' MMMM 'de' yyyy"},
      {u"y年M月d日EEEE", u"yyyy'年'M'月'd'日'dddd"},
      {u"d MMMM y 'г'.", u"d MMMM yyyy 'г'."},
      {u"h 'o''clock' a", u"h 'o''clock' tt"},
      {u"''H", u"''''H"},
  });
}

TEST(DatePatternsTest, DropsFieldsWithoutCounterpartAndTheirBlank) {
  ExpectPictures({
      {u"d/M/y GGGGG", u"d/M/yyyy"},
      {u"EEEE d MMMM G y", u"dddd d MMMM yyyy"},
      {u"G y", u"yyyy"},
      {u"h:mm:ss a zzzz", u"h:mm:ss tt"},
      {u"zzzz HH:mm", u"HH:mm"},
  });
}

TEST(DatePatternsTest, DropsBidiMarksAndPlainsNoBreakSpaces) {
  ExpectPictures({
      {u"d\u200F/M\u200F/y", u"d/M/yyyy"},
      {u"h:mm:ss\u202Fa", u"h:mm:ss tt"},
      {u"d.\u00A0M.", u"d. M."},
  });
}

TEST(DatePatternsTest, FindsTheSeparators) {
  EXPECT_EQ(DateSeparatorOf(u"dd.MM.yyyy"), u".");
  EXPECT_EQ(DateSeparatorOf(u"yyyy. M. d."), u". ");
  EXPECT_EQ(DateSeparatorOf(u"yyyy'年'M'月'd'日'"), u"年");
  EXPECT_EQ(DateSeparatorOf(u"MMMM"), u"/");
  EXPECT_EQ(DateSeparatorOf(u"yyyy."), u"/");
  EXPECT_EQ(TimeSeparatorOf(u"HH:mm:ss"), u":");
  EXPECT_EQ(TimeSeparatorOf(u"H.mm.ss"), u".");
  EXPECT_EQ(TimeSeparatorOf(u"tt h:mm"), u":");
  EXPECT_EQ(TimeSeparatorOf(u"h"), u":");
  // Units spelt out after the hour leave the clock's usual colon.
  EXPECT_EQ(TimeSeparatorOf(u"HH 'h' mm 'min' ss 's'"), u":");
  EXPECT_EQ(TimeSeparatorOf(u"HH'h'mm"), u":");
  EXPECT_EQ(TimeSeparatorOf(u"H'時'mm'分'"), u":");
  EXPECT_EQ(TimeSeparatorOf(u"H-mm"), u"-");
}

TEST(DatePatternsTest, ReadsTheClockOfATimePicture) {
  struct Case {
    std::u16string picture;
    bool twentyFourHour;
    bool hourLeadingZero;
    bool markBeforeTime;
  };
  for (const Case& c :
       {Case{u"h:mm:ss tt", false, false, false}, Case{u"HH:mm:ss", true, true, false},
        Case{u"tt hh:mm", false, true, true}, Case{u"H 'h' mm", true, false, false}}) {
    const TimeStyle style = TimeStyleOf(c.picture);
    EXPECT_EQ(style.twentyFourHour, c.twentyFourHour);
    EXPECT_EQ(style.hourLeadingZero, c.hourLeadingZero);
    EXPECT_EQ(style.markBeforeTime, c.markBeforeTime);
  }
}

}  // namespace
}  // namespace lx::platform
