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

/// A drop-down menu's widgets that follow the reading direction: the menu and its items with
/// their rows and labels, not those of the drop-downs nested in it. GTK restyles each widget
/// given a new direction, so they turn only when the drop-down is about to show.
struct TMenuDropDown {
  GtkWidget* menu = nullptr;
  std::vector<GtkWidget*> directed;
  bool rightToLeft = false;       // the direction the widgets were last given
  bool wantsRightToLeft = false;  // the bar's direction, which they take when shown
};

/// The widgets of a built bar that a new language changes, in the order of the items.
struct TMenuBarParts {
  std::vector<GtkWidget*> captions;   // one per shown item but lines
  std::vector<GtkWidget*> shortcuts;  // the shortcut text beside each caption, or null
  std::vector<GtkWidget*> directed;   // the bar and its items: they turn at once
  // Shared with the menus' "show" handlers, which may outlive these parts.
  std::vector<std::shared_ptr<TMenuDropDown>> dropDowns;
  bool rightToLeft = false;
};

/// Fills the empty `bar` from `menu`, whose captions are in `codePage` unless `itemCodePage`
/// says other; activated items report to `sink` with the item as key, shortcut keys go
/// through `accelerators`. The widgets a new language changes go to `parts` when given.
void BuildMenuBar(GtkWidget* bar, GtkAccelGroup* accelerators, const framework::TMenu& menu,
                  unsigned codePage, bool rightToLeft, TInputSink& sink,
                  const TMenuTextCodePage& itemCodePage = {}, TMenuBarParts* parts = nullptr);

/// Brings the texts and direction of a bar built from `menu` up to date, where `menu` still
/// has the shape the bar was built with. A drop-down that is not showing takes the new
/// direction when it next shows.
void UpdateMenuBar(TMenuBarParts& parts, const framework::TMenu& menu, unsigned codePage,
                   bool rightToLeft, const TMenuTextCodePage& itemCodePage = {});

/// The GDK key and modifiers of a shortcut; false for a key GDK has no name for here.
bool ShortCutToAccelerator(framework::TShortCut shortCut, guint& key, GdkModifierType& mods);

}  // namespace lx::screen
#pragma GCC visibility pop
