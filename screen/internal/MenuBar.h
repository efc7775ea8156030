// A form's main menu as a GTK menu bar: captions with their mnemonics, the shortcut texts of
// ShortCutToText beside them (in the user's language when a translation hooks it), the keys
// themselves as accelerators, check marks, disabled and hidden items, separators.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

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

/// Fills the empty `bar` from `menu`, whose captions are in `codePage` unless `itemCodePage`
/// says other; activated items report to `sink` with the item as key, shortcut keys go
/// through `accelerators`.
void BuildMenuBar(GtkWidget* bar, GtkAccelGroup* accelerators, const framework::TMenu& menu,
                  unsigned codePage, bool rightToLeft, TInputSink& sink,
                  const TMenuTextCodePage& itemCodePage = {});

/// The GDK key and modifiers of a shortcut; false for a key GDK has no name for here.
bool ShortCutToAccelerator(framework::TShortCut shortCut, guint& key, GdkModifierType& mods);

}  // namespace lx::screen
#pragma GCC visibility pop
