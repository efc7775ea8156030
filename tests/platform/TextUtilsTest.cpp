#include <gtest/gtest.h>

#include <string>

#include "platform/Exception.h"
#include "platform/TextUtils.h"

namespace lx::platform {
namespace {

TEST(TextUtilsTest, CaseMappingTouchesAsciiLettersOnly) {
  EXPECT_EQ(UpperCaseAscii("c:\\Data\xE4"), "C:\\DATA\xE4");
  EXPECT_EQ(LowerCaseAscii("C:\\DATA\xC4"), "c:\\data\xC4");
  EXPECT_TRUE(SameTextAscii("Language", "LANGUAGE"));
  EXPECT_FALSE(SameTextAscii("Language", "Languages"));
  EXPECT_FALSE(SameTextAscii("\xE4", "\xC4"));
}

TEST(TextUtilsTest, ConvertsDecimalAndHexadecimal) {
  EXPECT_EQ(TryStrToInt("0x1A"), 26);
  EXPECT_EQ(TryStrToInt("0X1a"), 26);
  EXPECT_EQ(TryStrToInt("$10"), 16);
  EXPECT_EQ(TryStrToInt("-1"), -1);
  EXPECT_EQ(TryStrToInt("+7"), 7);
  EXPECT_EQ(TryStrToInt("  42"), 42);
  EXPECT_EQ(TryStrToInt("-$10"), -16);
  EXPECT_EQ(TryStrToInt("2147483647"), 2147483647);
  EXPECT_EQ(TryStrToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(TryStrToInt("$FFFFFFFF"), -1);
}

TEST(TextUtilsTest, RejectsWhatIsNotAWholeNumber) {
  for (const char* text : {"", " ", "abc", "12abc", "12 ", "0x", "$", "-", "1.5", "2147483648",
                           "-2147483649", "$100000000", "0xG", "--1"}) {
    EXPECT_FALSE(TryStrToInt(text).has_value()) << text;
  }
  EXPECT_EQ(StrToIntDef("abc", 0), 0);
  EXPECT_EQ(StrToIntDef("abc", -5), -5);
}

TEST(TextUtilsTest, StrToIntRaisesConvertError) {
  try {
    StrToInt("x1");
    FAIL() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'x1' is not a valid integer value");
  }
}

// Every size around the in-place comparison, with a difference at every place, and texts
// that are views into a longer one (no terminating zero right after them).
TEST(TextUtilsTest, SameBytesAgreesWithTheComparisonOfStrings) {
  const std::string longText(40, 'x');
  for (std::size_t size = 0; size <= 20; ++size) {
    const std::string a(size, 'x');
    EXPECT_TRUE(SameBytes(a, std::string_view(longText).substr(3, size))) << size;
    EXPECT_FALSE(SameBytes(a, std::string(size + 1, 'x'))) << size;
    for (std::size_t at = 0; at < size; ++at) {
      std::string b = a;
      b[at] = 'y';
      EXPECT_FALSE(SameBytes(a, b)) << size << " " << at;
      EXPECT_FALSE(SameBytes(b, a)) << size << " " << at;
    }
  }
}

}  // namespace
}  // namespace lx::platform
