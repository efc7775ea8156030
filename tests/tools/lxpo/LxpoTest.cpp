// lxpo run as translators' tools meet it: every file it writes goes through the real gettext
// tools, and what comes back from them builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "lxpo/Lxpo.h"
#include "lxpo/PoFile.h"
#include "lxpo/TsFile.h"
#include "lxpo/XliffFile.h"
#include "pldimage/PldImage.h"
#include "support/TempFolder.h"

// libgettextpo keeps a few small blocks of every file it reads to the end of the process;
// fontconfig, under Pango's measures, its configuration.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libgettextpo\nleak:libfontconfig\n";
}
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}

namespace lx::tools {
namespace {

namespace fs = std::filesystem;

struct Result {
  int code = 0;
  std::string out;
  std::string err;
};

Result Lxpo(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunLxpo(args, out, err);
  return {code, out.str(), err.str()};
}

// Runs a shell command; its standard output, and its exit status in `status`.
std::string Shell(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return output;
  }
  std::array<char, 4096> buffer{};
  while (const std::size_t count = std::fread(buffer.data(), 1, buffer.size(), pipe))
    output.append(buffer.data(), count);
  status = pclose(pipe);
  return output;
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Write(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::vector<std::string> FolderContent(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

int MsgfmtCheck(const fs::path& file) {
  int status = 0;
  const std::string output = Shell("msgfmt --check -o /dev/null '" + file.string() + "'", status);
  if (status != 0) ADD_FAILURE() << output;
  return status;
}

const std::string kForm = R"(object MainForm: TMainForm
  Caption = 'Main window'
  object OpenButton: TButton
    Hint = 'Open a file'
    Caption = 'Open'
  end
  object Colours: TListBox
    Items.Strings = (
      'Red'
      'Red'
      'Blue')
  end
  object CloseButton: TButton
    Caption = 'Close'
  end
  object Translator1: TLxTranslator
    DictionaryName = 'Dictionary1'
    CharsetChange = lxccDisabled
    TargetsData = (1 3 ('*' 'Hint' 0) ('*' 'Caption' 0) ('*' 'Items' 0))
  end
end
)";

const std::string kManifest = R"({
  "languages": [
    {"primaryLanguage": 0, "codePage": 1252, "englishName": "English"},
    {"primaryLanguage": 7, "subLanguage": 1, "isoLanguage": "de", "codePage": 1252,
     "englishName": "German", "nativeName": "Deutsch", "po": "de.po"}
  ]
})";

const std::string kPoHeader =
    "msgid \"\"\nmsgstr \"\"\n\"Language: de\\n\"\n"
    "\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";

class LxpoTest : public ::testing::Test {
 protected:
  fs::path At(const std::string& name) const { return folder_.Path() / name; }

  // The template of kForm (and of `form` when given) without the framework's texts.
  std::string ExtractTemplate(const std::string& form = kForm) {
    Write(At("MainForm.lxfm"), form);
    const Result result = Lxpo({"extract", "--no-framework", At("MainForm.lxfm").string(), "-o",
                                At("messages.pot").string()});
    EXPECT_EQ(result.code, 0) << result.err;
    return Read(At("messages.pot"));
  }

  // The form as its translator leaves it in `language` of `dictionary`.
  std::string Translated(const fs::path& dictionary, int language) {
    int status = 0;
    const std::string text =
        Shell(std::string(LX_LXFORM) + " --translate '" + dictionary.string() + "' --language " +
                  std::to_string(language) + " '" + At("MainForm.lxfm").string() + "'",
              status);
    EXPECT_EQ(status, 0) << text;
    return text;
  }

  support::TempFolder folder_;
};

TEST_F(LxpoTest, ExtractWritesEveryTargetTextOnceWithItsReferences) {
  const std::string pot = ExtractTemplate();
  EXPECT_EQ(MsgfmtCheck(At("messages.pot")), 0);
  EXPECT_TRUE(Contains(pot,
                       "#: MainForm.lxfm:2\nmsgctxt \"TMainForm|\"\n"
                       "msgid \"Main window\"\nmsgstr \"\"\n"));
  EXPECT_TRUE(Contains(pot,
                       "#. Hint: Open a file\n#: MainForm.lxfm:5\n"
                       "msgctxt \"TMainForm|OpenButton\"\nmsgid \"Open\"\n"));
  // The same key twice: one entry, its reference once (as gettext keeps it).
  EXPECT_TRUE(Contains(pot,
                       "#: MainForm.lxfm:8\n"
                       "msgctxt \"TMainForm|Colours\"\nmsgid \"Red\"\n"));
  EXPECT_LT(pot.find("\"Open a file\""), pot.find("\"Blue\""));  // the order of the pass

  // The same sources give the same bytes.
  EXPECT_EQ(ExtractTemplate(), pot);
}

TEST_F(LxpoTest, ExtractTakesStringTablesTheFrameworkAndDefaultTargets) {
  Write(At("Program.strings"),
        "# Program texts\nSHello 10 \"Hello \\\"%s\\\"\\n\"\n"
        "SCopied 12 \"%d file copied\" \"%d files copied\"\n");
  // No translator: the default targets (captions, hints, items, lines) apply.
  Write(At("Plain.lxfm"),
        "object PlainForm: TPlainForm\n  Caption = 'Plain'\n  object L: TLabel\n"
        "    Caption = 'Label'\n  end\nend\n");
  // A translator without "TargetsData": the same.
  Write(At("Bare.lxfm"),
        "object BareForm: TBareForm\n  Hint = 'Bare'\n  object T: TLxTranslator\n"
        "  end\nend\n");
  const Result result =
      Lxpo({"extract", "--strings", At("Program.strings").string(), At("Plain.lxfm").string(),
            At("Bare.lxfm").string(), "-o", At("all.pot").string()});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(MsgfmtCheck(At("all.pot")), 0);
  const std::string pot = Read(At("all.pot"));
  EXPECT_TRUE(Contains(pot, "msgctxt \"TPlainForm|L\"\nmsgid \"Label\"\n"));
  EXPECT_TRUE(Contains(pot, "#: Bare.lxfm:2\nmsgctxt \"TBareForm|\"\nmsgid \"Bare\"\n"));
  EXPECT_TRUE(Contains(pot,
                       "#. SHello\n#: Program.strings:2\n#, object-pascal-format\nmsgctxt \"|10\"\n"
                       "msgid \"Hello \\\"%s\\\"\\n\"\n"));
  // Framework strings by identifier; key names and system-menu texts by the text alone.
  EXPECT_TRUE(Contains(pot, "#. SMsgDlgWarning\n#: FrameworkStrings.strings:"));
  EXPECT_TRUE(Contains(pot, "#. SmkcCtrl\n#: FrameworkStrings.strings:"));
  EXPECT_TRUE(Contains(pot, "#: SystemMenu:SC_CLOSE\nmsgid \"&Close\"\n"));
  EXPECT_TRUE(Contains(pot,
                       "msgctxt \"|12\"\nmsgid \"%d file copied\"\nmsgid_plural \"%d files "
                       "copied\"\nmsgstr[0] \"\"\nmsgstr[1] \"\"\n"));
  EXPECT_TRUE(Contains(pot, "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"\n"));
  EXPECT_LT(pot.find("SHello"), pot.find("SmkcCtrl"));

  // The program's 8-bit texts are taken in the code page given, 1252 by default.
  Write(At("Cafe.strings"), "SCafe 11 \"Caf\\xe9\"\n");
  Write(At("Cafe.lxfm"), "object CafeForm: TCafeForm\n  Caption = 'Caf'#233\nend\n");
  for (const auto& [page, cafe] :
       {std::pair<std::string, std::string>{"1252", "Café"}, {"1251", "Cafй"}}) {
    const Result cafeResult = Lxpo({"extract", "--no-framework", "--code-page", page, "--strings",
                                    At("Cafe.strings").string(), At("Cafe.lxfm").string(), "-o",
                                    At("cafe.pot").string()});
    ASSERT_EQ(cafeResult.code, 0) << cafeResult.err;
    const std::string cafePot = Read(At("cafe.pot"));
    EXPECT_TRUE(Contains(cafePot, "msgctxt \"TCafeForm|\"\nmsgid \"" + cafe + "\"\n")) << cafePot;
    EXPECT_TRUE(Contains(cafePot, "msgctxt \"|11\"\nmsgid \"" + cafe + "\"\n"));
  }

  Write(At("Bad.strings"), "SOk 1 \"ok\"\nSBad 70000 \"no\"\n");
  const Result bad =
      Lxpo({"extract", "--strings", At("Bad.strings").string(), "-o", At("bad.pot").string()});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.err, "lxpo: Bad.strings:2: the identifier must be a number from 0 to 65535\n");
  EXPECT_FALSE(fs::exists(At("bad.pot")));
}

TEST_F(LxpoTest, ATranslatedFileBecomesADictionaryTheTranslatorUses) {
  ExtractTemplate();
  std::string po = Read(At("messages.pot"));
  auto translate = [&po](const std::string& msgid, const std::string& msgstr) {
    const std::string from = "msgid \"" + msgid + "\"\nmsgstr \"\"";
    po.replace(po.find(from), from.size(), "msgid \"" + msgid + "\"\nmsgstr \"" + msgstr + "\"");
  };
  translate("Main window", "Hauptfenster");
  translate("Open", "Öffnen");
  translate("Red", "Rot");
  Write(At("de.po"), po);
  EXPECT_EQ(MsgfmtCheck(At("de.po")), 0);
  Write(At("dictionary.json"), kManifest);

  const Result result =
      Lxpo({"build", At("dictionary.json").string(), "-o", At("de.pld").string()});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "lxpo: " + At("de.pld").string() + ": 2 languages, 3 translations\n  " +
                            At("de.po").string() +
                            ": 3 translated, 3 untranslated, 0 fuzzy and 0 obsolete left out\n");
  const std::string form = Translated(At("de.pld"), 1);
  EXPECT_TRUE(Contains(form, "Caption = 'Hauptfenster'"));
  EXPECT_TRUE(Contains(form, "Caption = 'Öffnen'"));
  EXPECT_TRUE(Contains(form, "Items.Strings = (\n      'Rot'\n      'Rot'\n      'Blue')")) << form;
  EXPECT_TRUE(Contains(form, "Caption = 'Close'"));
}

// A language in UTF-8 takes any character from its PO file and gives it back on export.
TEST_F(LxpoTest, ALanguageInUtf8GoesThroughBuildCheckAndExportWhole) {
  const std::string mixed = "\u958B\u304F \u03A9 \u05E2\u05D1 \U0001F600";
  std::string po = ExtractTemplate();
  const std::string from = "msgid \"Open\"\nmsgstr \"\"";
  po.replace(po.find(from), from.size(), "msgid \"Open\"\nmsgstr \"" + mixed + "\"");
  Write(At("ja.po"), po);
  Write(At("dictionary.json"), R"({"languages": [
      {"primaryLanguage": 0, "codePage": 1252, "englishName": "English"},
      {"primaryLanguage": 17, "subLanguage": 1, "isoLanguage": "ja", "codePage": 65001,
       "englishName": "Japanese", "nativeName": "\u65E5\u672C\u8A9E", "po": "ja.po"}]})");
  const Result check = Lxpo({"check", "--strict", At("dictionary.json").string()});
  EXPECT_EQ(check.code, 0) << check.err;
  const Result built = Lxpo({"build", At("dictionary.json").string(), "-o", At("ja.pld").string()});
  ASSERT_EQ(built.code, 0) << built.err;
  EXPECT_TRUE(Contains(Translated(At("ja.pld"), 1), "Caption = '" + mixed + "'"));

  fs::create_directory(At("out"));
  ASSERT_EQ(Lxpo({"export", At("ja.pld").string(), "-d", At("out").string()}).code, 0);
  const std::string exported = Read(At("out/ja.po"));
  EXPECT_TRUE(Contains(exported, "msgid \"Open\"\nmsgstr \"" + mixed + "\"")) << exported;
  EXPECT_EQ(MsgfmtCheck(At("out/ja.po")), 0);
}

TEST_F(LxpoTest, MsgmergeUpdatesATranslationAndTheBuildLeavesFuzzyEntriesOut) {
  ExtractTemplate();
  std::string po = Read(At("messages.pot"));
  const std::string from = "msgid \"Open a file\"\nmsgstr \"\"";
  po.replace(po.find(from), from.size(), "msgid \"Open a file\"\nmsgstr \"Datei öffnen\"");
  const std::string close = "msgid \"Close\"\nmsgstr \"\"";
  po.replace(po.find(close), close.size(), "msgid \"Close\"\nmsgstr \"Schließen\"");
  Write(At("de.po"), po);

  // The program changes: a hint gets longer, the close button goes.
  std::string newer = kForm;
  newer.replace(newer.find("'Open a file'"), 13, "'Open a file.'");
  const std::string button = "  object CloseButton: TButton\n    Caption = 'Close'\n  end\n";
  newer.erase(newer.find(button), button.size());
  ExtractTemplate(newer);
  int status = 0;
  const std::string merged =
      Shell("msgmerge --quiet -o '" + At("merged.po").string() + "' '" + At("de.po").string() +
                "' '" + At("messages.pot").string() + "'",
            status);
  ASSERT_EQ(status, 0) << merged;
  fs::rename(At("merged.po"), At("de.po"));
  const std::string fuzzy =
      Shell("msgattrib --only-fuzzy --no-obsolete '" + At("de.po").string() + "'", status);
  ASSERT_EQ(status, 0);
  EXPECT_TRUE(Contains(fuzzy, "msgid \"Open a file.\"\nmsgstr \"Datei öffnen\""));

  Write(At("dictionary.json"), kManifest);
  const Result result =
      Lxpo({"build", At("dictionary.json").string(), "-o", At("de.pld").string()});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_TRUE(
      Contains(result.err, ": 0 translated, 4 untranslated, 1 fuzzy and 1 obsolete left out"))
      << result.err;
  EXPECT_TRUE(Contains(Translated(At("de.pld"), 1), "Hint = 'Open a file.'"));
}

TEST_F(LxpoTest, BrokenFilesGiveTheirMessageAndLeaveNoOutput) {
  Write(At("dictionary.json"), kManifest);
  struct Case {
    std::string po;
    std::string message;
  };
  const std::vector<Case> cases = {
      {kPoHeader + "msgid \"a\"\nmsgstr \"b\n", "de.po:8: end-of-line within string"},
      {"msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n\n"
       "msgid \"a\"\nmsgstr \"\xe4\"\n",
       "de.po: charset \"ISO-8859-1\" is not supported: PO files must be UTF-8 (msgconv "
       "--to-code=UTF-8)"},
      {kPoHeader + "msgid \"a\"\nmsgstr \"\xe4\"\n", "de.po:7: invalid multibyte sequence"},
      {kPoHeader + "msgid \"file\"\nmsgid_plural \"files\"\nmsgstr[0] \"Datei\"\n"
                   "msgstr[1] \"Dateien\"\n",
       "de.po: plural entries need a \"Plural-Forms\" header"},
      {"msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
       "\"Plural-Forms: nplurals=3; plural=n==1 ? 0 : 1;\\n\"\n\n"
       "msgid \"file\"\nmsgid_plural \"files\"\nmsgstr[0] \"Datei\"\nmsgstr[1] \"Dateien\"\n",
       "de.po:6: msgid \"file\": 2 plural forms, the Plural-Forms header gives 3"},
      {kPoHeader + "\nmsgctxt \"TMainForm|OpenButton\"\nmsgid \"Open\"\nmsgstr \"打开\"\n",
       "de.po:7: msgctxt \"TMainForm|OpenButton\" msgid \"Open\": msgstr holds U+6253, which "
       "code page 1252 cannot carry"},
      {kPoHeader + "msgctxt \"TMainForm\"\nmsgid \"Open\"\nmsgstr \"Öffnen\"\n",
       "de.po:6: msgctxt \"TMainForm\" does not parse: \"context|id\" expected"},
  };
  for (const Case& broken : cases) {
    Write(At("de.po"), broken.po);
    const Result result =
        Lxpo({"build", At("dictionary.json").string(), "-o", At("de.pld").string()});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "lxpo: " + At("").string() + broken.message + "\n");
    EXPECT_EQ(FolderContent(folder_.Path()),
              (std::vector<std::string>{"de.po", "dictionary.json"}));
  }
}

// A manifest may name its languages by ISO code alone; what a record gives itself stays.
TEST_F(LxpoTest, LanguagesNamedByIsoCodeTakeIdsCodePageAndNamesFromTheLocaleDatabase) {
  Write(At("MainForm.lxfm"), kForm);
  Write(At("ar.po"),
        kPoHeader + "msgctxt \"TMainForm|OpenButton\"\nmsgid \"Open\"\nmsgstr \"فتح\"\n");
  Write(At("dictionary.json"), R"({"languages": [{"isoLanguage": "en"},
      {"isoLanguage": "ar", "po": "ar.po"}, {"isoLanguage": "de", "isoCountry": "AT",
       "nativeName": "Deutsch"}]})");
  const Result result =
      Lxpo({"build", At("dictionary.json").string(), "-o", At("ar.pld").string()});
  ASSERT_EQ(result.code, 0) << result.err;
  const std::string bytes = Read(At("ar.pld"));
  const PldImage image =
      ParsePldImage(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  ASSERT_EQ(image.languages.size(), 3u);
  const PldLanguage& native = image.languages[0];
  EXPECT_EQ(native.primaryLanguage, 0);
  EXPECT_EQ(native.codePage, 1252);
  EXPECT_EQ(native.englishName, "English");
  const PldLanguage& arabic = image.languages[1];
  EXPECT_EQ(arabic.primaryLanguage, 1);
  EXPECT_EQ(arabic.subLanguage, 3);  // its most likely country, Egypt
  EXPECT_EQ(arabic.codePage, 1256);
  EXPECT_EQ(arabic.isoCountry, "EG");
  EXPECT_EQ(arabic.englishName.substr(0, 6), "Arabic");
  EXPECT_EQ(arabic.nativeName.substr(0, 14), "العربية");
  const PldLanguage& german = image.languages[2];
  EXPECT_EQ(german.primaryLanguage, 7);
  EXPECT_EQ(german.subLanguage, 3);
  EXPECT_EQ(german.nativeName, "Deutsch");
  EXPECT_TRUE(Contains(Translated(At("ar.pld"), 1), "Caption = 'فتح'"));
}

TEST_F(LxpoTest, ManifestsAndFormsThatCannotBeUsedNameTheirPlace) {
  const std::string manifest = At("dictionary.json").string();
  auto build = [&](const std::string& json) {
    Write(At("dictionary.json"), json);
    const Result result = Lxpo({"build", manifest, "-o", At("x.pld").string()});
    EXPECT_EQ(result.code, 1);
    EXPECT_FALSE(fs::exists(At("x.pld")));
    return result.err;
  };
  EXPECT_EQ(
      build(R"({"languages": [], "translations": []})"),
      "lxpo: " + manifest + ": translations: a manifest takes its translations from PO files\n");
  EXPECT_EQ(
      build(R"({"languages": [{"po": "en.po"}]})"),
      "lxpo: " + manifest + ": languages[0].po: the native language's texts are the msgids\n");
  EXPECT_EQ(build(kManifest),
            "lxpo: " + At("de.po").string() + ": cannot be opened: No such file or directory\n");
  EXPECT_EQ(build("[1]"), "lxpo: " + manifest + ": the manifest must be a JSON object\n");
  // Refused before the library recurses into it (it overflowed the stack writing it out).
  EXPECT_EQ(build(R"({"languages": [{}], "x": )" + std::string(20000, '[') +
                  std::string(20000, ']') + "}"),
            "lxpo: " + manifest + ": arrays and objects nested deeper than 100 levels\n");
  // The library's words stay inside.
  EXPECT_EQ(build(R"({"languages": [{"codePage": 1e400}]})"),
            "lxpo: " + manifest + ": number overflow parsing '1e400'\n");
  EXPECT_EQ(build("{\"languages\": ["),
            "lxpo: " + manifest +
                ": parse error at line 1, column 16: syntax error while parsing value - unexpected "
                "end of input; expected '[', '{', or a literal\n");
  EXPECT_EQ(build(R"({"languages": [{}, {"isoLanguage": "xx", "po": "de.po"}]})"),
            "lxpo: " + manifest +
                ": languages[1].isoLanguage: \"xx\" is no language of the locale database; give "
                "primaryLanguage and codePage\n");

  Write(At("Broken.lxfm"), "object Broken: TBroken\n  Caption = 'open\n");
  const Result form =
      Lxpo({"extract", At("Broken.lxfm").string(), "-o", At("broken.pot").string()});
  EXPECT_EQ(form.code, 1);
  EXPECT_EQ(form.err.rfind("lxpo: " + At("Broken.lxfm").string() + ": ", 0), 0u) << form.err;
  EXPECT_FALSE(fs::exists(At("broken.pot")));
}

TEST_F(LxpoTest, AnOutputThatCannotBeWrittenLeavesNothingBehind) {
  ExtractTemplate();
  fs::create_directory(At("taken"));
  const Result result =
      Lxpo({"extract", "--no-framework", At("MainForm.lxfm").string(), "-o", At("taken").string()});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err, "lxpo: " + At("taken").string() + ": cannot be written: Is a directory\n");
  EXPECT_EQ(FolderContent(folder_.Path()),
            (std::vector<std::string>{"MainForm.lxfm", "messages.pot", "taken"}));
  EXPECT_TRUE(fs::is_empty(At("taken")));
}

TEST_F(LxpoTest, AnOutputThatIsAnInputIsRefused) {
  ExtractTemplate();
  Write(At("de.po"), Read(At("messages.pot")));
  Write(At("dictionary.json"), kManifest);
  Write(At("t.strings"), "SHello 10 \"Hello\"\n");
  fs::create_symlink(At("messages.pot"), At("link.pot"));
  const std::string pot = At("messages.pot").string();
  const std::string form = At("MainForm.lxfm").string();
  const std::string json = At("dictionary.json").string();
  const std::string de = At("de.po").string();
  const std::string table = At("t.strings").string();
  const std::string link = At("link.pot").string();
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"pseudo", pot, "-o", pot}, "the output file " + pot + " is the input file " + pot},
      {{"pseudo", pot, "-o", link}, "the output file " + link + " is the input file " + pot},
      {{"build", json, "-o", json}, "the output file " + json + " is the input file " + json},
      {{"build", json, "-o", de}, "the output file " + de + " is the input file " + de},
      {{"extract", form, "-o", form}, "the output file " + form + " is the input file " + form},
      {{"extract", "--strings", table, form, "-o", table},
       "the output file " + table + " is the input file " + table},
  };
  const std::vector<std::string> before{Read(pot), Read(form), Read(json), Read(de), Read(table)};
  for (const auto& [args, message] : cases) {
    const Result result = Lxpo(args);
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')), "lxpo: " + message);
  }
  EXPECT_EQ((std::vector<std::string>{Read(pot), Read(form), Read(json), Read(de), Read(table)}),
            before);
}

TEST_F(LxpoTest, OutputsWithoutANameOrToStandardOutput) {
  ExtractTemplate();
  const Result unnamed = Lxpo({"pseudo", At("messages.pot").string(), "-o", ""});
  EXPECT_EQ(unnamed.code, 1);
  EXPECT_EQ(unnamed.err, "lxpo: the output file has no name\n");
  const Result piped = Lxpo({"pseudo", At("messages.pot").string(), "-o", "-"});
  EXPECT_EQ(piped.code, 0);
  EXPECT_TRUE(Contains(piped.out, "msgid \"Main window\"\nmsgstr \"[Måîñ")) << piped.out;
  EXPECT_EQ(piped.err, "lxpo: -: 6 pseudo-texts\n");
}

TEST_F(LxpoTest, AnExportThatCannotWriteEveryFileLeavesTheOldSetWhole) {
  ExtractTemplate();
  Write(At("de.po"), Read(At("messages.pot")));
  Write(At("dictionary.json"), kManifest);
  ASSERT_EQ(Lxpo({"build", At("dictionary.json").string(), "-o", At("a.pld").string()}).code, 0);
  fs::create_directory(At("out"));
  Write(At("out/messages.pot"), "old template");
  Write(At("out/de.po"), "old German");
  fs::create_directory(At("out/dictionary.json"));  // the last file cannot be written
  const Result result = Lxpo({"export", At("a.pld").string(), "-d", At("out").string()});
  EXPECT_EQ(result.code, 1);
  EXPECT_EQ(result.err, "lxpo: " + At("out/dictionary.json").string() +
                            ": cannot be written: Is a directory\n");
  EXPECT_EQ(Read(At("out/messages.pot")), "old template");
  EXPECT_EQ(Read(At("out/de.po")), "old German");
  EXPECT_EQ(FolderContent(At("out")),
            (std::vector<std::string>{"de.po", "dictionary.json", "messages.pot"}));
}

TEST_F(LxpoTest, ExportHandsAnImageToTranslatorsAndBuildsItAgain) {
  ExtractTemplate();
  std::string po = Read(At("messages.pot"));
  const std::string from = "msgid \"Red\"\nmsgstr \"\"";
  po.replace(po.find(from), from.size(), "msgid \"Red\"\nmsgstr \"Rot \\\"\\\\\\t\"");
  Write(At("de.po"), po);
  Write(At("dictionary.json"), kManifest);
  ASSERT_EQ(Lxpo({"build", At("dictionary.json").string(), "-o", At("a.pld").string()}).code, 0);

  fs::create_directory(At("out"));
  const Result exported = Lxpo({"export", At("a.pld").string(), "-d", At("out").string()});
  ASSERT_EQ(exported.code, 0) << exported.err;
  EXPECT_EQ(FolderContent(At("out")),
            (std::vector<std::string>{"de.po", "dictionary.json", "messages.pot"}));
  EXPECT_EQ(MsgfmtCheck(At("out/de.po")), 0);
  EXPECT_EQ(MsgfmtCheck(At("out/messages.pot")), 0);
  const Result rebuilt =
      Lxpo({"build", At("out/dictionary.json").string(), "-o", At("b.pld").string()});
  ASSERT_EQ(rebuilt.code, 0) << rebuilt.err;
  const std::string a = Read(At("a.pld"));
  const std::string b = Read(At("b.pld"));
  EXPECT_EQ(ParsePldImage(std::span(reinterpret_cast<const std::uint8_t*>(b.data()), b.size())),
            ParsePldImage(std::span(reinterpret_cast<const std::uint8_t*>(a.data()), a.size())));

  const Result notImage = Lxpo({"export", At("de.po").string(), "-d", At("out").string()});
  EXPECT_EQ(notImage.code, 1);
  EXPECT_EQ(FolderContent(At("out")),
            (std::vector<std::string>{"de.po", "dictionary.json", "messages.pot"}));
}

TEST_F(LxpoTest, PluralFilesGoIntoTheImageAndComeBackWithTheirForms) {
  // Each language with gettext's usual header and one form per whole-count category.
  const struct {
    const char* iso;
    int primary;
    int codePage;
    const char* pluralForms;
    std::vector<std::string> forms;
  } languages[] = {
      {"ru",
       0x19,
       1251,
       "nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || "
       "n%100>=20) ? 1 : 2);",
       {"%d файл", "%d файла", "%d файлов"}},
      {"pl",
       0x15,
       1250,
       "nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);",
       {"%d plik", "%d pliki", "%d plików"}},
      {"ar",
       0x01,
       1256,
       "nplurals=6; plural=(n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 : "
       "n%100>=11 ? 4 : 5);",
       {"لا ملفات", "ملف واحد", "ملفان", "%d ملفات", "%d ملفًا", "%d ملف"}},
  };
  std::string manifest = R"({"languages": [{"primaryLanguage": 0, "codePage": 1252})";
  for (const auto& language : languages) {
    std::string po = std::string("msgid \"\"\nmsgstr \"\"\n\"Language: ") + language.iso +
                     "\\n\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\"Plural-Forms: " +
                     language.pluralForms + "\\n\"\n\nmsgctxt \"TMainForm|FilesLabel\"\n" +
                     "msgid \"%d file\"\nmsgid_plural \"%d files\"\n";
    for (std::size_t i = 0; i < language.forms.size(); ++i)
      po += "msgstr[" + std::to_string(i) + "] \"" + language.forms[i] + "\"\n";
    Write(At(std::string(language.iso) + ".po"), po);
    manifest += ", {\"primaryLanguage\": " + std::to_string(language.primary) +
                ", \"subLanguage\": 1, \"isoLanguage\": \"" + language.iso +
                "\", \"codePage\": " + std::to_string(language.codePage) + ", \"po\": \"" +
                language.iso + ".po\"}";
  }
  Write(At("dictionary.json"), manifest + "]}");
  const Result built = Lxpo({"build", At("dictionary.json").string(), "-o", At("a.pld").string()});
  ASSERT_EQ(built.code, 0) << built.err;

  fs::create_directory(At("out"));
  const Result exported = Lxpo({"export", At("a.pld").string(), "-d", At("out").string()});
  ASSERT_EQ(exported.code, 0) << exported.err;
  EXPECT_EQ(MsgfmtCheck(At("out/messages.pot")), 0);
  EXPECT_TRUE(Contains(Read(At("out/messages.pot")),
                       "\"Plural-Forms: nplurals=2; plural=(n != 1);\\n\"\n"));
  for (const auto& language : languages) {
    const fs::path po = At("out/" + std::string(language.iso) + ".po");
    EXPECT_EQ(MsgfmtCheck(po), 0);
    const std::string text = Read(po);
    for (std::size_t i = 0; i < language.forms.size(); ++i) {
      EXPECT_TRUE(Contains(text, "msgstr[" + std::to_string(i) + "] \"" + language.forms[i] + "\""))
          << text;
    }
  }
  const Result rebuilt =
      Lxpo({"build", At("out/dictionary.json").string(), "-o", At("b.pld").string()});
  ASSERT_EQ(rebuilt.code, 0) << rebuilt.err;
  EXPECT_EQ(Read(At("a.pld")), Read(At("b.pld")));
}

TEST_F(LxpoTest, PluralEntriesOfOneFormAndOfFrenchExportAndPseudoLocalise) {
  for (const std::string iso : {"ja", "fr"}) {
    const std::string po =
        "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
        "msgid \"%d file\"\nmsgid_plural \"%d files\"\nmsgstr[0] \"\"\nmsgstr[1] \"\"\n";
    Write(At("messages.pot"), po);
    const Result pseudo = Lxpo(
        {"pseudo", At("messages.pot").string(), "--language", iso, "-o", At(iso + ".po").string()});
    ASSERT_EQ(pseudo.code, 0) << pseudo.err;
    EXPECT_EQ(MsgfmtCheck(At(iso + ".po")), 0);
    const std::string text = Read(At(iso + ".po"));
    EXPECT_EQ(Contains(text, "msgstr[1]"), iso == "fr") << text;
    // The header's lines are wrapped: the expression is looked for across them.
    EXPECT_TRUE(Contains(text, iso == "ja" ? "nplurals=1; plural=0;"
                                           : "nplurals=3; plural=(n==0 || n==1) ? 0 : (n!=0 && \"\n"
                                             "\"n%1000000==0) ? 1 : 2;"))
        << text;
  }
}

TEST_F(LxpoTest, APseudoLanguageBuildsAndShowsInTheForm) {
  ExtractTemplate();
  const Result result = Lxpo({"pseudo", At("messages.pot").string(), "-o", At("qps.po").string()});
  ASSERT_EQ(result.code, 0) << result.err;
  EXPECT_EQ(MsgfmtCheck(At("qps.po")), 0);
  std::string manifest = kManifest;
  manifest.replace(manifest.find("\"de.po\""), 7, "\"qps.po\"");
  Write(At("dictionary.json"), manifest);
  ASSERT_EQ(Lxpo({"build", At("dictionary.json").string(), "-o", At("q.pld").string()}).code, 0);
  EXPECT_TRUE(Contains(Translated(At("q.pld"), 1), "Caption = '[Öpéñ~~]'"));
}

TEST_F(LxpoTest, CheckAndBuildCatchSeededMistakesAndPassCleanFiles) {
  Write(At("Menu.lxfm"),
        "object MainForm: TMainForm\n  object MainMenu1: TMainMenu\n"
        "    object FileItem: TMenuItem\n      Caption = '&File'\n"
        "      object SaveItem: TMenuItem\n        Caption = '&Save'\n      end\n"
        "      object SetupItem: TMenuItem\n        Caption = 'Se&tup'\n"
        "      end\n    end\n  end\n  object CopyLabel: TLabel\n"
        "    Caption = '%s copied'\n  end\nend\n");
  ASSERT_EQ(Lxpo({"extract", "--no-framework", "--size-flags", At("Menu.lxfm").string(), "-o",
                  At("messages.pot").string()})
                .code,
            0);
  std::string po = Read(At("messages.pot"));
  EXPECT_TRUE(Contains(po, "#. MainForm.MainMenu1.FileItem.SaveItem.Caption\n"));
  EXPECT_TRUE(
      Contains(po, "#, object-pascal-format, max-size:65\nmsgctxt \"TMainForm|CopyLabel\"\n"));
  const auto translate = [&po](const std::string& msgid, const std::string& msgstr) {
    const std::string from = "msgid \"" + msgid + "\"\nmsgstr \"\"";
    po.replace(po.find(from), from.size(), "msgid \"" + msgid + "\"\nmsgstr \"" + msgstr + "\"");
  };
  translate("&Save", "&Speichern");
  translate("Se&tup", "&Setup");
  translate("%s copied", "%d kopiert");
  Write(At("de.po"), po);
  Write(At("dictionary.json"), kManifest);
  int status = 0;
  const std::string msgfmt =
      Shell("msgfmt --check -o /dev/null '" + At("de.po").string() + "'", status);
  EXPECT_NE(status, 0);  // the flag lets gettext see the wrong placeholder too
  EXPECT_TRUE(Contains(msgfmt, "are not the same")) << msgfmt;

  const std::string de = At("de.po").string();
  const std::string findings =
      de +
      ":39: error: msgctxt \"TMainForm|CopyLabel\" msgid \"%s copied\": the placeholders "
      "differ: %0:s in the native text, %0:d in the translation\n" +
      de +
      ":30: warning: msgctxt \"TMainForm|SetupItem\" msgid \"Se&tup\": the hot key \"s\" "
      "of \"&Setup\" is also that of \"&Speichern\" (msgctxt \"TMainForm|SaveItem\" msgid "
      "\"&Save\", " +
      de + ":23) in MainForm.MainMenu1.FileItem\n";
  const Result check = Lxpo({"check", At("dictionary.json").string()});
  EXPECT_EQ(check.code, 1);
  EXPECT_EQ(check.err, findings);
  EXPECT_EQ(check.out, "lxpo: check: failed\n  " + de + ": 1 error, 1 warning\n");
  const Result build = Lxpo({"build", At("dictionary.json").string(), "-o", At("de.pld").string()});
  EXPECT_EQ(build.code, 1);
  EXPECT_EQ(build.err, findings + "  " + de + ": 1 error, 1 warning\nlxpo: " +
                           At("de.pld").string() + ": not written: the checks failed\n");
  EXPECT_FALSE(fs::exists(At("de.pld")));

  // Warnings alone pass, unless --strict.
  po.replace(po.find("msgstr \"%d kopiert\""), 19, "msgstr \"%s kopiert\"");
  Write(At("de.po"), po);
  EXPECT_EQ(Lxpo({"check", de}).code, 0);
  EXPECT_EQ(Lxpo({"check", "--strict", de}).code, 1);
  EXPECT_EQ(Lxpo({"build", At("dictionary.json").string(), "-o", At("de.pld").string()}).code, 0);
}

// A dictionary or a form that cannot be read fails the check, named with the reason.
TEST_F(LxpoTest, TheFitCheckNamesWhatItCannotRead) {
  Write(At("MainForm.lxfm"), kForm);
  const Result noDictionary =
      Lxpo({"check", "--fit", At("none.pld").string(), At("MainForm.lxfm").string()});
  EXPECT_EQ(noDictionary.code, 1);
  EXPECT_EQ(noDictionary.err,
            "lxpo: " + At("none.pld").string() + ": cannot be opened: No such file or directory\n");
  Write(At("dictionary.json"), kManifest);
  Write(At("de.po"), kPoHeader);
  ASSERT_EQ(Lxpo({"build", At("dictionary.json").string(), "-o", At("a.pld").string()}).code, 0);
  const Result noForm = Lxpo({"check", "--fit", At("a.pld").string(), At("none.lxfm").string(),
                              At("MainForm.lxfm").string()});
  EXPECT_EQ(noForm.code, 1);
  EXPECT_EQ(noForm.err, "lxpo: " + At("none.lxfm").string() +
                            ": cannot be opened: No such file or directory\n");
  EXPECT_EQ(noForm.out,
            "lxpo: check --fit: failed\n  2 forms, 2 languages, 10 texts, 0 do not fit\n");
}

TEST_F(LxpoTest, UsageErrorsExitWithTwo) {
  EXPECT_EQ(Lxpo({}).code, 2);
  const std::string tryHelp = "\nTry 'lxpo --help'.\n";
  for (const auto& [args, message] :
       {std::pair<std::vector<std::string>, std::string>{{"build", "x.json"}, "-o is required"},
        {{"frobnicate"}, "unknown command frobnicate"},
        {{"--bogus"}, "unknown option --bogus"},
        {{"pseudo", "x.pot", "--bogus", "-o", "y.po"}, "unknown option --bogus"},
        {{"export", "x.pld", "-d", "out", "--format", "xml"},
         "--format takes po, xliff12, xliff20 or ts, not \"xml\""},
        {{"check", "--fit", "x.pld"}, "forms expected after --fit FILE.pld"},
        {{"check", "--fit", "x.pld", "--fit", "y.pld", "F.lxfm"}, "--fit given twice"}}) {
    const Result result = Lxpo(args);
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err, "lxpo: " + message + tryHelp);
  }
  EXPECT_TRUE(Contains(Lxpo({"build", "--help"}).out, "lxpo extract"));
  const Result help = Lxpo({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_TRUE(Contains(help.out, "lxpo extract"));
}

// ---- Translators' round trips: seeded mistakes in every format, and other tools on the files

const std::string kSeededForm = R"(object MainForm: TMainForm
  object MainMenu1: TMainMenu
    object FileItem: TMenuItem
      Caption = '&File'
      object SaveItem: TMenuItem
        Caption = '&Save'
      end
      object SetupItem: TMenuItem
        Caption = 'Se&tup'
      end
      object EditItem: TMenuItem
        Caption = '&Edit'
      end
    end
  end
  object CopyLabel: TLabel
    Caption = '%s copied'
  end
  object NameLabel: TLabel
    Caption = 'Name %s:'
  end
  object OpenButton: TButton
    Caption = '&Open'
  end
  object NoteLabel: TLabel
    Caption = ' Note'
  end
  object SizeLabel: TLabel
    Caption = 'Size '
  end
  object CloseButton: TButton
    Caption = 'Close'
  end
  object BreakLabel: TLabel
    Caption = 'One'#10'two'
  end
end
)";

struct Seeded {
  std::string id;
  std::string clean;
  std::string mistaken;
  /// "error" or "warning"; the clash is reported on the second item.
  std::string kind;
};

const std::vector<Seeded> kSeeded = {
    {"FileItem", "&Datei", "&Datei", ""},
    {"SaveItem", "&Speichern", "&Speichern", ""},
    {"SetupItem", "&Einrichten", "&Setup", "warning"},
    {"EditItem", "&Bearbeiten", "&Bearb&eiten", "error"},
    {"CopyLabel", "%s kopiert", "%d kopiert", "error"},
    {"NameLabel", "Name %s:", "Name:", "error"},
    {"OpenButton", "Ö&ffnen", "Öffnen", "error"},
    {"NoteLabel", " Notiz", "Notiz", "warning"},
    {"SizeLabel", "Größe ", "Größe", "warning"},
    {"CloseButton", "Schließen", "Закрыть", "error"},
    {"BreakLabel", "Eins\nzwei", "Eins zwei", "warning"},
};

// The line that the unit or message of `id` starts on in `text`: the last `opener` before
// the key.
int UnitLine(const std::string& text, const std::string& id, const std::string& opener) {
  const std::size_t key = text.find("TMainForm|" + id);
  const std::size_t start = text.rfind(opener, key);
  return static_cast<int>(std::count(text.begin(), text.begin() + start, '\n')) + 1;
}

class RoundTripTest : public LxpoTest {
 protected:
  // de.po translated from the template of kSeededForm, `mistaken` or clean, with de.xlf,
  // de.xliff and de.ts written from it, and a manifest for each.
  void WriteTranslations(bool mistaken) {
    Write(At("MainForm.lxfm"), kSeededForm);
    ASSERT_EQ(Lxpo({"extract", "--no-framework", At("MainForm.lxfm").string(), "-o",
                    At("messages.pot").string()})
                  .code,
              0);
    PoReadCounts counts;
    std::vector<PoEntry> entries = ReadPo(At("messages.pot").string(), counts);
    for (PoEntry& entry : entries) {
      for (const Seeded& seeded : kSeeded) {
        if (entry.id == seeded.id) entry.msgstr = mistaken ? seeded.mistaken : seeded.clean;
      }
    }
    Write(At("de.po"), WritePo(entries, "de"));
    Write(At("de.xlf"), WriteXliff(entries, "en", "de", XliffVersion::k12));
    Write(At("de.xliff"), WriteXliff(entries, "en", "de", XliffVersion::k20));
    Write(At("de.ts"), WriteTs(entries, "en", "de"));
    for (const std::string name : {"de.po", "de.xlf", "de.xliff", "de.ts"}) {
      std::string manifest = kManifest;
      manifest.replace(manifest.find("\"de.po\""), 7, "\"" + name + "\"");
      Write(At(name + ".json"), manifest);
    }
  }
};

TEST_F(RoundTripTest, SeededMistakesAreCaughtInEveryFormatWithFileAndLine) {
  WriteTranslations(true);
  for (const auto& [name, opener] : {std::pair<std::string, std::string>{"de.po", "msgctxt"},
                                     {"de.xlf", "<trans-unit"},
                                     {"de.xliff", "<unit"},
                                     {"de.ts", "<message>"}}) {
    const std::string path = At(name).string();
    const std::string text = Read(path);
    const Result check = Lxpo({"check", At(name + ".json").string()});
    EXPECT_EQ(check.code, 1) << name;
    for (const Seeded& seeded : kSeeded) {
      if (seeded.kind.empty()) continue;
      const std::string finding = path + ":" + std::to_string(UnitLine(text, seeded.id, opener)) +
                                  ": " + seeded.kind + ": msgctxt \"TMainForm|" + seeded.id + "\"";
      EXPECT_TRUE(Contains(check.err, finding)) << finding << "\n" << check.err;
    }
    EXPECT_EQ(check.out, "lxpo: check: failed\n  " + path + ": 5 errors, 4 warnings\n");
    const Result build = Lxpo({"build", At(name + ".json").string(), "-o", At("de.pld").string()});
    EXPECT_EQ(build.code, 1) << name;
    EXPECT_FALSE(fs::exists(At("de.pld")));
  }
}

TEST_F(RoundTripTest, CleanFilesPassAndEveryFormatBuildsTheSameImage) {
  WriteTranslations(false);
  std::string image;
  for (const std::string name : {"de.po", "de.xlf", "de.xliff", "de.ts"}) {
    const Result check = Lxpo({"check", "--strict", At(name + ".json").string()});
    EXPECT_EQ(check.code, 0) << name << check.err;
    const Result build = Lxpo({"build", At(name + ".json").string(), "-o", At("de.pld").string()});
    ASSERT_EQ(build.code, 0) << name << build.err;
    EXPECT_TRUE(Contains(build.err, ": 11 translated, 0 untranslated")) << build.err;
    if (image.empty()) image = Read(At("de.pld"));
    EXPECT_EQ(Read(At("de.pld")), image) << name;
  }
  // Exported in each format and built again: every key and text comes back.
  for (const std::string format : {"po", "xliff12", "xliff20", "ts"}) {
    const fs::path out = At("out-" + format);
    fs::create_directory(out);
    const Result exported = Lxpo({"export", At("de.pld").string(), "-d", out.string(), "--format",
                                  format, "--template", At("messages.pot").string()});
    ASSERT_EQ(exported.code, 0) << exported.err;
    const Result rebuilt =
        Lxpo({"build", (out / "dictionary.json").string(), "-o", (out / "again.pld").string()});
    ASSERT_EQ(rebuilt.code, 0) << format << rebuilt.err;
    EXPECT_EQ(Read(out / "again.pld"), image) << format;
  }
}

TEST_F(RoundTripTest, ExportWithATemplateKeepsEveryCommentAndReferenceAndMsgcatKeepsTheBytes) {
  WriteTranslations(false);
  // The template's author adds a translator comment and flags of gettext's own.
  std::string pot = Read(At("messages.pot"));
  const std::size_t copyLabel = pot.find("msgctxt \"TMainForm|CopyLabel\"");
  ASSERT_NE(copyLabel, std::string::npos);
  pot.replace(pot.rfind("#, object-pascal-format\n", copyLabel), 24,
              "#, c-format, object-pascal-format, range: 0..10\n");
  pot.insert(pot.rfind("\n\n", copyLabel) + 2, "# Keep it short.\n");
  Write(At("messages.pot"), pot);
  ASSERT_EQ(Lxpo({"build", At("de.po.json").string(), "-o", At("de.pld").string()}).code, 0);
  fs::create_directory(At("out"));
  ASSERT_EQ(Lxpo({"export", At("de.pld").string(), "-d", At("out").string(), "--template",
                  At("messages.pot").string()})
                .code,
            0);
  const std::string exported = Read(At("out/de.po"));
  std::istringstream lines(Read(At("messages.pot")));
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("#") || line.starts_with("msgctxt")) {
      EXPECT_TRUE(Contains(exported, line + "\n")) << line;
    }
  }
  EXPECT_TRUE(Contains(exported, "\"Language: de\\n\"\n"));
  EXPECT_TRUE(Contains(exported, "\"X-Generator: lxpo "));
  ASSERT_EQ(Lxpo({"pseudo", At("messages.pot").string(), "-o", At("qps.po").string()}).code, 0);
  for (const std::string name : {"messages.pot", "out/de.po", "out/messages.pot", "qps.po"}) {
    int status = 0;
    const std::string again = Shell("msgcat '" + At(name).string() + "'", status);
    EXPECT_EQ(status, 0) << again;
    EXPECT_EQ(again, Read(At(name))) << name;
  }
  // A size flag of the template stays without --size-flags, and the form's rooms stay out.
  pot.replace(pot.find("range: 0..10\n"), 13, "range: 0..10, max-size:40\n");
  Write(At("sized.pot"), pot);
  fs::create_directory(At("sized"));
  ASSERT_EQ(Lxpo({"export", At("de.pld").string(), "-d", At("sized").string(), "--template",
                  At("sized.pot").string(), "--form", At("MainForm.lxfm").string()})
                .code,
            0);
  EXPECT_TRUE(Contains(Read(At("sized/de.po")),
                       "#, c-format, object-pascal-format, range: 0..10, max-size:40\n"));
  // With --size-flags, the room measured in the form takes its place.
  ASSERT_EQ(Lxpo({"export", At("de.pld").string(), "-d", At("sized").string(), "--template",
                  At("sized.pot").string(), "--size-flags", "--form", At("MainForm.lxfm").string()})
                .code,
            0);
  const std::string sized = Read(At("sized/de.po"));
  EXPECT_TRUE(Contains(sized, "#, c-format, object-pascal-format, range: 0..10, max-size:"))
      << sized;
  EXPECT_FALSE(Contains(sized, "max-size:40")) << sized;
}

// Qt's tools and translate-toolkit on the files lxpo writes, and lxpo on theirs.
TEST_F(RoundTripTest, QtAndTranslateToolkitReadAndWriteTheExchangeFiles) {
  int status = 0;
  if (Shell("command -v po2xliff xliff2po pofilter", status), status != 0)
    GTEST_SKIP() << "translate-toolkit is not installed (make test installs it)";
  if (!fs::exists(LX_LCONVERT) || !fs::exists(LX_LRELEASE))
    GTEST_SKIP() << "Qt's lconvert and lrelease are not installed (make test installs them)";
  WriteTranslations(false);
  ASSERT_EQ(Lxpo({"build", At("de.po.json").string(), "-o", At("de.pld").string()}).code, 0);
  const std::string image = Read(At("de.pld"));
  const std::string lconvert = std::string(LX_LCONVERT) + " -i '";
  // TS and XLIFF 1.2 through lconvert to PO; PO through lconvert to XLIFF 1.2 and TS.
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"de.ts", "qt-ts.po"},
                                 {"de.xlf", "qt-xlf.po"},
                                 {"de.po", "qt.xlf"},
                                 {"de.po", "qt.ts"}}) {
    const std::string output =
        Shell(lconvert + At(from).string() + "' -o '" + At(to).string() + "'", status);
    ASSERT_EQ(status, 0) << output;
    std::string manifest = kManifest;
    manifest.replace(manifest.find("\"de.po\""), 7, "\"" + to + "\"");
    Write(At("qt.json"), manifest);
    const Result build = Lxpo({"build", At("qt.json").string(), "-o", At("qt.pld").string()});
    ASSERT_EQ(build.code, 0) << to << build.err;
    EXPECT_EQ(Read(At("qt.pld")), image) << to;
  }
  const std::string lrelease = Shell(std::string(LX_LRELEASE) + " '" + At("de.ts").string() +
                                         "' -qm '" + At("de.qm").string() + "'",
                                     status);
  EXPECT_EQ(status, 0) << lrelease;
  EXPECT_TRUE(Contains(lrelease, "Generated 11 translation(s) (11 finished")) << lrelease;

  // translate-toolkit reads lxpo's XLIFF with every text; lxpo reads its XLIFF with the line.
  const std::string xliff2po = Shell("xliff2po --progress=none -i '" + At("de.xlf").string() +
                                         "' -o '" + At("tt.po").string() + "'",
                                     status);
  ASSERT_EQ(status, 0) << xliff2po;
  EXPECT_TRUE(Contains(Read(At("tt.po")), "msgid \"%s copied\"\nmsgstr \"%s kopiert\"\n"));
  WriteTranslations(true);
  Shell("po2xliff --progress=none -i '" + At("de.po").string() + "' -o '" + At("tt.xlf").string() +
            "'",
        status);
  ASSERT_EQ(status, 0);
  const Result check = Lxpo({"check", At("tt.xlf").string()});
  EXPECT_EQ(check.code, 1);
  EXPECT_TRUE(Contains(check.err, At("tt.xlf").string() + ":")) << check.err;
  // pofilter sees the seeded hot keys, placeholders and blanks too.
  const std::string pofilter =
      Shell("pofilter --progress=none --wx -t accelerators -t printf -t startwhitespace '" +
                At("de.po").string() + "'",
            status);
  for (const char* test :
       {"(pofilter) accelerators", "(pofilter) printf", "(pofilter) startwhitespace"})
    EXPECT_TRUE(Contains(pofilter, test)) << pofilter;
}

TEST_F(LxpoTest, BadExchangeFilesNameTheirLine) {
  Write(At("dictionary.json"), kManifest);
  for (const auto& [name, text, message] :
       {std::tuple<std::string, std::string, std::string>{
            "de.xlf", "<?xml version=\"1.0\"?>\n<xliff version=\"1.2\">\n<file>\n</xliff>\n",
            ":4: Opening and ending tag mismatch: file line 3 and xliff"},
        {"de.ts", "<TS>\n<context>\n<message><source>a &amp b</source>", ":3: "},
        {"de.xliff", "<xliff version=\"3.0\"/>\n", ":1: not an XLIFF 1.2 or 2.0 file"},
        {"de.ts", "<?xml version=\"1.0\"?>\n<ts/>\n", ":2: not a TS file"},
        {"de.ts",
         "<TS>\n<context><name></name>\n<message>\n<source>a</source><comment>TForm</comment>"
         "</message></context></TS>\n",
         ":3: the key \"TForm\" does not parse: \"context|id\" expected"}}) {
    Write(At(name), text);
    const Result check = Lxpo({"check", At(name).string()});
    EXPECT_EQ(check.code, 1) << name;
    EXPECT_TRUE(check.err.starts_with("lxpo: " + At(name).string() + message)) << check.err;
  }
}

}  // namespace
}  // namespace lx::tools
