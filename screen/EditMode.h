// The edit mode: a translator corrects a text in the window it is shown in.
//
// While an editor is set, Ctrl+Shift+E in a window edits the text of its focused control, and
// Ctrl+Shift+click the text of the control under the pointer (the click goes no further); where
// that control has no text to edit, the window's title is edited. A dialog shows the text's key,
// its native text, its translation and its room, and lets the translation be changed: Save hands it
// to the editor (the dialog stays, with the editor's message, when saving fails), Cancel changes
// nothing. The screen layer knows neither dictionaries nor PO files: the program says, through the
// editor, what a control's text is and where a corrected one goes.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "framework/controls/Controls.h"

namespace lx::screen {

/// A control's text as the edit mode shows it; every text in UTF-8.
struct TEditableText {
  std::string key;  // "context|id"
  std::string native;
  std::string translation;
  std::string room;  // empty when not known
};

struct TTextEditor {
  /// The text of `control` (a form: its caption); nullopt when there is none to edit.
  std::function<std::optional<TEditableText>(framework::TControl& control)> find;
  /// Saves `translation` for `control`; empty when saved, else what went wrong.
  std::function<std::string(framework::TControl& control, const std::string& translation)> save;
};

/// Turns the edit mode on with `editor`, or off with an editor without `find`. Only while
/// installed (Screen.h); Uninstall turns it off.
void SetTextEditor(TTextEditor editor);
bool EditModeOn();
/// Opens the dialog for `control`, as the chord and the click do, and returns when it is
/// closed: true when a translation was saved.
bool EditText(framework::TControl& control);

}  // namespace lx::screen
