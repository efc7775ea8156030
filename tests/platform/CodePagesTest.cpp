#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/CodePages.h"
#include "platform/SystemLocale.h"
#include "support/FixedSystem.h"

namespace lx::platform {
namespace {

class CodePagesTest : public ::testing::Test {
 protected:
  support::FixedSystem system_;
};

TEST_F(CodePagesTest, RoundTripsCyrillicGreekAndJapanese) {
  struct Case {
    std::u16string text;
    CodePage codePage;
    std::string bytes;
  };
  const Case cases[] = {
      {u"Привет, мир", 1251, "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0"},
      {u"Καλημέρα κόσμε", 1253, "\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1 \xEA\xFC\xF3\xEC\xE5"},
      {u"日本語のテキスト", 932,
       "\x93\xFA\x96{\x8C\xEA\x82\xCC\x83"
       "e\x83L\x83X\x83g"},
      {u"中文", 936, "\xD6\xD0\xCE\xC4"},
      {u"한국어", 949, "\xC7\xD1\xB1\xB9\xBE\xEE"},
      {u"Grüße €", 1252,
       "Gr\xFC\xDF"
       "e \x80"},
  };
  for (const Case& c : cases) {
    bool usedDefaultChar = true;
    EXPECT_EQ(WideToMultiByte(c.text, c.codePage, &usedDefaultChar), c.bytes) << c.codePage;
    EXPECT_FALSE(usedDefaultChar) << c.codePage;
    EXPECT_EQ(MultiByteToWide(c.bytes, c.codePage), c.text) << c.codePage;
  }
}

TEST_F(CodePagesTest, CharactersTheCodePageLacksBecomeQuestionMarks) {
  bool usedDefaultChar = false;
  EXPECT_EQ(WideToMultiByte(u"Ωmega", 1252, &usedDefaultChar), "?mega");
  EXPECT_TRUE(usedDefaultChar);
  EXPECT_EQ(WideToMultiByte(u"日本", 1251), "??");
  EXPECT_EQ(WideToMultiByte(u"a\xD800z", 932), "a?z");  // unpaired surrogate
  EXPECT_EQ(WideToMultiByte(u"\U0001F600", 1252), "?");
  EXPECT_EQ(WideToMultiByte(u"\U0001F600", CP_UTF8), "\xF0\x9F\x98\x80");
}

TEST_F(CodePagesTest, InvalidBytesBecomeTheReplacementCharacter) {
  EXPECT_EQ(MultiByteToWide("A\x82", 932), u"A\uFFFD");  // lead byte without trail byte
  EXPECT_EQ(MultiByteToWide("\xC3(", CP_UTF8), u"\uFFFD(");
  EXPECT_EQ(MultiByteToWide("\x80", 932), u"\uFFFD");  // unassigned single byte
  // A cut-off character leaves nothing behind for the next conversion.
  EXPECT_EQ(MultiByteToWide("A", 932), u"A");
  // Bytes the code page assigns to control characters stay what they are.
  EXPECT_EQ(MultiByteToWide("\x81", 1252), u"\u0081");
}

TEST_F(CodePagesTest, EveryByteCountsNulsIncluded) {
  EXPECT_EQ(MultiByteToWide(std::string("a\0b", 3), 1252), std::u16string(u"a\0b", 3));
  EXPECT_EQ(WideToMultiByte(std::u16string(u"a\0b", 3), 1251), std::string("a\0b", 3));
  EXPECT_EQ(MultiByteToWide("", 1252), u"");
  EXPECT_EQ(WideToMultiByte(u"", 932), "");
}

TEST_F(CodePagesTest, StandInCodePagesFollowTheSystem) {
  EXPECT_EQ(MultiByteToWide("\xE4", CP_ACP), u"ä");
  EXPECT_EQ(ResolveCodePage(CP_ACP), 1252u);
  ASSERT_TRUE(SetThreadLocale(0x0419));
  EXPECT_EQ(ResolveCodePage(CP_THREAD_ACP), 1251u);
  EXPECT_EQ(MultiByteToWide("\xE4", CP_THREAD_ACP), u"д");
  ASSERT_TRUE(SetThreadLocale(0x0439));  // Unicode only: the system's code page
  EXPECT_EQ(ResolveCodePage(CP_THREAD_ACP), 1252u);

  SystemDescription russian = support::AustrianSystem();
  russian.ansiCodePage = 1251;
  support::FixedSystem russianSystem(russian);
  EXPECT_EQ(MultiByteToWide("\xE4", CP_ACP), u"д");
  EXPECT_EQ(WideToMultiByte(u"д", CP_ACP), "\xE4");
}

TEST_F(CodePagesTest, CodePagesThatCannotBeOpenedConvertToNothing) {
  for (CodePage codePage : {12345u, 1200u, 12000u, 1u, 99999u}) {
    EXPECT_FALSE(IsValidCodePage(codePage)) << codePage;
    EXPECT_EQ(MultiByteToWide("abc", codePage), u"") << codePage;
    EXPECT_EQ(WideToMultiByte(u"abc", codePage), "") << codePage;
    EXPECT_FALSE(CanEncode(u"abc", codePage)) << codePage;
    EXPECT_FALSE(GetCodePageInfo(codePage).has_value()) << codePage;
  }
  for (CodePage codePage : {874u, 932u, 936u, 949u, 950u, 1250u, 1258u, 65001u}) {
    EXPECT_TRUE(IsValidCodePage(codePage)) << codePage;
  }
}

TEST_F(CodePagesTest, DescribesCharacterSizesAndLeadBytes) {
  const auto japanese = GetCodePageInfo(932);
  ASSERT_TRUE(japanese.has_value());
  EXPECT_EQ(japanese->maxCharSize, 2u);
  EXPECT_EQ(japanese->defaultChar, '?');
  EXPECT_EQ(japanese->leadByteRanges, (std::vector<ByteRange>{{0x81, 0x9F}, {0xE0, 0xFC}}));
  EXPECT_EQ(GetCodePageInfo(949)->leadByteRanges, (std::vector<ByteRange>{{0x81, 0xFE}}));

  const auto western = GetCodePageInfo(CP_ACP);
  ASSERT_TRUE(western.has_value());
  EXPECT_EQ(western->maxCharSize, 1u);
  EXPECT_TRUE(western->leadByteRanges.empty());

  const auto utf8 = GetCodePageInfo(CP_UTF8);
  ASSERT_TRUE(utf8.has_value());
  EXPECT_EQ(utf8->maxCharSize, 4u);
  EXPECT_TRUE(utf8->leadByteRanges.empty());
}

// Stepping through a text character by character: a byte that starts no whole character
// (cut short, overlong, a surrogate, a stray trail byte) is a step of its own.
TEST_F(CodePagesTest, CharSizeAtStepsOverWholeCharacters) {
  const std::tuple<std::string_view, CodePage, std::vector<std::size_t>> cases[] = {
      {"a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80", CP_UTF8, {1, 2, 3, 4}},
      {"\xE6\x97(\xC0\xAF\xED\xA0\x80", CP_UTF8, {1, 1, 1, 1, 1, 1, 1, 1}},
      {"\x83\x41&\xA0\x83", 932, {2, 1, 1, 1}},
      {"\xC7\xD1\x41", 949, {2, 1}},
      {"\xE9\x41", 1252, {1, 1}},
      {"\xE9\x41", 12345, {1, 1}},
  };
  for (const auto& [text, codePage, expected] : cases) {
    std::vector<std::size_t> sizes;
    for (std::size_t at = 0; at < text.size(); at += sizes.back())
      sizes.push_back(CharSizeAt(text, at, codePage));
    EXPECT_EQ(sizes, expected) << codePage;
    EXPECT_EQ(CharSizeAt(text, text.size(), codePage), 0u);
  }
}

TEST_F(CodePagesTest, CanEncodeTellsWhetherEveryCharacterHasItsPlace) {
  EXPECT_TRUE(CanEncode(u"Grüße", 1252));
  EXPECT_TRUE(CanEncode(u"Grüße", 1250));
  EXPECT_FALSE(CanEncode(u"Grüße", 1251));
  EXPECT_TRUE(CanEncode(u"Привет", 1251));
  EXPECT_FALSE(CanEncode(u"Привет", 1253));
}

}  // namespace
}  // namespace lx::platform
