#include <gtest/gtest.h>

#include "lxpo/PoWrap.h"

namespace lx::tools {
namespace {

// Where gettext breaks a string (the bytes msgcat gives for each; PoFileTest runs msgcat).
TEST(PoWrapTest, BreaksWhereGettextBreaks) {
  const std::string x70(70, 'x');
  const std::string x74(74, 'x');
  for (const auto& [text, lines] : {
           std::pair<std::string, std::string>{"", "msgid \"\"\n"},
           {"tab\there \"q\" \\", "msgid \"tab\\there \\\"q\\\" \\\\\"\n"},
           {"end\n", "msgid \"end\\n\"\n"},
           {"a\nb", "msgid \"\"\n\"a\\n\"\n\"b\"\n"},
           // After a space; never before one, nor before closing punctuation.
           {x70 + " words here", "msgid \"\"\n\"" + x70 + " words \"\n\"here\"\n"},
           {x74 + " !! next", "msgid \"\"\n\"" + x74 + " !! \"\n\"next\"\n"},
           // After a hyphen and a slash, not before a digit (nor, with no break, on an empty line).
           {x74 + "-mail", "msgid \"\"\n\"" + x74 + "-\"\n\"mail\"\n"},
           {x74 + "-5", "msgid \"" + x74 + "-5\"\n"},
           {x74 + "/file", "msgid \"\"\n\"" + x74 + "/\"\n\"file\"\n"},
           {x74 + "|next", "msgid \"\"\n\"" + x74 + "|\"\n\"next\"\n"},
           // Not after an opening bracket and its spaces.
           {x70 + " ( word", "msgid \"\"\n\"" + x70 + " ( word\"\n"},
       }) {
    EXPECT_EQ(WrappedPoString("msgid", text), lines) << text;
  }
  // Between ideographs, two columns each; not before a small kana.
  std::string kanji;
  for (int i = 0; i < 40; ++i)
    kanji += "語";
  EXPECT_EQ(WrappedPoString("msgstr", kanji),
            "msgstr \"\"\n\"" + kanji.substr(0, 38 * 3) + "\"\n\"" + kanji.substr(38 * 3) + "\"\n");
  const std::string kana = kanji.substr(0, 37 * 3) + "ァァ";
  EXPECT_EQ(WrappedPoString("msgstr", kana),
            "msgstr \"\"\n\"" + kanji.substr(0, 36 * 3) + "\"\n\"語ァァ\"\n");
}

TEST(PoWrapTest, ReferencesFillLinesOnceEach) {
  const std::string name(30, 'f');
  EXPECT_EQ(PoReferenceLines({}), "");
  EXPECT_EQ(PoReferenceLines({name + ":1", name + ":1", name + ":2", name + ":3"}),
            "#: " + name + ":1 " + name + ":2\n#: " + name + ":3\n");
}

}  // namespace
}  // namespace lx::tools
