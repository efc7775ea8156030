#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lang/LxParser.h"
#include "platform/Exception.h"
#include "support/FixedSystem.h"

namespace lx::lang {
namespace {

std::vector<std::string> Tokens(TLxStringParser& parser) {
  std::vector<std::string> tokens;
  while (!parser.AtEnd())
    tokens.push_back(parser.NextToken());
  return tokens;
}

std::vector<std::string> Tokens(std::string_view text) {
  TLxStringParser parser(text, ',');
  return Tokens(parser);
}

using Texts = std::vector<std::string>;

TEST(LxParserTest, SplitsAtEveryDelimiterButTheLast) {
  EXPECT_EQ(Tokens("1,2,,3"), (Texts{"1", "2", "", "3"}));
  EXPECT_EQ(Tokens(",a"), (Texts{"", "a"}));
  EXPECT_EQ(Tokens("a,b,"), (Texts{"a", "b"}));
  EXPECT_EQ(Tokens(","), (Texts{""}));
  EXPECT_EQ(Tokens("solo"), (Texts{"solo"}));
}

TEST(LxParserTest, EmptyOrExhaustedTextsGiveEmptyTokens) {
  TLxStringParser empty("", ',');
  EXPECT_TRUE(empty.AtEnd());
  EXPECT_EQ(empty.NextToken(), "");
  EXPECT_EQ(empty.Position(), 1u);

  TLxStringParser parser("a,b", ',');
  EXPECT_EQ(Tokens(parser), (Texts{"a", "b"}));
  EXPECT_EQ(parser.NextToken(), "");
  EXPECT_EQ(parser.NextToken(), "");
  EXPECT_TRUE(parser.AtEnd());
}

TEST(LxParserTest, DelimiterMayChangeBetweenTokensAndResetStartsOver) {
  TLxStringParser parser("Chinese (Taiwan)", ',');
  parser.SetDelimiter('(');
  EXPECT_EQ(parser.NextToken(), "Chinese ");
  parser.SetDelimiter(')');
  EXPECT_EQ(parser.NextToken(), "Taiwan");
  EXPECT_TRUE(parser.AtEnd());

  parser.Reset();
  EXPECT_FALSE(parser.AtEnd());
  parser.SetDelimiter(' ');
  EXPECT_EQ(Tokens(parser), (Texts{"Chinese", "(Taiwan)"}));
  TLxStringParser fresh;
  fresh.Reset();
  EXPECT_TRUE(fresh.AtEnd());
}

TEST(LxParserTest, IntegersAreCheckedTokenByToken) {
  TLxStringParser parser("12,x,,-3", ',');
  EXPECT_EQ(parser.NextInteger(), 12);
  for (const char* token : {"x", ""}) {
    try {
      parser.NextInteger();
      FAIL() << "no exception for " << token;
    } catch (const platform::EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + std::string(token) + "' is not a valid integer value");
    }
  }
  EXPECT_EQ(parser.NextInteger(), -3);
}

TEST(LxParserTest, DecodesTheEscapesOfStoredTexts) {
  EXPECT_EQ(TLxStringParser::DecodeString("a#Cb"), "a\rb");
  EXPECT_EQ(TLxStringParser::DecodeString("##"), "#");
  EXPECT_EQ(TLxStringParser::DecodeString("#L#T"), "\n\t");
  EXPECT_EQ(TLxStringParser::DecodeString("#x#c#"), "#x#c#");
  EXPECT_EQ(TLxStringParser::DecodeString("###C"), "#\r");
  EXPECT_EQ(TLxStringParser::DecodeString("#"), "#");
  EXPECT_EQ(TLxStringParser::DecodeString(""), "");
  EXPECT_EQ(TLxStringParser::DecodeString(std::string("#\0#", 3)), std::string("#\0#", 3));
}

TEST(LxParserTest, ConvertsThroughTheCodePages) {
  const support::FixedSystem system;
  const std::u16string russian = u"Привет, мир";
  const std::u16string japanese = u"日本語のテキスト";
  const std::u16string greek = u"Καλημέρα κόσμε";
  EXPECT_EQ(WideToAnsi(russian, 1251), "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0");
  EXPECT_EQ(AnsiToWide(WideToAnsi(russian, 1251), 1251), russian);
  EXPECT_EQ(WideToAnsi(japanese, 932).size(), 16u);
  EXPECT_EQ(AnsiToWide(WideToAnsi(japanese, 932), 932), japanese);
  EXPECT_EQ(AnsiToWide(WideToAnsi(greek, 1253), 1253), greek);
  // Code page 0 is the system's, 1252 here.
  EXPECT_EQ(AnsiToWide("\xC4", 0), u"Ä");
  EXPECT_EQ(WideToAnsi(u"Ä€", 0), "\xC4\x80");
  EXPECT_EQ(WideToAnsi(russian, 1252), "??????, ???");
}

TEST(LxParserTest, EmptyTextsAndMissingCodePagesConvertToNothing) {
  const support::FixedSystem system;
  for (int codePage : {0, 1252, 932, 12345, -1}) {
    EXPECT_EQ(AnsiToWide("", codePage), u"");
    EXPECT_EQ(WideToAnsi(u"", codePage), "");
  }
  EXPECT_EQ(AnsiToWide("abc", 12345), u"");
  EXPECT_EQ(WideToAnsi(u"abc", 1361), "");
  EXPECT_EQ(AnsiToWide("abc", -1), u"");
}

}  // namespace
}  // namespace lx::lang
