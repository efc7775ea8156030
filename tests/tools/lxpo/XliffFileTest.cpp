#include <gtest/gtest.h>

#include <fstream>

#include "lxpo/TsFile.h"
#include "lxpo/XliffFile.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

namespace lx::tools {
namespace {

// Entries with what the exchange formats must carry: keys of every shape, the same key for
// two texts, states, references with and without a line, notes, characters XML escapes.
std::vector<PoEntry> Sample() {
  std::vector<PoEntry> entries(6);
  entries[0] = {"TMainForm", "Colours",           "Red",
                "Rot",       {"MainForm.lxfm:8"}, {"MainForm.Colours.Items"}};
  entries[1] = {"TMainForm", "Colours",           "Blue",
                "",          {"MainForm.lxfm:8"}, {"MainForm.Colours.Items"}};
  entries[2] = {"TMainForm", "", "Main & <window>", "Haupt\"fenster\"", {"Main.dfm"}, {}};
  entries[3] = {
      "", "65320", "Warning", "Warnung", {"FrameworkStrings.strings:40"}, {"SMsgDlgWarning"}};
  entries[3].fuzzy = true;
  entries[4] = {"", "", "&Close", "&Schließen", {"SystemMenu:SC_CLOSE"}, {}};
  entries[5] = {"TMainForm",         "Notes|x", " Line\r\n\tone ",
                " Zeile\r\n\teins ", {},        {"MainForm.Notes.Text", "Hint: two words"}};
  return entries;
}

struct Format {
  const char* name;
  std::string (*write)(const std::vector<PoEntry>&);
  std::vector<PoEntry> (*read)(const std::string&, PoReadCounts&, bool);
  /// What opens a unit, for its line.
  const char* opener;
};

const Format kFormats[] = {
    {"x.xlf",
     [](const std::vector<PoEntry>& e) { return WriteXliff(e, "en", "de", XliffVersion::k12); },
     ReadXliff, "<trans-unit"},
    {"x.xliff",
     [](const std::vector<PoEntry>& e) { return WriteXliff(e, "en", "de", XliffVersion::k20); },
     ReadXliff, "<unit"},
    {"x.ts", [](const std::vector<PoEntry>& e) { return WriteTs(e, "en", "de"); }, ReadTs,
     "<message>"},
};

TEST(XliffFileTest, EveryFormatGivesBackEveryKeyTextNoteAndState) {
  support::TempFolder folder;
  for (const Format& format : kFormats) {
    const std::string path = (folder.Path() / format.name).string();
    const std::string text = format.write(Sample());
    std::ofstream(path, std::ios::binary) << text;
    PoReadCounts counts;
    const std::vector<PoEntry> read = format.read(path, counts, true);
    std::vector<PoEntry> expected = Sample();
    ASSERT_EQ(read.size(), expected.size()) << format.name;
    std::size_t at = 0;
    for (std::size_t i = 0; i < read.size(); ++i) {
      at = text.find(format.opener, at + 1);
      expected[i].line = static_cast<int>(std::count(text.begin(), text.begin() + at, '\n')) + 1;
      EXPECT_EQ(read[i], expected[i]) << format.name << " " << i;
    }
    counts = {};
    EXPECT_EQ(format.read(path, counts, false).size(), expected.size() - 1);
    EXPECT_EQ(counts.fuzzy, 1) << format.name;
  }
  // The same key twice needs two ids; the key travels in the name.
  const std::string xliff = WriteXliff(Sample(), "en", "", XliffVersion::k20);
  EXPECT_NE(xliff.find("<unit id=\"TMainForm|Colours#2\" name=\"TMainForm|Colours\">"),
            std::string::npos);
  EXPECT_EQ(xliff.find("trgLang"), std::string::npos);
}

TEST(XliffFileTest, UnitsKeyedOnlyInTheirIdAndTextsXmlCannotCarry) {
  support::TempFolder folder;
  PoReadCounts counts;
  // A unit keyed only in its id, as other tools write it.
  const std::string xlf = (folder.Path() / "other.xlf").string();
  std::ofstream(xlf) << "<xliff version=\"1.2\"><file><body><group>\n"
                        "<trans-unit id=\"TMainForm|OpenButton\"><source>Open</source>"
                        "<target state=\"needs-review-translation\">Öffnen</target>"
                        "</trans-unit></group></body></file></xliff>\n";
  const std::vector<PoEntry> units = ReadXliff(xlf, counts, true);
  ASSERT_EQ(units.size(), 1u);
  EXPECT_EQ(units[0].id, "OpenButton");
  EXPECT_TRUE(units[0].fuzzy);
  EXPECT_EQ(units[0].line, 2);
  PoEntry bell;
  bell.msgid = "bell\a";
  EXPECT_RAISES(WriteTs({bell}, "en", "de"), PoError,
                "a text with the control character U+0007 cannot be written to an XML file");
}

}  // namespace
}  // namespace lx::tools
