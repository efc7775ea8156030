// A list's text cells drawn from shaped lines: GTK's own text cell makes, lays out and measures
// a PangoLayout for every line it draws, in every frame.
#pragma once

#include <gtk/gtk.h>

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

/// A text cell (a GtkCellRendererText, set through its "text" alone) that draws a text of one
/// line as GTK's text cell draws it, from a shaped line in the widget's font; any other text
/// as GTK's does.
GtkCellRenderer* NewLineCell();

}  // namespace lx::screen
#pragma GCC visibility pop
