#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "lxpo/PoFile.h"
#include "support/Raised.h"
#include "support/TempFolder.h"
#include "toolfiles/ToolFiles.h"

namespace lx::tools {
namespace {

TEST(PoFileTest, KeysTravelInMsgctxt) {
  EXPECT_EQ(MsgctxtOf("TMainForm", "OpenButton"), "TMainForm|OpenButton");
  EXPECT_EQ(MsgctxtOf("TMainForm", ""), "TMainForm|");
  EXPECT_EQ(MsgctxtOf("", "65300"), "|65300");
  EXPECT_EQ(MsgctxtOf("", ""), "");
  std::string context;
  std::string id;
  EXPECT_TRUE(SplitMsgctxt("TForm1|a|b", context, id));
  EXPECT_EQ(context, "TForm1");
  EXPECT_EQ(id, "a|b");
  EXPECT_FALSE(SplitMsgctxt("TForm1", context, id));
}

TEST(PoFileTest, WritesAndReadsEveryCharacterBack) {
  support::TempFolder folder;
  const std::string path = (folder.Path() / "x.po").string();
  std::vector<PoEntry> entries(3);
  entries[0].context = "TMainForm";
  entries[0].id = "Notes";
  entries[0].msgid = "Line \"one\"\r\n\tback\\slash\x01\x7f\nend\n";
  entries[0].msgstr = "Zeile «eins»";
  entries[0].references = {"MainForm.lxfm:Notes.Text", "Other.lxfm:Notes.Text"};
  entries[0].comments = {"Hint: two\nlines"};
  entries[1].msgid = "&Close";
  entries[1].fuzzy = true;
  entries[1].msgstr = "&Schließen";
  entries[2].id = "7";
  entries[2].msgid = "\n";
  std::ofstream(path) << WritePo(entries, "de") << "\n#~ msgid \"old\"\n#~ msgstr \"alt\"\n";

  PoReadCounts counts;
  std::vector<PoEntry> read = ReadPo(path, counts);
  EXPECT_EQ(counts.fuzzy, 1);
  EXPECT_EQ(counts.obsolete, 1);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].line, 15);
  entries[0].line = 15;
  entries[0].comments = {"Hint: two lines"};  // one line each
  EXPECT_EQ(read[0].msgid, entries[0].msgid);
  EXPECT_EQ(read[0].msgstr, entries[0].msgstr);
  EXPECT_EQ(read[0].references, entries[0].references);
  EXPECT_EQ(read[0], entries[0]);
  EXPECT_EQ(read[1].msgid, "\n");
  EXPECT_EQ(read[1].id, "7");

  counts = {};
  read = ReadPo(path, counts, true);
  ASSERT_EQ(read.size(), 3u);
  EXPECT_TRUE(read[1].fuzzy);
  EXPECT_EQ(read[1].line, 23);
  EXPECT_EQ(counts.fuzzy, 0);

  PoEntry withNul;
  withNul.msgid = std::string("a\0b", 3);
  EXPECT_RAISES(WritePo({withNul}, ""), PoError,
                "a text with a NUL character cannot be written to a PO file");
}

// The flags and translator comments of an entry come back; of two flags of a kind the later
// counts, as in gettext, and those lxpo works out itself are left to it.
TEST(PoFileTest, ReadsFlagsAndTranslatorComments) {
  struct Case {
    std::string comments;
    std::vector<std::string> flags;
    std::vector<std::string> translatorComments;
  };
  const std::vector<Case> cases = {
      {"#, fuzzy, c-format, range: 0..10\n", {"c-format", "range: 0..10"}, {}},
      {"#, no-c-format\n#, c-format,max-size:65\n", {"c-format", "max-size:65"}, {}},
      {"#, object-pascal-format no-wrap, no-wrap\n", {"no-wrap"}, {}},
      {"# note\n#\n#.  two\n#: a.lxfm:1\n#, range: 1..5\n", {"range: 1..5"}, {"note", ""}},
  };
  support::TempFolder folder;
  const std::string path = (folder.Path() / "flags.po").string();
  for (const Case& c : cases) {
    std::ofstream(path)
        << "msgid \"\"\nmsgstr \"\"\n\n#, c-format\nmsgid \"first\"\nmsgstr \"\"\n\n"
        << c.comments << "msgctxt \"T|a\"\nmsgid \"%s files\"\nmsgstr \"\"\n";
    PoReadCounts counts;
    const std::vector<PoEntry> read = ReadPo(path, counts, true);
    ASSERT_EQ(read.size(), 2u) << c.comments;
    EXPECT_EQ(read[1].flags, c.flags) << c.comments;
    EXPECT_EQ(read[1].translatorComments, c.translatorComments) << c.comments;
  }
  PoEntry entry;
  entry.msgid = "%s files";
  entry.flags = {"max-size:65", "range: 0..10", "qt-format", "c-format"};
  entry.translatorComments = {"note", ""};
  // gettext's order: formats in its own order, the range, then flags it does not know.
  EXPECT_TRUE(WritePo({entry}, "")
                  .ends_with("\n# note\n#\n#, c-format, object-pascal-format, qt-format, range: "
                             "0..10, max-size:65\n"
                             "msgid \"%s files\"\nmsgstr \"\"\n"));
}

TEST(PoFileTest, RefusesWhatIsNotAPoFile) {
  support::TempFolder folder;
  PoReadCounts counts;
  const std::string missing = (folder.Path() / "none.po").string();
  EXPECT_RAISES(ReadPo(missing, counts), ToolFileError,
                missing + ": cannot be opened: No such file or directory");
  EXPECT_RAISES(ReadPo(folder.Path().string(), counts), ToolFileError,
                folder.Path().string() + ": is a folder");
}

// What lxpo writes, msgcat writes again byte for byte: strings broken as gettext breaks them.
TEST(PoFileTest, TextsAreWrappedAsGettextWrapsThem) {
  const std::string words =
      "Choose the language of the program; the forms (and the menus) change at once, the "
      "dates follow the locale: e-mail, path/to/file, 1,000.5 and \"quoted\" words.";
  const std::vector<std::string> texts = {
      "",
      "short",
      "ends with a break\n",
      "two\nlines",
      words,
      words + "\n" + words,
      "  " + words + "\t",
      "日本語の文章は空白なしで続きます。" + std::string(3, ' ') +
          "プログラムの言語を選ぶと、フォームとメニューがすぐに変わり、日付はロケールに従います。",
      std::string(100, 'x') + " " + std::string(90, 'y'),
      "Größe «Zitat» „de“ ‘a’ (Klammer) [x] {y} a!b a?b; Привет мир, " + words,
  };
  std::vector<PoEntry> entries;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    PoEntry entry;
    entry.context = "TLongForm";
    entry.id = "Text" + std::to_string(i);
    entry.msgid = texts[i].empty() ? "x" : texts[i];
    entry.msgstr = texts[i];
    entry.references = {"forms/LongForm.lxfm:" + std::to_string(i + 1),
                        "forms/LongForm.lxfm:" + std::to_string(i + 1)};
    for (int k = 0; k < 6; ++k)
      entry.references.push_back("a/rather/long/folder/Form" + std::to_string(k) + ".lxfm:1234");
    entries.push_back(std::move(entry));
  }
  support::TempFolder folder;
  const std::string path = (folder.Path() / "wrap.po").string();
  const std::string written = WritePo(entries, "ja");
  std::ofstream(path, std::ios::binary) << written;
  FILE* pipe = popen(("msgcat '" + path + "' 2>&1").c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string again;
  char buffer[4096];
  while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, pipe))
    again.append(buffer, count);
  EXPECT_EQ(pclose(pipe), 0) << again;
  EXPECT_EQ(again, written);
  // A reference given twice is written once; long lines start with an empty string.
  EXPECT_NE(written.find("#: forms/LongForm.lxfm:1 a/rather/long/folder/Form0.lxfm:1234"),
            std::string::npos);
  EXPECT_NE(written.find("msgid \"\"\n\"Choose the language of the program; the forms (and "
                         "the menus) change at \"\n\"once, the dates"),
            std::string::npos)
      << written;
  PoReadCounts counts;
  const std::vector<PoEntry> read = ReadPo(path, counts);
  ASSERT_EQ(read.size(), entries.size());
  for (std::size_t i = 0; i < read.size(); ++i)
    EXPECT_EQ(read[i].msgstr, texts[i]);
  EXPECT_EQ(read[0].references.front(), "forms/LongForm.lxfm:1");
}

}  // namespace
}  // namespace lx::tools
