#include <gtest/gtest.h>

#include "lang/LxCodePage.h"
#include "lang/LxLanguageIds.h"
#include "platform/LocaleIds.h"
#include "support/FixedSystem.h"

namespace lx::lang {
namespace {

TEST(LxCodePageTest, CharsetOfACodePageIsThatOfItsFirstRow) {
  EXPECT_EQ(CharsetFromCodePage(1251), 204);
  EXPECT_EQ(CharsetFromCodePage(1252), 0);
  EXPECT_EQ(CharsetFromCodePage(874), 222);
  EXPECT_EQ(CharsetFromCodePage(1361), 130);
  EXPECT_EQ(CharsetFromCodePage(1258), 163);
  EXPECT_EQ(CharsetFromCodePage(437), kLxDefaultCharset);
  EXPECT_EQ(CharsetFromCodePage(-1), kLxDefaultCharset);
  // The unused rows hold code page 0.
  EXPECT_EQ(CharsetFromCodePage(0), 0);
  EXPECT_EQ(CharsetTable[8].CodePage, 0);
  EXPECT_EQ(CharsetTable[31].Charset, 0);
}

TEST(LxCodePageTest, ChineseCodePageFollowsTheSubLanguageAlone) {
  const support::FixedSystem system;
  EXPECT_EQ(DefaultCodePageOf(0x0404), 950);
  EXPECT_EQ(DefaultCodePageOf(0x0C04), 950);
  EXPECT_EQ(DefaultCodePageOf(0x1404), 950);
  EXPECT_EQ(DefaultCodePageOf(0x0804), 936);
  EXPECT_EQ(DefaultCodePageOf(0x1004), 936);
  // The system says 950 for the Traditional neutral locale; the sub-language 31 is no 1, 3 or 5.
  EXPECT_EQ(DefaultCodePageOf(0x7C04), 936);
}

TEST(LxCodePageTest, OtherCodePagesComeFromTheSystem) {
  const support::FixedSystem system;
  EXPECT_EQ(DefaultCodePageOf(0x0407), 1252);
  EXPECT_EQ(DefaultCodePageOf(0x0419), 1251);
  EXPECT_EQ(DefaultCodePageOf(0x0411), 932);
  EXPECT_EQ(DefaultCodePageOf(0x040D), 1255);
  EXPECT_EQ(DefaultCodePageOf(0x081A), 1250);
  EXPECT_EQ(DefaultCodePageOf(0x0443), 1254);
}

TEST(LxCodePageTest, LocalesWithoutACodePageTakeThatOfTheirLanguage) {
  const support::FixedSystem system;
  // Hindi is a Unicode-only locale: the system says 0.
  EXPECT_EQ(DefaultCodePageOf(0x0439), 1252);
  struct Case {
    int languageId;
    int codePage;
  };
  const Case cases[] = {
      {0x0401, 1256}, {0x0429, 1256}, {0x0402, 1251}, {0x0419, 1251}, {0x0405, 1250},
      {0x0424, 1250}, {0x0408, 1253}, {0x040D, 1255}, {0x0411, 932},  {0x0412, 949},
      {0x041A, 1250}, {0x081A, 1250}, {0x0C1A, 1251}, {0x101A, 1251}, {0x041E, 874},
      {0x041F, 1254}, {0x0425, 1257}, {0x0427, 1257}, {0x042A, 1258}, {0x042C, 1254},
      {0x082C, 1251}, {0x0443, 1254}, {0x0843, 1251}, {0x0407, 1252}, {0x0439, 1252},
  };
  for (const Case& c : cases) {
    // A sort id the system does not know makes it answer "0".
    const int unknown = MAKELCID(c.languageId, 0xE);
    ASSERT_FALSE(platform::IsKnownLcid(static_cast<platform::Lcid>(unknown)));
    EXPECT_EQ(DefaultCodePageOf(unknown), c.codePage) << std::hex << c.languageId;
  }
}

TEST(LxCodePageTest, CharsetOfALocaleComesFromItsFontSignature) {
  const support::FixedSystem system;
  EXPECT_EQ(CharsetFromLocale(0x0407), 0);
  EXPECT_EQ(CharsetFromLocale(0x0419), 204);
  EXPECT_EQ(CharsetFromLocale(0x0411), 128);
  EXPECT_EQ(CharsetFromLocale(0x040D), 177);
  EXPECT_EQ(CharsetFromLocale(0x0404), 136);
  EXPECT_EQ(CharsetFromLocale(0x041E), 222);
  // No code page in the signature, and no signature at all.
  EXPECT_EQ(CharsetFromLocale(0x0439), 0);
  EXPECT_EQ(CharsetFromLocale(MAKELCID(0x0419, 0xE)), 0);
}

}  // namespace
}  // namespace lx::lang
