// The lines of a list box as GTK's tree view reads them: a model of one text column over lines
// kept in one vector, so that a new language's lines go in at once instead of into a store row
// by row, each announced to the view.
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <vector>

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

/// A new model of `lines`; the caller holds its one reference.
GtkTreeModel* NewListLines(std::vector<std::string> lines);
/// The lines `model` (made by NewListLines) shows.
const std::vector<std::string>& LinesOf(GtkTreeModel* model);
/// Gives `model` new lines, as many as before, in place. Of the changed lines, those `view`
/// shows are announced to it; the others it reads when they come into view: its rows are all
/// of one height, so nothing else in it depends on their texts.
void ReplaceLines(GtkTreeModel* model, std::vector<std::string> lines, GtkTreeView* view);

}  // namespace lx::screen
#pragma GCC visibility pop
