#include <gtest/gtest.h>

#include "lxpo/PoCheck.h"

namespace lx::tools {
namespace {

PoEntry Entry(const std::string& id, const std::string& msgid, const std::string& msgstr, int line,
              std::vector<std::string> comments = {}) {
  PoEntry entry;
  entry.context = "TMainForm";
  entry.id = id;
  entry.msgid = msgid;
  entry.msgstr = msgstr;
  entry.line = line;
  entry.comments = std::move(comments);
  return entry;
}

std::vector<std::string> Texts(const CheckResult& result) {
  std::vector<std::string> texts;
  for (const CheckFinding& finding : result.findings)
    texts.push_back(FindingText(finding));
  return texts;
}

TEST(PoCheckTest, EachKindOfMistakeIsNamedWithItsPlaceAndKey) {
  const std::vector<std::pair<PoEntry, std::string>> cases = {
      {Entry("A", "%s copied", "kopiert", 3),
       "error: msgctxt \"TMainForm|A\" msgid \"%s copied\": the placeholders differ: %0:s in "
       "the native text, none in the translation"},
      {Entry("B", "%s copied", "%d kopiert", 4),
       "error: msgctxt \"TMainForm|B\" msgid \"%s copied\": the placeholders differ: %0:s in "
       "the native text, %0:d in the translation"},
      {Entry("C", "%0:s of %1:d", "%1:s von %0:d", 5),
       "error: msgctxt \"TMainForm|C\" msgid \"%0:s of %1:d\": the placeholders differ: %0:s "
       "%1:d in the native text, %0:d %1:s in the translation"},
      {Entry("D", "%d files", "%d Dateien 5% mehr", 6),
       "error: msgctxt \"TMainForm|D\" msgid \"%d files\": the translation has a \"%\" that "
       "starts no placeholder"},
      {Entry("E", "&Open", "Öffnen", 7),
       "error: msgctxt \"TMainForm|E\" msgid \"&Open\": no hot key where the native text has "
       "one"},
      {Entry("F", "&Open", "Ö&ff&nen", 8),
       "error: msgctxt \"TMainForm|F\" msgid \"&Open\": 2 hot keys where the native text has "
       "one"},
      {Entry("G", "Open", "Ö&ffnen", 9),
       "warning: msgctxt \"TMainForm|G\" msgid \"Open\": a hot key where the native text has "
       "none"},
      {Entry("H", "Name:", " Name:", 10),
       "warning: msgctxt \"TMainForm|H\" msgid \"Name:\": the leading white space differs from "
       "the native text's"},
      {Entry("I", "one\ntwo", "eins zwei", 11),
       "warning: msgctxt \"TMainForm|I\" msgid \"one\\ntwo\": line breaks differ: 1 in the "
       "native text, 0 in the translation"},
      {Entry("J", "Close", "Закрыть", 12),
       "error: msgctxt \"TMainForm|J\" msgid \"Close\": msgstr holds U+0417, which code page "
       "1252 cannot carry"},
  };
  for (const auto& [entry, expected] : cases) {
    const CheckResult result = CheckEntries({entry}, "de.po", 1252);
    EXPECT_EQ(Texts(result),
              std::vector<std::string>{"de.po:" + std::to_string(entry.line) + ": " + expected});
  }
  const CheckResult spaces = CheckEntries({Entry("K", "Name: ", "Name:\n", 2)}, "de.po", 0);
  EXPECT_EQ(spaces.warnings, 2);
  EXPECT_EQ(CheckSummary("de.po", spaces), "de.po: 0 errors, 2 warnings");
}

TEST(PoCheckTest, CleanFuzzyAndUntranslatedEntriesPass) {
  PoEntry fuzzy = Entry("F", "&Open", "Offnen", 4);
  fuzzy.fuzzy = true;
  const CheckResult result = CheckEntries(
      {Entry("A", "%1:d of %0:s", "%0:s: %1:d", 2), Entry("B", "&Save", "&Sichern", 3), fuzzy,
       Entry("U", "%s", "", 5), Entry("C", "100%", "100 %", 6), Entry("D", "R&&D  ", "F&&E  ", 7)},
      "de.po", 1252);
  EXPECT_EQ(Texts(result), std::vector<std::string>{});
  EXPECT_EQ(CheckSummary("de.po", result), "de.po: 0 errors, 0 warnings");
}

TEST(PoCheckTest, SiblingsWithOneHotKeyClashOnlyInTheirOwnLevel) {
  const std::vector<PoEntry> entries = {
      Entry("SaveItem", "&Save", "&Speichern", 2, {"MainForm.MainMenu1.FileItem.SaveItem.Caption"}),
      Entry("SearchItem", "S&earch", "", 3, {"MainForm.MainMenu1.FileItem.SearchItem.Caption"}),
      Entry("SetupItem", "Se&tup", "&Setup", 4, {"MainForm.MainMenu1.FileItem.SetupItem.Caption"}),
      // Another level, and a hint of a sibling: no clash.
      Entry("SortItem", "S&ort", "&Sortieren", 5, {"MainForm.MainMenu1.ViewItem.SortItem.Caption"}),
      Entry("OkButton", "&OK", "&OK", 6, {"MainForm.Panel1.OkButton.Caption"}),
      Entry("OpenButton", "O&pen", "&Öffnen", 7, {"MainForm.Panel1.OpenButton.Caption"}),
      Entry("OffButton", "O&ff", "&Off", 8, {"MainForm.Panel1.OffButton.Caption"}),
      Entry("OptionsButton", "", "", 9, {"MainForm.Panel1.OptionsButton.Hint"}),
  };
  EXPECT_EQ(Texts(CheckEntries(entries, "de.po", 0)),
            (std::vector<std::string>{
                "de.po:4: warning: msgctxt \"TMainForm|SetupItem\" msgid \"Se&tup\": the hot key "
                "\"s\" of \"&Setup\" is also that of \"&Speichern\" (msgctxt "
                "\"TMainForm|SaveItem\" msgid \"&Save\", de.po:2) in MainForm.MainMenu1.FileItem",
                "de.po:8: warning: msgctxt \"TMainForm|OffButton\" msgid \"O&ff\": the hot key "
                "\"o\" of \"&Off\" is also that of \"&OK\" (msgctxt \"TMainForm|OkButton\" msgid "
                "\"&OK\", de.po:6) in MainForm.Panel1",
            }));
}

}  // namespace
}  // namespace lx::tools
