#include "FitCheck.h"

#include <algorithm>
#include <functional>

#include "dict/LxBinDic.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/TextRoom.h"
#include "lang/LxLanguageIds.h"
#include "platform/CodePages.h"
#include "pldimage/PldText.h"
#include "toolfiles/ToolFiles.h"
#include "translator/LxPoly.h"
#include "translator/LxTargetProperties.h"

namespace lx::tools {
namespace {

using framework::TControl;
using framework::TTextRoomKind;

constexpr std::size_t kMaxFormSize = 64u << 20;

TextFont FontOf(const TControl& control) {
  const framework::TFont& font = *control.Font();
  TextFont result;
  result.family = font.Name();
  result.points = font.Size() > 0 ? font.Size() : 8;
  result.bold = font.Style().Contains(framework::fsBold);
  result.italic = font.Style().Contains(framework::fsItalic);
  return result;
}

// "Form.Panel.Button": through the parent controls, as the PO notes name components.
std::string PathOf(const framework::TComponent& root, const TControl& control) {
  std::vector<std::string> names;
  for (const TControl* at = &control; at != nullptr && at != &root; at = at->Parent())
    names.push_back(at->Name());
  std::string path = root.Name();
  for (auto name = names.rbegin(); name != names.rend(); ++name)
    path += "." + *name;
  return path;
}

// One text of a control and the property that holds it.
struct ShownText {
  std::string property;
  std::string text;  // 8-bit, in the language's code page
};

std::vector<ShownText> TextsOf(const TControl& control, TTextRoomKind kind) {
  std::vector<ShownText> texts;
  auto lines = [&texts](const framework::TStrings* strings, const std::string& property) {
    for (int i = 0; strings != nullptr && i < strings->Count(); ++i)
      texts.push_back({property + "[" + std::to_string(i) + "]", strings->Strings(i)});
  };
  switch (kind) {
    case TTextRoomKind::ListBox:
      lines(static_cast<const framework::TCustomListBox&>(control).Items(), "Items");
      break;
    case TTextRoomKind::ComboBox:
      lines(static_cast<const framework::TCustomComboBox&>(control).Items(), "Items");
      break;
    case TTextRoomKind::Memo: {
      const framework::TStrings* memoLines =
          static_cast<const framework::TCustomMemo&>(control).Lines();
      std::string text;
      for (int i = 0; i < memoLines->Count(); ++i)
        text += (i > 0 ? "\n" : "") + memoLines->Strings(i);
      if (!text.empty()) texts.push_back({"Lines", text});
      break;
    }
    case TTextRoomKind::Panel:
      if (!control.Caption().empty()) texts.push_back({"Caption", control.Caption()});
      break;
    case TTextRoomKind::None:
      break;
    default:
      if (!control.Caption().empty())
        texts.push_back({"Caption", framework::ShownCaption(control.Caption())});
  }
  return texts;
}

struct FormPass {
  const std::string& form;
  const std::string& language;
  int codePage;
  bool rightToLeft;
  const TextMeasure& measure;
  FitSummary& summary;
};

void Report(FormPass& pass, const std::string& path, const char* dimension, int needed,
            int available, const std::string& utf8) {
  pass.summary.findings.push_back(
      {pass.form, path, pass.language, dimension, needed, available, utf8});
}

void CheckControl(FormPass& pass, const framework::TComponent& root, const TControl& control) {
  const TTextRoomKind kind = framework::TextRoomKindOf(control);
  const std::optional<TextRoom> room = RoomOf(&control, pass.measure);
  if (!room) return;
  const std::string path = PathOf(root, control);
  int rowHeight = 0;
  int rows = 0;
  std::string firstCut;
  for (const ShownText& shown : TextsOf(control, kind)) {
    const std::string utf8 = detail::Utf16ToUtf8(
        platform::MultiByteToWide(shown.text, static_cast<platform::CodePage>(pass.codePage)));
    const std::string where = path + "." + shown.property;
    ++pass.summary.texts;
    const TextExtent extent =
        pass.measure.Measure(utf8, room->font, pass.rightToLeft, room->wraps ? room->width : 0);
    if (!room->wraps && extent.width > room->width)
      Report(pass, where, "width", extent.width, room->width, utf8);
    if (kind == TTextRoomKind::ListBox) {
      rowHeight = std::max(rowHeight, extent.height + framework::TextInsetsOf(kind).lineExtra);
      if (++rows * rowHeight > room->height && firstCut.empty()) firstCut = where + "\n" + utf8;
    } else if (kind != TTextRoomKind::ComboBox && extent.lines > room->lines &&
               extent.height > room->height) {
      Report(pass, where, "height", extent.height, room->height, utf8);
    }
  }
  if (!firstCut.empty()) {
    const std::size_t split = firstCut.find('\n');
    Report(pass, firstCut.substr(0, split), "height", rows * rowHeight, room->height,
           firstCut.substr(split + 1));
  }
}

void CheckComponents(FormPass& pass, const framework::TComponent& root,
                     const framework::TComponent& owner) {
  for (int i = 0; i < owner.ComponentCount(); ++i) {
    const framework::TComponent* component = owner.Components(i);
    if (const auto* control = dynamic_cast<const TControl*>(component))
      CheckControl(pass, root, *control);
    CheckComponents(pass, root, *component);
  }
}

std::string LanguageName(const lang::TLxLanguage& language, int index) {
  if (!language.EnglishName.empty())
    return detail::Utf16ToUtf8(platform::MultiByteToWide(
        language.EnglishName,
        static_cast<platform::CodePage>(language.CodePage == 0 ? 1252 : language.CodePage)));
  return "language " + std::to_string(index);
}

// Lets `use` see the form of `file` as its translator leaves it in `language`.
void WithTranslatedForm(const TFormFile& file, const std::vector<std::uint8_t>& bytes,
                        const std::string& dictionaryFile, int language,
                        const TFormOptions& options,
                        const std::function<void(TToolForm&, const lang::TLxLanguage&)>& use) {
  // Made before the form, so that the form's translator goes while its dictionary is alive.
  dict::TLxBinaryDictionary dictionary(nullptr);
  OpenToolDictionary(dictionary, dictionaryFile, language);
  TToolForm loaded(file.path, bytes, options);
  translator::TLxTranslator& formTranslator = loaded.Translator();
  formTranslator.SetDictionary(&dictionary);
  if (formTranslator.Targets()->Count() == 0) formTranslator.Targets()->AddDefaults();
  // The form as the user sees it, on screen with its window: under lxccNormal the controls
  // in a window take the language's font.
  loaded.Root().HandleNeeded();
  // The whole pass, as the program makes it: texts, fonts, far-east scale, mirroring.
  formTranslator.Open();
  use(loaded, dictionary.CurrentLanguage());
  formTranslator.SetDictionary(nullptr);
}

int CodePageOf(const lang::TLxLanguage& language) {
  return language.CodePage == 0 ? 1252 : language.CodePage;
}

void CheckForm(const TFormFile& file, const std::vector<std::uint8_t>& bytes,
               const std::string& dictionaryFile, int language, const TFormOptions& options,
               const TextMeasure& measure, FitSummary& summary) {
  WithTranslatedForm(file, bytes, dictionaryFile, language, options,
                     [&](TToolForm& loaded, const lang::TLxLanguage& current) {
                       const std::string name = LanguageName(current, language);
                       FormPass pass{file.name,
                                     name,
                                     CodePageOf(current),
                                     current.ScriptClass() == lang::kLxScriptRightToLeft,
                                     measure,
                                     summary};
                       CheckComponents(pass, loaded.Root(), loaded.Root());
                     });
}

int LanguageCount(const std::string& dictionaryFile) {
  dict::TLxBinaryDictionary dictionary(nullptr);
  OpenToolDictionary(dictionary, dictionaryFile, 0);
  return dictionary.GetLanguageCount();
}

}  // namespace

std::optional<TextRoom> RoomOf(const framework::TObject* object, const TextMeasure& measure) {
  const auto* control = dynamic_cast<const TControl*>(object);
  if (control == nullptr) return std::nullopt;
  const TTextRoomKind kind = framework::TextRoomKindOf(*control);
  // A control without a size of its own is sized by the program: it states no room.
  if (kind == TTextRoomKind::None || control->Width() <= 0 || control->Height() <= 0)
    return std::nullopt;
  const framework::TTextInsets insets = framework::TextInsetsOf(kind);
  TextRoom room;
  room.font = FontOf(*control);
  room.width = std::max(0, control->Width() - insets.left - insets.right);
  room.height = std::max(0, control->Height() - insets.top - insets.bottom);
  room.wraps = kind == TTextRoomKind::Memo;
  const int lineHeight = std::max(1, measure.Measure("X", room.font, false).lineHeight);
  if (kind == TTextRoomKind::ListBox)
    room.lines = room.height / (lineHeight + insets.lineExtra);
  else
    room.lines = std::max(1, room.height / lineHeight);
  if (kind == TTextRoomKind::Memo) room.lines = room.height / lineHeight;
  return room;
}

std::string RoomComment(const TextRoom& room) {
  std::string comment = "room: " + std::to_string(room.width) + " x " +
                        std::to_string(room.height) + " px, " + room.font.family + " " +
                        std::to_string(room.font.points);
  if (room.wraps) comment += ", " + std::to_string(room.lines) + " lines";
  return comment;
}

std::string RoomFlag(const TextRoom& room) {
  std::string flag = "max-size:" + std::to_string(room.width);
  if (room.wraps) flag += ":" + std::to_string(room.lines);
  return flag;
}

FitSummary CheckFit(const std::string& dictionaryFile, const std::vector<TFormFile>& forms,
                    const TFormOptions& options) {
  FitSummary summary;
  summary.languages = LanguageCount(dictionaryFile);
  const TextMeasure measure;
  for (const TFormFile& file : forms) {
    ++summary.forms;
    try {
      const std::vector<std::uint8_t> bytes = ReadInputFile(file.path, kMaxFormSize);
      for (int language = 0; language < summary.languages; ++language)
        CheckForm(file, bytes, dictionaryFile, language, options, measure, summary);
    } catch (const ToolFileError& error) {
      summary.failures.push_back(error.Message());
    } catch (...) {
      summary.failures.push_back(FailureLine(file.path));
    }
  }
  return summary;
}

std::vector<FormNote> FormNotes(const TFormFile& file, const std::string& dictionaryFile,
                                int language, const TFormOptions& options, int textCodePage) {
  const std::vector<std::uint8_t> bytes = ReadInputFile(file.path, kMaxFormSize);
  const TextMeasure measure;
  std::vector<FormNote> notes;
  WithTranslatedForm(file, bytes, dictionaryFile, language, options,
                     [&](TToolForm& loaded, const lang::TLxLanguage& current) {
                       const std::string picture =
                           "picture: " + FormPictureName(file.name, current.IsoLanguageName,
                                                         current.IsoCountryName);
                       const translator::TLxTranslatorTable& table = loaded.Translator().Table();
                       for (int i = 0; i < table.Count(); ++i) {
                         const translator::TLxTranslatorTableItem& item = table.Items(i);
                         FormNote note;
                         note.context = loaded.Root().ClassName();
                         note.id = item.ComponentName;
                         note.msgid = detail::Utf16ToUtf8(platform::MultiByteToWide(
                             item.NativeText, static_cast<platform::CodePage>(textCodePage)));
                         note.comments.push_back(picture);
                         if (item.PropertyName != "Hint") {
                           if (const std::optional<TextRoom> room = RoomOf(item.Control, measure)) {
                             note.comments.push_back(RoomComment(*room));
                             note.flags.push_back(RoomFlag(*room));
                           }
                         }
                         notes.push_back(std::move(note));
                       }
                     });
  return notes;
}

std::string FitFindingText(const FitFinding& finding) {
  return finding.form + ": error: " + finding.path + ": " + finding.language + ": " +
         finding.dimension + " " + std::to_string(finding.needed) + " px needed, " +
         std::to_string(finding.available) + " px available: \"" + finding.text + "\"";
}

}  // namespace lx::tools
