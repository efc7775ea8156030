#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "framework/streaming/Filer.h"
#include "framework/streaming/TextForm.h"
#include "platform/Resources.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A form "object F: T" whose one property `P` holds `value`.
std::string FormWith(const std::string& value) {
  return "object F: T\n  P = " + value + "\nend\n";
}

// The bytes of the value of P in the binary form of FormWith(value).
Bytes ValueBytes(const std::string& value) {
  const Bytes form = FormTextToBinary(FormWith(value));
  const std::size_t start = 4 + 2 + 2 + 2;  // signature, "T", "F", "P"
  return Bytes(form.begin() + start, form.end() - 2);
}

Bytes Written(const std::function<void(TWriter&)>& write) {
  TMemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteSignature();
    writer.WriteStr("T");
    writer.WriteStr("F");
    writer.WriteStr("P");
    write(writer);
    writer.WriteListEnd();
    writer.WriteListEnd();
  }
  return stream.Bytes();
}

std::string ParseError(const std::string& text) {
  try {
    FormTextToBinary(text);
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), e.Reason() + " on line " + std::to_string(e.Line()) + ", column " +
                               std::to_string(e.Column()));
    return std::to_string(e.Line()) + ":" + std::to_string(e.Column()) + " " + e.Reason();
  }
  return "(no error)";
}

std::string PrintError(const Bytes& bytes) {
  try {
    FormBinaryToText(bytes);
  } catch (const platform::EReadError& e) {
    return e.Message();
  }
  return "(no error)";
}

// The build compiles the form with every kind of value; it converts back to its own text.
TEST(TextFormTest, EveryValueKindSurvivesTextAndBinaryBothWays) {
  const auto compiled = platform::FindResource(platform::MainModule(), "RCDATA", "TValueKinds");
  const auto source = platform::FindResource(platform::MainModule(), "TEXTFORM", "ValueKinds");
  ASSERT_TRUE(compiled && source);
  const Bytes binary(compiled->begin(), compiled->end());
  const std::string text(source->begin(), source->end());
  EXPECT_EQ(FormBinaryToText(binary), text);
  EXPECT_EQ(FormTextToBinary(text), binary);
}

TEST(TextFormTest, StringsAreEightBitUnlessTheyNeedMore) {
  EXPECT_EQ(ValueBytes("'caf'#233"), (Bytes{vaString, 4, 'c', 'a', 'f', 0xE9}));
  EXPECT_EQ(ValueBytes("'a' + 'b'#$41"), (Bytes{vaString, 3, 'a', 'b', 'A'}));
  EXPECT_EQ(ValueBytes("''''"), (Bytes{vaString, 1, '\''}));
  EXPECT_EQ(ValueBytes("''"), (Bytes{vaString, 0}));
  EXPECT_EQ(ValueBytes("'é'"), (Bytes{vaWString, 1, 0, 0, 0, 0xE9, 0}));
  EXPECT_EQ(ValueBytes("'a'#300"), (Bytes{vaWString, 2, 0, 0, 0, 'a', 0, 0x2C, 0x01}));
  EXPECT_EQ(ValueBytes("'😀'"), (Bytes{vaWString, 2, 0, 0, 0, 0x3D, 0xD8, 0x00, 0xDE}));
  const Bytes longString = ValueBytes("'" + std::string(256, 'x') + "'");
  EXPECT_EQ(Bytes(longString.begin(), longString.begin() + 5), (Bytes{vaLString, 0, 1, 0, 0}));

  // Back to text: 8-bit bytes as codes, wide characters as UTF-8.
  EXPECT_EQ(FormBinaryToText(Written([](TWriter& w) { w.WriteString("caf\xE9"); })),
            FormWith("'caf'#233"));
  EXPECT_EQ(FormBinaryToText(Written([](TWriter& w) { w.WriteWideString(u"caf\u00E9\t"); })),
            FormWith("'café'#9"));
  EXPECT_EQ(FormBinaryToText(Written([](TWriter& w) {
              w.WriteValue(vaUTF8String);
              const std::uint8_t utf8[] = {3, 0, 0, 0, 'a', 0xC3, 0xA9};
              w.Write(utf8, sizeof utf8);
            })),
            FormWith("'aé'"));
}

TEST(TextFormTest, EightBitStringsOfACodePageAreWrittenAsTheirCharacters) {
  const auto text = [](const std::string& bytes, platform::CodePage codePage) {
    return FormBinaryToText(Written([&](TWriter& w) { w.WriteString(bytes); }), codePage);
  };
  EXPECT_EQ(text("caf\xE9", 1252), FormWith("'café'"));
  EXPECT_EQ(text("\xCF\xF0\xE8\t", 1251), FormWith("'При'#9"));
  EXPECT_EQ(text("\x93\xFA\x96\x7B", 932), FormWith("'日本'"));
  EXPECT_EQ(text("\xC7\xE1", 1256), FormWith("'ال'"));
  EXPECT_EQ(text(std::string(300, 'x'), 1252),
            FormBinaryToText(Written([](TWriter& w) { w.WriteString(std::string(300, 'x')); })));
}

TEST(TextFormTest, NumbersTakeTheirKindFromTheirForm) {
  EXPECT_EQ(ValueBytes("$FF"), (Bytes{vaInt16, 0xFF, 0}));
  EXPECT_EQ(ValueBytes("-$10"), (Bytes{vaInt8, 0xF0}));
  EXPECT_EQ(ValueBytes("1.0"), (Bytes{vaExtended, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
  EXPECT_EQ(ValueBytes("1e3"), ValueBytes("1000.0"));
  EXPECT_EQ(ValueBytes("2."), ValueBytes("2.0"));  // as some designers write them
  EXPECT_EQ(ValueBytes("2.5s"), (Bytes{vaSingle, 0, 0, 0x20, 0x40}));
  EXPECT_EQ(ValueBytes("1.5c"), (Bytes{vaCurrency, 0x98, 0x3A, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ValueBytes("-9223372036854775808"), (Bytes{vaInt64, 0, 0, 0, 0, 0, 0, 0, 0x80}));
  EXPECT_EQ(FormBinaryToText(Written([](TWriter& w) { w.WriteFloat(1e300); })), FormWith("1e+300"));
  EXPECT_EQ(FormBinaryToText(Written([](TWriter& w) { w.WriteCurrency(-0.5); })),
            FormWith("-0.5c"));
}

TEST(TextFormTest, AValueAloneIsLaidOutAsInAForm) {
  EXPECT_EQ(FormValueText(ValueBytes("'x'"), 2), " 'x'");
  EXPECT_EQ(FormValueText(ValueBytes("('a' 'b')"), 4), " (\n      'a'\n      'b')");
  EXPECT_EQ(FormValueText(ValueBytes("<item A = 1 end>"), 0), " <\n  item\n    A = 1\n  end>");
  EXPECT_RAISES(FormValueText(Bytes{vaInt8}, 0), platform::EReadError, "Stream read error");
}

TEST(TextFormTest, ListsTakeALineForEachItem) {
  const std::string text =
      "object F: T\n"
      "  DesignSize = (\n"
      "    471\n"
      "    371)\n"
      "  Targets = (\n"
      "    1\n"
      "    (\n"
      "      '*'\n"
      "      'Hint'\n"
      "      0)\n"
      "    ()\n"
      "    {\n"
      "      00})\n"
      "  Empty = ()\n"
      "end\n";
  EXPECT_EQ(FormBinaryToText(FormTextToBinary(text)), text);
  // The same lists written on one line come back in that layout.
  EXPECT_EQ(FormBinaryToText(FormTextToBinary(
                "object F: T DesignSize = (471 371) Targets = (1 ('*' 'Hint' 0) () {00}) "
                "Empty = () end")),
            text);
}

TEST(TextFormTest, LongStringsAreSplitAtAFixedWidth) {
  const std::string x64(64, 'x');
  // 64 characters stay on the line; a code counts as one character.
  EXPECT_EQ(FormBinaryToText(FormTextToBinary(FormWith("'" + x64 + "'"))),
            FormWith("'" + x64 + "'"));
  const std::string codes = "'" + std::string(62, 'x') + "'#13#10";
  EXPECT_EQ(FormBinaryToText(FormTextToBinary(FormWith(codes))), FormWith(codes));

  // Longer ones start on a line of their own, in pieces of 64 joined by '+', whatever the
  // pieces they were joined from.
  const std::string text =
      "object F: T\n"
      "  Hint = \n"
      "    '" +
      x64 +
      "' +\n"
      "    '" +
      std::string(63, 'y') +
      "'#9 +\n"
      "    'it''s'\n"
      "  Lines.Strings = (\n"
      "    'short'\n"
      "    \n"
      "      '" +
      std::string(60, 'z') +
      "é😀ab' +\n"
      "      'c')\n"
      "  Items = <\n"
      "    item\n"
      "      Caption = \n"
      "        '" +
      x64 +
      "' +\n"
      "        'x'\n"
      "    end>\n"
      "end\n";
  const Bytes binary = FormTextToBinary(text);
  EXPECT_EQ(FormBinaryToText(binary), text);
  EXPECT_EQ(FormTextToBinary(FormBinaryToText(binary)), binary);
  const std::string joined = "object F: T\n  Hint = '" + x64 + "' + '" + std::string(63, 'y') +
                             "'#9'it''s'\n  Lines.Strings = ('short' '" + std::string(60, 'z') +
                             "é' + '😀abc')\n  Items = <\n    item\n      Caption = '" + x64 +
                             "x'\n    end>\nend\n";
  EXPECT_EQ(FormBinaryToText(FormTextToBinary(joined)), text);
}

TEST(TextFormTest, KeywordsMayNameProperties) {
  const std::string text =
      "object F: T\n"
      "  end = 1\n"
      "  object.inline = 2\n"
      "  Items = <\n"
      "    item\n"
      "      end = 3\n"
      "    end>\n"
      "  inherited inline: TFrame\n"
      "  end\n"
      "end\n";
  EXPECT_EQ(FormBinaryToText(FormTextToBinary(text)), text);
}

TEST(TextFormTest, ALongClassNameIsNotTakenForAPrefix) {
  const std::string className = "T" + std::string(249, 'x');
  const std::string text = "object " + className + "\nend\n";
  const Bytes binary = FormTextToBinary(text);
  EXPECT_EQ(Bytes(binary.begin() + 4, binary.begin() + 6), (Bytes{0xF0, 250}));
  EXPECT_EQ(FormBinaryToText(binary), text);
  TReadOnlyMemoryStream stream(binary);
  try {
    ReadComponentFrom(stream, nullptr);
    FAIL() << "no exception";
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class " + className + " not found");
  }
}

TEST(TextFormTest, ParseErrorsGiveLineAndColumn) {
  EXPECT_EQ(ParseError(""), "1:1 'object' expected");
  EXPECT_EQ(ParseError("object F: T\n  P = 'open\nend"), "2:12 Unterminated string");
  EXPECT_EQ(ParseError("object F: T\n  P 5\nend"), "2:5 '=' expected");
  EXPECT_EQ(ParseError("object F: T\n  P = 5\n"), "3:1 'end' expected");
  EXPECT_EQ(ParseError("object F: T\n  P = ~\nend"), "2:7 Invalid character '~'");
  EXPECT_EQ(ParseError("object F: T\n  Pé = 1\nend"), "2:4 Invalid character 'é' (U+00E9)");
  EXPECT_EQ(ParseError("object F: T\n  P = Поле\nend"), "2:7 Invalid character 'П' (U+041F)");
  EXPECT_EQ(ParseError("object F: T\n  P = 😀\nend"), "2:7 Invalid character '😀' (U+1F600)");
  EXPECT_EQ(ParseError("object F: T\n  P = \xCE\xC4\nend"), "2:7 Invalid UTF-8 text");
  EXPECT_EQ(ParseError("object F: T\n  P = \x7F\nend"), "2:7 Invalid character #127");
  EXPECT_EQ(ParseError("object F: T\n  P = {0F 1}\nend"), "2:12 Invalid binary value");
  EXPECT_EQ(ParseError("object F: T\n  P = {0G}\nend"), "2:9 Invalid binary value");
  EXPECT_EQ(ParseError("object F: T\n  P = 'ab\xC3'\nend"), "2:10 Invalid UTF-8 text");
  EXPECT_EQ(ParseError("object F: T\n  P = #65536\nend"), "2:7 Invalid character code");
  EXPECT_EQ(ParseError("object F: T\n  P = 9223372036854775808\nend"), "2:7 Integer out of range");
  EXPECT_EQ(ParseError("object F: T\n  P = 1e99999\nend"), "2:7 Invalid floating point value");
  EXPECT_EQ(ParseError("object F: T\n  P = 1.23456c\nend"), "2:7 Invalid floating point value");
  EXPECT_EQ(ParseError("object F: T\n  P = 5x\nend"), "2:7 Invalid number");
  EXPECT_EQ(ParseError("object F: T\n  P = [a b]\nend"), "2:10 ',' expected");
  EXPECT_EQ(ParseError("object F: T\n  P = (1\nend"), "3:4 ')' expected");
  EXPECT_EQ(ParseError("object F: T\n  P = <item>\nend"), "2:12 Identifier expected");
  EXPECT_EQ(ParseError("object F: T\n  P = 'a' +\nend"), "3:1 String expected");
  EXPECT_EQ(ParseError("object F: T\n  P ="), "2:6 Invalid property value");
  EXPECT_EQ(ParseError("object F: T\nend\nend"), "3:1 End of file expected");
  EXPECT_EQ(ParseError("object F: T [x]\nend"), "1:14 Integer expected");
  EXPECT_EQ(ParseError("object F: T\n  P = " + std::string(200, '(') + "\nend"),
            "2:106 Nesting too deep");
}

TEST(TextFormTest, StreamsThatTextCannotCarryAreRefused) {
  EXPECT_EQ(PrintError(
                Written([](TWriter& w) { w.WriteFloat(std::numeric_limits<double>::infinity()); })),
            "Invalid floating point value");
  // A subnormal extended float: the number conversion of the parser refuses such values.
  EXPECT_EQ(PrintError(Written([](TWriter& w) {
              w.WriteValue(vaExtended);
              const std::uint8_t tiny[10] = {1};
              w.Write(tiny, sizeof tiny);
            })),
            "Invalid floating point value");
  EXPECT_EQ(PrintError(Written([](TWriter& w) { w.WriteIdent("two words"); })),
            "Invalid name in form stream: 'two words'");
  EXPECT_EQ(PrintError(Written([](TWriter& w) { w.WriteValue(static_cast<TValueType>(42)); })),
            "Unknown property value: 42");
  EXPECT_EQ(PrintError(Written([](TWriter& w) { w.WriteValue(vaNull); })),
            "Invalid property value");
  Bytes trailing = FormTextToBinary("object F: T\nend\n");
  trailing.push_back(0);
  EXPECT_EQ(PrintError(trailing), "Unexpected data after the form");
  const Bytes flags{'T', 'P', 'F', '0', 0xF8, 1, 'T', 0, 0, 0};
  EXPECT_EQ(PrintError(flags), "Invalid stream format");
}

TEST(TextFormTest, FormsSavedInACodePageAreReadThroughIt) {
  // "文件" in code page 936, in a string and in a comment-free form around it.
  const std::string gbk = "object F: T\n  Caption = '\xCE\xC4\xBC\xFE'\nend\n";
  EXPECT_EQ(ParseError(gbk), "2:14 Invalid UTF-8 text");
  const std::string utf8 = FormTextFromCodePage(gbk, 936);
  EXPECT_EQ(utf8, "object F: T\n  Caption = '文件'\nend\n");
  EXPECT_EQ(ValueBytes("'文件'"), (Bytes{vaWString, 2, 0, 0, 0, 0x87, 0x65, 0xF6, 0x4E}));
  EXPECT_EQ(FormTextFromCodePage("object F: T\n  Caption = '\xCF\xF0\xE8'\nend\n", 1251),
            "object F: T\n  Caption = 'При'\nend\n");
  EXPECT_EQ(FormTextFromCodePage("'\xC3'", 65001), "'\xC3'");  // the parser refuses it

  // Bytes that are no character of the code page are refused where they stand.
  try {
    FormTextFromCodePage("object F: T\n  Caption = '\xCE\xC4\x81\x7F'\nend\n", 936);
    ADD_FAILURE() << "no error";
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), "Invalid text in code page 936 on line 2, column 15");
  }
  try {
    FormTextFromCodePage("object F: T\nend\n", 12345);
    ADD_FAILURE() << "no error";
  } catch (const platform::EConvertError& e) {
    EXPECT_EQ(e.Message(), "Code page 12345 is not installed");
  }
}

}  // namespace
}  // namespace lx::framework
