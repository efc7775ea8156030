#include <gtest/gtest.h>

#include "platform/FontSignature.h"
#include "support/FixedSystem.h"

namespace lx::platform {
namespace {

bool HasBit(const std::array<std::uint32_t, 4>& words, int bit) {
  return (words[static_cast<std::size_t>(bit / 32)] >> (bit % 32)) & 1u;
}

bool HasCodePageBit(const std::array<std::uint32_t, 2>& words, int bit) {
  return (words[static_cast<std::size_t>(bit / 32)] >> (bit % 32)) & 1u;
}

FontSignature SignatureOf(Lcid lcid) {
  const auto signature = LocaleFontSignature(lcid);
  EXPECT_TRUE(signature.has_value()) << std::hex << lcid;
  return signature.value_or(FontSignature{});
}

TEST(FontSignatureTest, DefaultCodePageIsTheBitOfTheAnsiCodePage) {
  EXPECT_EQ(SignatureOf(0x0407).defaultCodePages, (std::array<std::uint32_t, 2>{1u << 0, 0}));
  EXPECT_EQ(SignatureOf(0x0419).defaultCodePages, (std::array<std::uint32_t, 2>{1u << 2, 0}));
  EXPECT_EQ(SignatureOf(0x040D).defaultCodePages, (std::array<std::uint32_t, 2>{1u << 5, 0}));
  EXPECT_EQ(SignatureOf(0x0411).defaultCodePages, (std::array<std::uint32_t, 2>{1u << 17, 0}));
  EXPECT_EQ(SignatureOf(0x042A).defaultCodePages, (std::array<std::uint32_t, 2>{1u << 22, 0}));
  EXPECT_EQ(SignatureOf(0x0439).defaultCodePages, (std::array<std::uint32_t, 2>{0, 0}));
}

TEST(FontSignatureTest, SupportedCodePagesHoldEveryLetterOfTheLanguage) {
  const FontSignature german = SignatureOf(0x0407);
  EXPECT_TRUE(HasCodePageBit(german.supportedCodePages, 0));   // 1252
  EXPECT_TRUE(HasCodePageBit(german.supportedCodePages, 1));   // 1250 has ä, ö, ü, ß
  EXPECT_FALSE(HasCodePageBit(german.supportedCodePages, 2));  // 1251 has not
  const FontSignature russian = SignatureOf(0x0419);
  EXPECT_TRUE(HasCodePageBit(russian.supportedCodePages, 2));
  EXPECT_FALSE(HasCodePageBit(russian.supportedCodePages, 0));
  // Vietnamese letters are precomposed in ICU's data, yet 1258 stays supported.
  EXPECT_TRUE(HasCodePageBit(SignatureOf(0x042A).supportedCodePages, 22));
}

TEST(FontSignatureTest, UnicodeSubsetsNameTheScriptsAndTheLayout) {
  const FontSignature hebrew = SignatureOf(0x040D);
  EXPECT_TRUE(HasBit(hebrew.unicodeSubsets, 11));
  EXPECT_TRUE(HasBit(hebrew.unicodeSubsets, 123));
  EXPECT_TRUE(HasBit(hebrew.unicodeSubsets, 127));
  const FontSignature german = SignatureOf(0x0407);
  EXPECT_TRUE(HasBit(german.unicodeSubsets, 0));
  EXPECT_TRUE(HasBit(german.unicodeSubsets, 1));
  EXPECT_FALSE(HasBit(german.unicodeSubsets, 123));
  EXPECT_TRUE(HasBit(german.unicodeSubsets, 127));
  const FontSignature japanese = SignatureOf(0x0411);
  for (int bit : {49, 50, 59})
    EXPECT_TRUE(HasBit(japanese.unicodeSubsets, bit)) << bit;
  EXPECT_TRUE(HasBit(SignatureOf(0x0419).unicodeSubsets, 9));
}

TEST(FontSignatureTest, BytesAreTheWordsInOrderLittleEndian) {
  FontSignature signature;
  signature.unicodeSubsets = {0x04030201, 0, 0, 0x80000000};
  signature.defaultCodePages = {0x00020000, 0};
  signature.supportedCodePages = {0, 0x0A0B0C0D};
  const auto bytes = signature.Bytes();
  EXPECT_EQ(bytes[0], 0x01);
  EXPECT_EQ(bytes[3], 0x04);
  EXPECT_EQ(bytes[15], 0x80);
  EXPECT_EQ(bytes[18], 0x02);
  EXPECT_EQ(bytes[28], 0x0D);
  EXPECT_EQ(bytes[31], 0x0A);
}

TEST(FontSignatureTest, DefaultIdsResolveAndUnknownOnesHaveNone) {
  support::FixedSystem system;
  EXPECT_EQ(LocaleFontSignature(LOCALE_USER_DEFAULT), LocaleFontSignature(0x0C07));
  EXPECT_FALSE(LocaleFontSignature(0x5678).has_value());
}

TEST(FontSignatureTest, CodePageBitsFollowTheWindowsTable) {
  const std::pair<std::uint32_t, int> cases[] = {
      {1252, 0}, {1250, 1},  {1251, 2},  {1253, 3}, {1254, 4}, {1255, 5},
      {1256, 6}, {1257, 7},  {874, 16},  {932, 17}, {936, 18}, {949, 19},
      {950, 20}, {1361, 21}, {1258, 22}, {437, -1}, {0, -1},   {65001, -1}};
  for (const auto& [codePage, bit] : cases) {
    EXPECT_EQ(FontSignatureBitOfCodePage(codePage), bit) << codePage;
  }
}

}  // namespace
}  // namespace lx::platform
