// probe's main window: a small locale probe.
//
// It shows the active language and locale, today's date and the time, a
// number and a currency amount in the run-time's formats, the dictionary's
// languages in their own names and a short note. Its texts come from the form
// resource "TPROBEFORM" and are translated by its translator, which finds the
// program's dictionary "Dictionary1".
//
// Its Language menu lists the dictionary's languages in their own names, each
// in its own script and code page (see `CaptionCodePage`), the active one checked; choosing one
// switches the running window (texts, reading direction, mirroring, fonts) and stores the choice
// for the next start.
#pragma once

#include <string>

#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "translator/LxPoly.h"

namespace lx::app {

class TProbeForm : public framework::TForm {
  LX_CLASS(TProbeForm, framework::TForm)

 public:
  explicit TProbeForm(framework::TComponent* owner) : TForm(owner) {}

  translator::TLxTranslator* Translator() const;
  /// The code page of the window's texts: the active language's, or 1252
  /// while no dictionary is open.
  int TextCodePage() const;

  /// The start routine: sets the language up, translates the window, shows
  /// it, fills in its values and installs the hand cursor. Never raises.
  void StartUp();
  /// Fills in the values that the window shows, the Language menu among them.
  void InitializeContent();

  /// The top item whose items are the dictionary's languages.
  framework::TMenuItem* LanguageMenu() const;
  /// The code page of a menu item's caption: an item of the Language menu
  /// holds its language's own name in that language's code page, every other
  /// caption is in `TextCodePage`.
  int CaptionCodePage(const framework::TMenuItem& item) const;
  /// Switches the window to the language at `position` and stores the
  /// choice; what the Language menu's items do. Never raises.
  void SelectLanguage(int position);

 private:
  void BuildLanguageMenu();
  void UpdateLanguageMenu();
  void ConnectCommands();

  std::string nativeNotes_;
  bool notesRead_ = false;
};

/// Registers the classes that the window's form resource names.
void RegisterProbeClasses();

/// Puts the cursor resource "MANO" in place of the hand-point cursor; false
/// when the program carries no such resource.
bool InstallHandCursor();
/// True when the hand-point cursor is the one `InstallHandCursor` put in place.
bool HandCursorInstalled();

}  // namespace lx::app
