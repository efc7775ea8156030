// A container that gives each child exactly the rectangle it is told, whatever the child
// would like: the framework computes every position and size itself (mirroring included),
// and nothing in GTK may move, grow or mirror them again. Its own size is its size request.
// It draws the labels and buttons among its children itself, under its child widgets, and
// gives its buttons the mouse, the keyboard's focus and their hot keys.
#pragma once

#include <gtk/gtk.h>

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

class TBoxLabels;

/// A new, empty box (a GtkFixed underneath) that always lays its children out left to right.
GtkWidget* NewFixedBox();
bool IsFixedBox(GtkWidget* widget);

/// The labels that `box` draws (screen/internal/DrawnLabels.h).
TBoxLabels& LabelsOf(GtkWidget* box);
/// Makes `child` of a box its ground (a group box's frame): drawn first, under the labels.
void SetFixedBoxGround(GtkWidget* child);

/// Where `child` stands in the way of the focus through its box, with the box's drawn
/// buttons (the control order of the parent); children without one come last.
void SetTabOrder(GtkWidget* child, int order);
int TabOrderOf(GtkWidget* child);

/// Puts `child` into `box` (when not there yet) at `x`, `y` with the size `width` x
/// `height`, relative to the box; sizes below 0 count as 0.
void PlaceInFixedBox(GtkWidget* box, GtkWidget* child, int x, int y, int width, int height);

}  // namespace lx::screen
#pragma GCC visibility pop
