#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/PoUpdate.h"
#include "support/Raised.h"
#include "support/TempFolder.h"

// libgettextpo keeps a few small blocks of every file it reads to the end of the process.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libgettextpo\n";
}
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}

namespace lx::app {
namespace {

// Written by hand, as other tools write: a long unwrapped line, a fuzzy entry with its previous
// text, an obsolete entry and Windows line ends in the last entry.
const std::string kPo =
    "# German translations of probe.\n"
    "msgid \"\"\n"
    "msgstr \"\"\n"
    "\"Language: de\\n\"\n"
    "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
    "\n"
    "#. the window's title\n"
    "#: ProbeForm.lxfm:ProbeForm.Caption\n"
    "msgctxt \"TProbeForm|\"\n"
    "msgid \"Locale Probe\"\n"
    "msgstr \"Gebietsschema-Pr\xC3\xBC\x66\x65r\"\n"
    "\n"
    "# a translator's note\n"
    "#, fuzzy, object-pascal-format\n"
    "#| msgid \"Language\"\n"
    "msgctxt \"TProbeForm|LanguageLabel\"\n"
    "msgid \"Language:\"\n"
    "msgstr \"\"\n"
    "\"Spra\"\n"
    "\"che\"\n"
    "\n"
    "msgctxt \"TProbeForm|Notes\"\n"
    "msgid \"These are the language and the formats that the program uses, and a line that is "
    "long\"\n"
    "msgstr \"Das sind die Sprache und die Formate, die das Programm verwendet, und eine lange "
    "Zeile\"\n"
    "\n"
    "#~ msgctxt \"TProbeForm|Old\"\n"
    "#~ msgid \"Old\"\n"
    "#~ msgstr \"Alt\"\n"
    "\n"
    "msgctxt \"TProbeForm|CloseButton\"\r\n"
    "msgid \"&Close\"\r\n"
    "msgstr \"&Schlie\xC3\x9F\x65n\"\r\n";

class PoUpdateTest : public ::testing::Test {
 protected:
  PoUpdateTest() : path_(temp_.Text() + "de.po") { Write(kPo); }
  void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  std::string Content() const {
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
  // kPo with `from` replaced by `to`.
  static std::string With(const std::string& from, const std::string& to) {
    std::string text = kPo;
    text.replace(text.find(from), from.size(), to);
    return text;
  }
  int FilesInFolder() const {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(temp_.Path()),
                                          std::filesystem::directory_iterator()));
  }

  support::TempFolder temp_;
  std::string path_;
};

TEST_F(PoUpdateTest, AnEditChangesOnlyItsEntrysTranslation) {
  struct Case {
    const char* msgctxt;
    const char* msgid;
    const char* msgstr;
    std::string before;  // the entry's lines as they were
    std::string after;   // and as they must become
  };
  const Case cases[] = {
      {"TProbeForm|", "Locale Probe", "Pr\xC3\xBC\x66\x65r \"neu\"",
       "msgstr \"Gebietsschema-Pr\xC3\xBC\x66\x65r\"\n",
       "msgstr \"Pr\xC3\xBC\x66\x65r \\\"neu\\\"\"\n"},
      {"TProbeForm|LanguageLabel", "Language:", "Sprache:",
       "#, fuzzy, object-pascal-format\n#| msgid \"Language\"\n"
       "msgctxt \"TProbeForm|LanguageLabel\"\nmsgid \"Language:\"\nmsgstr "
       "\"\"\n\"Spra\"\n\"che\"\n",
       "#, object-pascal-format\nmsgctxt \"TProbeForm|LanguageLabel\"\nmsgid \"Language:\"\n"
       "msgstr \"Sprache:\"\n"},
      {"TProbeForm|CloseButton", "&Close", "S&chlie\xC3\x9F\x65n",
       "msgstr \"&Schlie\xC3\x9F\x65n\"\r\n", "msgstr \"S&chlie\xC3\x9F\x65n\"\r\n"},
  };
  for (const Case& c : cases) {
    Write(kPo);
    const TPoText read = ReadPoText(path_, c.msgctxt, c.msgid);
    const TPoText written = WritePoText(path_, c.msgctxt, c.msgid, c.msgstr, read);
    EXPECT_EQ(Content(), With(c.before, c.after)) << c.msgctxt;
    EXPECT_EQ(written.msgstr, c.msgstr);
    EXPECT_FALSE(written.fuzzy);
    EXPECT_EQ(FilesInFolder(), 1) << "a temporary file is left";
  }
}

TEST_F(PoUpdateTest, TwoEditsInARowAndAnOutsideChangeOfAnotherEntry) {
  TPoText read = ReadPoText(path_, "TProbeForm|", "Locale Probe");
  EXPECT_EQ(read.msgstr, "Gebietsschema-Pr\xC3\xBC\x66\x65r");
  read = WritePoText(path_, "TProbeForm|", "Locale Probe", "Eins", read);
  read = WritePoText(path_, "TProbeForm|", "Locale Probe", "Zwei", read);
  // Another program changes another entry: the edit goes onto its file.
  const std::string outside =
      With("msgstr \"Gebietsschema-Pr\xC3\xBC\x66\x65r\"", "msgstr \"Zwei\"");
  const std::string changed =
      outside.substr(0, outside.find("msgstr \"&Schlie")) + "msgstr \"Zu\"\r\n";
  Write(changed);
  WritePoText(path_, "TProbeForm|", "Locale Probe", "Drei", read);
  EXPECT_EQ(Content(), changed.substr(0, changed.find("msgstr \"Zwei\"")) + "msgstr \"Drei\"" +
                           changed.substr(changed.find("msgstr \"Zwei\"") + 13));
}

TEST_F(PoUpdateTest, NothingIsWrittenOverWhatItCannotTrust) {
  const TPoText read = ReadPoText(path_, "TProbeForm|", "Locale Probe");
  struct Case {
    const char* what;
    std::string file;  // the file as another program left it; empty: none
    std::string msgid;
    std::string message;
  };
  const std::string sameEntry = With("Gebietsschema-Pr\xC3\xBC\x66\x65r", "Anders");
  const Case cases[] = {
      {"the same entry changed", sameEntry, "Locale Probe",
       path_ + ": another program changed msgctxt \"TProbeForm|\" msgid \"Locale Probe\" "
               "meanwhile; nothing was written"},
      {"the entry gone", With("msgid \"Locale Probe\"", "msgid \"Probe\""), "Locale Probe",
       path_ + ": no entry msgctxt \"TProbeForm|\" msgid \"Locale Probe\""},
      {"a syntax error", With("msgstr \"\"\n\"Spra\"", "msgstr \"\"\n\"Spra"), "Locale Probe",
       path_ + ":20: end-of-line within string"},
      {"no such entry", kPo, "Nowhere",
       path_ + ": no entry msgctxt \"TProbeForm|\" msgid \"Nowhere\""},
      {"no file", "", "Locale Probe", path_ + ": cannot be read: No such file or directory"},
  };
  for (const Case& c : cases) {
    if (c.file.empty()) {
      std::filesystem::remove(path_);
    } else {
      Write(c.file);
    }
    EXPECT_RAISES(WritePoText(path_, "TProbeForm|", c.msgid, "Neu", read), EPoUpdate, c.message)
        << c.what;
    if (!c.file.empty()) {
      EXPECT_EQ(Content(), c.file) << c.what;
    }
    EXPECT_EQ(FilesInFolder(), c.file.empty() ? 0 : 1) << c.what;
  }
}

}  // namespace
}  // namespace lx::app
