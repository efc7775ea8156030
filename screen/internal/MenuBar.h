// A form's main menu as a GTK menu bar: captions with their mnemonics, the shortcut texts of
// ShortCutToText beside them (in the user's language when a translation hooks it), the keys
// themselves as accelerators, check marks, disabled and hidden items, separators.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/Menus.h"
#include "screen/internal/ControlWidgets.h"

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

/// The code page of an item's caption, given the window's; null: the window's for every item.
using TMenuTextCodePage =
    std::function<unsigned(const framework::TMenuItem& item, unsigned windowCodePage)>;

/// Everything the menu bar shows, as one text: the bar is built anew when it changes.
std::string MenuSignature(const framework::TMenu& menu, unsigned codePage, bool rightToLeft,
                          const TMenuTextCodePage& itemCodePage = {});

/// What the bar shows but its texts and reading direction: while it stays the same, a new
/// language changes the built bar in place (UpdateMenuBar) instead of building it anew.
std::string MenuShape(const framework::TMenu& menu);

struct TMenuDropDown;

/// A shown item of a drop-down as it is built when the drop-down first shows: its texts in
/// the language of the moment, kept so that the item itself is never read then.
struct TMenuEntry {
  const void* key = nullptr;  // the item, reported when activated; never read through
  std::string caption;        // UTF-8, with its mnemonic
  std::string shortcut;       // the shortcut text beside the caption, UTF-8; empty for none
  bool line = false;
  bool enabled = true;
  bool checked = false;
  bool radio = false;
  std::shared_ptr<TMenuDropDown> dropDown;  // of an item with items of its own
};

/// A drop-down menu, whose items are built when it first shows, and its widgets that follow
/// the reading direction: the menu and its items with their rows and labels, not those of the
/// drop-downs nested in it. GTK restyles each widget given a new direction, so they turn only
/// when the drop-down is about to show.
struct TMenuDropDown {
  GtkWidget* menu = nullptr;  // null until the drop-down holding it is built
  GtkAccelGroup* accelerators = nullptr;
  TInputSink* sink = nullptr;
  std::vector<TMenuEntry> entries;
  bool built = false;
  std::vector<GtkWidget*> captions;   // once built, one per entry; null for a line
  std::vector<GtkWidget*> shortcuts;  // once built, one per entry; null where none shows
  std::vector<GtkWidget*> directed;
  bool rightToLeft = false;       // the direction the widgets were last given
  bool wantsRightToLeft = false;  // the bar's direction, which they take when shown
};

/// The widgets of a built bar that a new language changes, in the order of the items.
struct TMenuBarParts {
  std::vector<GtkWidget*> captions;   // one per shown item of the bar but lines
  std::vector<GtkWidget*> shortcuts;  // beside each caption: null, the bar shows none
  GtkWidget* bar = nullptr;           // packs its items the way the language reads
  std::vector<GtkWidget*> items;      // the bar's items, which turn at once
  // The drop-downs of the bar's items, in order. Shared with their menus, which may outlive
  // these parts.
  std::vector<std::shared_ptr<TMenuDropDown>> dropDowns;
  bool rightToLeft = false;
};

/// Fills the empty `bar` from `menu`, whose captions are in `codePage` unless `itemCodePage`
/// says other; activated items report to `sink` with the item as key. A drop-down's items are
/// built when it first shows. The shortcut keys of enabled items go on `accelerators` at once
/// and report the same way; they leave it when the bar is destroyed. The widgets a new
/// language changes go to `parts` when given.
void BuildMenuBar(GtkWidget* bar, GtkAccelGroup* accelerators, const framework::TMenu& menu,
                  unsigned codePage, bool rightToLeft, TInputSink& sink,
                  const TMenuTextCodePage& itemCodePage = {}, TMenuBarParts* parts = nullptr);

/// Brings the texts and direction of a bar built from `menu` up to date, where `menu` still
/// has the shape the bar was built with. A drop-down that is not showing takes the new
/// direction when it next shows, one not built yet is built with the new texts.
void UpdateMenuBar(TMenuBarParts& parts, const framework::TMenu& menu, unsigned codePage,
                   bool rightToLeft, const TMenuTextCodePage& itemCodePage = {});

/// Builds the items of `menu`, a drop-down of a bar that BuildMenuBar filled, if it has not
/// shown yet: for those that read what a drop-down would show without opening it. Nothing for
/// any other menu.
void BuildDropDown(GtkWidget* menu);

/// The GDK key and modifiers of a shortcut; false for a key GDK has no name for here.
bool ShortCutToAccelerator(framework::TShortCut shortCut, guint& key, GdkModifierType& mods);

}  // namespace lx::screen
#pragma GCC visibility pop
