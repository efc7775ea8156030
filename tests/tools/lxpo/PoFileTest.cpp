#include <gtest/gtest.h>

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

TEST(PoFileTest, RefusesWhatIsNotAPoFile) {
  support::TempFolder folder;
  PoReadCounts counts;
  const std::string missing = (folder.Path() / "none.po").string();
  EXPECT_RAISES(ReadPo(missing, counts), ToolFileError,
                missing + ": cannot be opened: No such file or directory");
  EXPECT_RAISES(ReadPo(folder.Path().string(), counts), ToolFileError,
                folder.Path().string() + ": is a folder");
}

}  // namespace
}  // namespace lx::tools
