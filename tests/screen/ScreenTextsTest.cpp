#include <gtest/gtest.h>

#include <vector>

#include "platform/CodePages.h"
#include "platform/SystemLocale.h"
#include "screen/internal/ScreenTexts.h"

namespace lx::screen {
namespace {

TEST(ScreenTextsTest, HotKeysBecomeMnemonics) {
  EXPECT_EQ(MnemonicText("&Help"), "_Help");
  EXPECT_EQ(MnemonicText("E&xit"), "E_xit");
  EXPECT_EQ(MnemonicText("Fish && Chips"), "Fish & Chips");
  EXPECT_EQ(MnemonicText("&&&Save"), "&_Save");
  EXPECT_EQ(MnemonicText("snake_case"), "snake__case");
  EXPECT_EQ(MnemonicText("End&"), "End");
  EXPECT_EQ(MnemonicText(""), "");
}

// Where the hot keys fall in the plain text, in bytes, as drawn labels underline them.
TEST(ScreenTextsTest, HotKeysAreFoundInThePlainText) {
  struct TCase {
    const char* caption;
    std::vector<std::size_t> places;
  };
  for (const TCase& kase : {TCase{"&Name:", {0}}, TCase{"a&&b&c", {3}}, TCase{"End&", {}},
                            TCase{"\xC3\x84&x &y", {2, 4}}, TCase{"Fish && Chips", {}}}) {
    EXPECT_EQ(HotKeyPlaces(kase.caption), kase.places) << kase.caption;
  }
}

TEST(ScreenTextsTest, TextsAreReadInTheCodePageOfTheirFont) {
  EXPECT_EQ(CharsetCodePage(framework::ARABIC_CHARSET), 1256u);
  EXPECT_EQ(CharsetCodePage(framework::HEBREW_CHARSET), 1255u);
  EXPECT_EQ(CharsetCodePage(framework::SHIFTJIS_CHARSET), 932u);
  EXPECT_EQ(CharsetCodePage(framework::ANSI_CHARSET), 1252u);
  EXPECT_EQ(CharsetCodePage(framework::DEFAULT_CHARSET), platform::AnsiCodePage());

  EXPECT_EQ(ToUtf8("\xC7\xE1\xE1\xDB\xC9", 1256), "\u0627\u0644\u0644\u063A\u0629");
  EXPECT_EQ(ToUtf8("\x93\xFA\x96\x7B", 932), "\u65E5\u672C");
  EXPECT_EQ(ToUtf8("Zo\xEB", 1252), "Zo\u00EB");
  EXPECT_EQ(ToUtf8("caf\xC3\xA9", 65001), "caf\u00E9");
  EXPECT_EQ(ToUtf8("caf\xC3(", 65001), "caf\uFFFD(");  // damaged UTF-8 never reaches GTK
  EXPECT_EQ(FromUtf8("Zo\u00EB \u65E5", 1252), "Zo\xEB ?");
  // Bytes that are no text in the code page show as replacement characters, never as
  // invalid UTF-8 handed to GTK.
  EXPECT_EQ(ToUtf8("\x81", 932), "\uFFFD");
}

// The screen reads a code page's bytes from a table it works out once; it must read each byte,
// and ASCII where it is not itself (UTF-7), as the converter does.
TEST(ScreenTextsTest, TextsReadFromTheTableAsTheConverterReadsThem) {
  const auto converted = [](const std::string& text, unsigned codePage) {
    return platform::WideToMultiByte(platform::MultiByteToWide(text, codePage), 65001);
  };
  std::string every;
  for (int byte = 0; byte < 256; ++byte)
    every += static_cast<char>(byte);
  for (const unsigned codePage :
       {1250u, 1252u, 1253u, 1255u, 1256u, 874u, 10000u, 932u, 949u, 65000u}) {
    SCOPED_TRACE(codePage);
    ASSERT_TRUE(platform::IsValidCodePage(codePage));
    for (const std::string& text : {std::string("Plain A+B~{}"), every, every.substr(0x80)})
      EXPECT_EQ(ToUtf8(text, codePage), converted(text, codePage));
  }
}

// Only a text that says nothing of its direction needs the mark to read from the right.
TEST(ScreenTextsTest, ATextWithoutADirectionOfItsOwnReadsRightToLeft) {
  for (const char* text : {"_Name:", "\u0627\u0644\u0644\u063A\u0629:", "12 \u05E9"})
    EXPECT_EQ(RightToLeftText(text), text);
  for (const char* text : {"", "<< 12", "..."})
    EXPECT_EQ(RightToLeftText(text), std::string("\u200F") + text);
}

TEST(ScreenTextsTest, AFontBecomesAStyleSheet) {
  framework::TFont font;
  font.SetName("Noto \"Sans\"");
  font.SetSize(11);
  EXPECT_EQ(FontCss(font),
            "* { font-family: \"Noto \\\"Sans\\\"\"; font-size: 11pt; font-weight: normal; "
            "font-style: normal; text-decoration-line: none; }");
  font.SetStyle(
      {framework::fsBold, framework::fsItalic, framework::fsUnderline, framework::fsStrikeOut});
  EXPECT_EQ(FontCss(font),
            "* { font-family: \"Noto \\\"Sans\\\"\"; font-size: 11pt; font-weight: bold; "
            "font-style: italic; text-decoration-line: underline line-through; }");
  font.SetSize(0);
  font.SetStyle({});
  EXPECT_EQ(FontCss(font),
            "* { font-family: \"Noto \\\"Sans\\\"\"; font-weight: normal; font-style: normal; "
            "text-decoration-line: none; }");
}

}  // namespace
}  // namespace lx::screen
