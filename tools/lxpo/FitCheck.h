// Every text of a form measured against the room its control gives it, in each language of a
// dictionary, in the font the control has in that language.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "TextMeasure.h"
#include "formtools/FormBatch.h"
#include "framework/controls/Controls.h"

namespace lx::tools {

/// The room of a control's text: the control's bounds less what the screen layer draws around
/// the text (framework::TextInsetsOf), in the control's font.
struct TextRoom {
  int width = 0;
  int height = 0;
  /// The lines that fit: 1 for a single-line text, the lines of a list or memo.
  int lines = 1;
  /// Whether the text wraps to more lines (a memo); else each line is one text (a list).
  bool wraps = false;
  TextFont font;
};

/// The room `control` gives its text; none for a control whose text is never cut (edits,
/// containers), one without a width or height (the program sizes it) or no control. `measure` gives
/// the line height of lists and memos.
std::optional<TextRoom> RoomOf(const framework::TObject* control, const TextMeasure& measure);

/// "room: 65 x 23 px, MS Sans Serif 8" (", 7 lines" for a memo or list), for translators.
std::string RoomComment(const TextRoom& room);
/// The flag translation platforms read: "max-size:65", "max-size:274:7" for a memo.
std::string RoomFlag(const TextRoom& room);

/// One text that does not fit.
struct FitFinding {
  std::string form;
  /// "ProbeForm.LocaleLabel.Caption", "ProbeForm.LanguageList.Items[5]".
  std::string path;
  /// The English name of the language.
  std::string language;
  /// "width" or "height".
  std::string dimension;
  int needed = 0;
  int available = 0;
  /// UTF-8.
  std::string text;
  bool operator==(const FitFinding&) const = default;
};

/// What `CheckFit` did.
struct FitSummary {
  std::vector<FitFinding> findings;
  int forms = 0;
  int languages = 0;
  int texts = 0;
  /// One line for each form that could not be read or translated.
  std::vector<std::string> failures;
};

/// Translates every form of `forms` into each language of the dictionary image
/// `dictionaryFile` with the form's own translator (fonts, far-east scaling and mirroring as
/// the program gets them) and measures each text of its labels, buttons, check and radio
/// buttons, group boxes, panels, list and combo box lines and memos against its room. Menus
/// grow with their texts and are never cut. Raises ToolFileError for a dictionary that
/// cannot be used.
FitSummary CheckFit(const std::string& dictionaryFile, const std::vector<TFormFile>& forms,
                    const TFormOptions& options);

/// What a text of a form tells its translator in one language: the picture it is on and the
/// room it has there.
struct FormNote {
  /// The key: the form's class, the component's name and the native text (UTF-8).
  std::string context;
  std::string id;
  std::string msgid;
  /// "picture: Main.de_DE.png", "room: ..."
  std::vector<std::string> comments;
  /// "max-size:..."
  std::vector<std::string> flags;
};

/// The notes of every text of the form `file` translated into `language` of the dictionary
/// image `dictionaryFile` (whose native texts are in `textCodePage`), in the translator's
/// order. Raises what reading the form or the dictionary raises.
std::vector<FormNote> FormNotes(const TFormFile& file, const std::string& dictionaryFile,
                                int language, const TFormOptions& options, int textCodePage);

/// "ProbeForm.lxfm: error: ProbeForm.LocaleLabel.Caption: Russian: width 141 px needed, 120 px
/// available: \"Региональные параметры:\"".
std::string FitFindingText(const FitFinding& finding);

}  // namespace lx::tools
