// The fit check on forms whose controls are planted a few pixels wider and narrower than
// their translations need, in a left-to-right, a right-to-left and a far-east language.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "lxpld/PldJson.h"
#include "lxpo/FitCheck.h"
#include "pldimage/PldImage.h"
#include "support/TempFolder.h"

namespace lx::tools {
namespace {

namespace fs = std::filesystem;

// Native, German, Hebrew (its own font), Japanese (the form scales by 150 %).
constexpr char kDictionary[] = R"json({"version": 3, "textWidth": 8, "contentFlags": 0,
  "languages": [
    {"primaryLanguage": 0, "codePage": 1252, "englishName": "English", "nativeName": "English"},
    {"primaryLanguage": 7, "subLanguage": 1, "isoLanguage": "de", "codePage": 1252,
     "englishName": "German", "nativeName": "Deutsch"},
    {"primaryLanguage": 13, "subLanguage": 1, "isoLanguage": "he", "codePage": 1255,
     "englishName": "Hebrew", "nativeName": "Hebrew", "fontName": "DejaVu Sans", "fontSize": 10},
    {"primaryLanguage": 17, "subLanguage": 1, "isoLanguage": "ja", "codePage": 932,
     "englishName": "Japanese", "nativeName": "Japanese"}],
  "translations": [
    {"texts": ["&Save all", "&Alle speichern", "&שמור הכל", "すべて保存(&S)"]
},
    {"texts": ["Regional settings:", "Regionale Einstellungen:", "הגדרות אזוריות:", "地域の設定:"]},
    {"texts": ["&Remember me", "&Angemeldet bleiben", "&זכור אותי", "ログイン状態を保持(&R)"]},
    {"texts": ["First", "Erste Zeile", "שורה ראשונה", "最初の行"]},
    {"texts": ["Second", "Zweite Zeile", "שורה שנייה", "二番目の行"]},
    {"texts": ["Third", "Dritte Zeile", "שורה שלישית", "三番目の行"]},
    {"texts": ["&File", "&Datei mit einem sehr langen Menütext, der wächst", "&קובץ", "ファイル(&F)"]}]
})json";

struct Planted {
  const char* name;
  const char* className;
  const char* text;  // the native text; a list box holds the three lines
  int insets;        // left and right (a list: top and bottom)
};

const std::vector<Planted> kControls = {
    {"Button", "TButton", "&Save all", 10},
    {"Label", "TLabel", "Regional settings:", 0},
    {"Check", "TCheckBox", "&Remember me", 24},
    {"List", "TListBox", "", 2},
};

struct Language {
  int index;
  const char* name;
  std::vector<std::string> texts;  // per planted control; the list's three lines
  TextFont font;
  bool rightToLeft;
  int scale;  // percent
};

const std::vector<Language> kLanguages = {
    {1,
     "German",
     {"Alle speichern", "Regionale Einstellungen:", "Angemeldet bleiben", "Erste Zeile",
      "Zweite Zeile", "Dritte Zeile"},
     {"MS Sans Serif", 8},
     false,
     100},
    {2,
     "Hebrew",
     {"שמור הכל", "הגדרות אזוריות:", "זכור אותי", "שורה ראשונה", "שורה שנייה", "שורה שלישית"},
     {"DejaVu Sans", 10},
     true,
     100},
    // 8 points scaled by 150 %.
    {3,
     "Japanese",
     {"すべて保存(S)", "地域の設定:", "ログイン状態を保持(R)", "最初の行", "二番目の行",
      "三番目の行"},
     {"MS Sans Serif", 12},
     false,
     150},
};

// The designed size that the language's scale turns into `scaled` pixels.
int Designed(int scaled, int scale) {
  return static_cast<int>(std::lround(scaled * 100.0 / scale));
}

std::string ControlText(const Planted& control, int left, int top, int width, int height) {
  std::string text = "  object " + std::string(control.name) + ": " + control.className + "\n" +
                     "    Left = " + std::to_string(left) + "\n    Top = " + std::to_string(top) +
                     "\n    Width = " + std::to_string(width) +
                     "\n    Height = " + std::to_string(height) + "\n";
  if (std::string(control.className) == "TListBox")
    text += "    Items.Strings = (\n      'First'\n      'Second'\n      'Third')\n";
  else
    text += "    Caption = '" + std::string(control.text) + "'\n";
  return text + "  end\n";
}

// A form whose "Fit..." controls have 3 pixels more than the language's texts need and whose
// "Cut..." controls 3 pixels less; a menu whose German text is far too long.
std::string PlantedForm(const Language& language) {
  const TextMeasure measure;
  std::string form =
      "object FitForm: TFitForm\n  Width = 600\n  Height = 400\n  AutoScroll = False\n"
      "  Menu = MainMenu\n";
  int top = 8;
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    const Planted& control = kControls[i];
    const bool list = std::string(control.className) == "TListBox";
    int needed = 0;
    if (list) {
      for (std::size_t line = 3; line < 6; ++line)
        needed = std::max(
            needed,
            measure.Measure(language.texts[line], language.font, language.rightToLeft).height + 6);
      needed *= 3;
    } else {
      needed = measure.Measure(language.texts[i], language.font, language.rightToLeft).width;
    }
    for (const int margin : {3, -3}) {
      Planted named = control;
      const std::string name = (margin > 0 ? "Fit" : "Cut") + std::string(control.name);
      named.name = name.c_str();
      const int room = Designed(needed + control.insets + margin, language.scale);
      form += list ? ControlText(named, 8, top, 200, room) : ControlText(named, 8, top, room, 40);
      top += list ? room + 8 : 48;
    }
  }
  form +=
      "  object MainMenu: TMainMenu\n    object FileMenu: TMenuItem\n"
      "      Caption = '&File'\n    end\n  end\n"
      "  object Translator: TLxTranslator\n    MultiByteScale = 150\n  end\nend\n";
  return form;
}

TEST(FitCheckTest, ReportsExactlyTheControlsWhoseTextIsCut) {
  const support::TempFolder folder;
  const fs::path dictionary = folder.Path() / "planted.pld";
  const std::vector<std::uint8_t> image = WritePldImageInKeyOrder(ImageFromJson(kDictionary));
  std::ofstream(dictionary, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
  for (const Language& language : kLanguages) {
    SCOPED_TRACE(language.name);
    const fs::path form = folder.Path() / (std::string(language.name) + ".lxfm");
    std::ofstream(form) << PlantedForm(language);
    const FitSummary summary = CheckFit(dictionary.string(), {{form.string(), "Planted.lxfm"}}, {});
    ASSERT_TRUE(summary.failures.empty()) << summary.failures.front();
    EXPECT_EQ(summary.languages, 4);
    std::set<std::string> cut;
    for (const FitFinding& finding : summary.findings) {
      if (finding.language == language.name) cut.insert(finding.path + " " + finding.dimension);
    }
    EXPECT_EQ(cut, (std::set<std::string>{
                       "FitForm.CutButton.Caption width", "FitForm.CutLabel.Caption width",
                       "FitForm.CutCheck.Caption width", "FitForm.CutList.Items[2] height"}));
  }
}

// Each text notes its picture in the language; texts of controls their room there too, and
// menus (which grow) none.
TEST(FitCheckTest, NotesNameThePictureAndTheRoomInTheLanguage) {
  const support::TempFolder folder;
  const fs::path dictionary = folder.Path() / "planted.pld";
  const std::vector<std::uint8_t> image = WritePldImageInKeyOrder(ImageFromJson(kDictionary));
  std::ofstream(dictionary, std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
  const Language& japanese = kLanguages.back();
  const fs::path form = folder.Path() / "Planted.lxfm";
  std::ofstream(form) << PlantedForm(japanese);
  const std::vector<FormNote> notes =
      FormNotes({form.string(), "Planted.lxfm"}, dictionary.string(), japanese.index, {}, 1252);
  std::map<std::string, std::vector<std::string>> byComponent;
  for (const FormNote& note : notes) {
    EXPECT_EQ(note.context, "TFitForm");
    std::vector<std::string> lines = note.comments;
    lines.insert(lines.end(), note.flags.begin(), note.flags.end());
    byComponent[note.id + " " + note.msgid] = lines;
  }
  const std::vector<std::string> menu = {"picture: Planted.ja_JP.png"};
  EXPECT_EQ(byComponent["FileMenu &File"], menu);
  const std::vector<std::string>& button = byComponent["FitButton &Save all"];
  ASSERT_EQ(button.size(), 3u);
  EXPECT_EQ(button[0], "picture: Planted.ja_JP.png");
  // The room scaled by 150 %, in the scaled font.
  EXPECT_TRUE(button[1].ends_with(" px, MS Sans Serif 12")) << button[1];
  EXPECT_TRUE(button[2].starts_with("max-size:")) << button[2];
}

TEST(FitCheckTest, AFindingNamesFormPathLanguagePixelsAndText) {
  const FitFinding finding{"Main.lxfm", "Main.Label.Caption",     "Russian", "width", 142,
                           120,         "Региональные параметры:"};
  EXPECT_EQ(FitFindingText(finding),
            "Main.lxfm: error: Main.Label.Caption: Russian: width 142 px needed, 120 px "
            "available: \"Региональные параметры:\"");
}

TEST(FitCheckTest, RoomsForTranslatorsSayWidthHeightFontAndLines) {
  struct Case {
    TextRoom room;
    const char* comment;
    const char* flag;
  };
  const std::vector<Case> cases = {
      {{65, 23, 1, false, {"Tahoma", 8}}, "room: 65 x 23 px, Tahoma 8", "max-size:65"},
      {{274, 118, 7, true, {"MS Sans Serif", 10}},
       "room: 274 x 118 px, MS Sans Serif 10, 7 lines",
       "max-size:274:7"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RoomComment(c.room), c.comment);
    EXPECT_EQ(RoomFlag(c.room), c.flag);
  }
}

}  // namespace
}  // namespace lx::tools
