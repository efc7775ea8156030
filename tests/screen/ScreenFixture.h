// What the screen suites share: forms shown through the installed backend, and the place of
// a widget read back from GTK.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <ostream>

#include "framework/controls/Forms.h"
#include "framework/runtime/Application.h"
#include "screen/Screen.h"
#include "screen/internal/GtkBackend.h"

namespace lx::screen::test {

struct TBounds {
  int left, top, width, height;
  bool operator==(const TBounds&) const = default;
};
inline void PrintTo(const TBounds& b, std::ostream* out) {
  *out << "(" << b.left << ", " << b.top << ", " << b.width << ", " << b.height << ")";
}

inline TBounds BoundsOf(const framework::TControl& control) {
  return {control.Left(), control.Top(), control.Width(), control.Height()};
}

/// Where GTK has put `widget`, relative to `box`.
inline TBounds AllocationIn(GtkWidget* widget, GtkWidget* box) {
  GtkAllocation allocation;
  gtk_widget_get_allocation(widget, &allocation);
  int x = 0;
  int y = 0;
  gtk_widget_translate_coordinates(widget, box, 0, 0, &x, &y);
  return {x, y, allocation.width, allocation.height};
}

/// `window` drawn into a new image as it shows; the caller destroys the image.
inline cairo_surface_t* Drawing(GtkWidget* window) {
  cairo_surface_t* image =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, gtk_widget_get_allocated_width(window),
                                 gtk_widget_get_allocated_height(window));
  cairo_t* cr = cairo_create(image);
  gtk_widget_draw(window, cr);
  cairo_destroy(cr);
  cairo_surface_flush(image);
  return image;
}

class ScreenTest : public ::testing::Test {
 protected:
  ~ScreenTest() override {
    framework::DoneApplication();
    Refresh();
  }

  static TGtkBackend& backend() { return *Backend(); }

  /// The widgets that show `control`; fails the test when there are none.
  static const TControlWidgets& Widgets(const framework::TControl& control) {
    const TControlWidgets* widgets = backend().WidgetsOf(control);
    EXPECT_NE(widgets, nullptr) << control.Name();
    static const TControlWidgets none;
    return widgets != nullptr ? *widgets : none;
  }

  /// Where the widgets of `control` are, relative to the box of its parent; a label's
  /// place in its record there.
  static TBounds Placed(const framework::TControl& control) {
    const TControlWidgets& widgets = Widgets(control);
    if (widgets.drawn != nullptr) {
      const GdkRectangle& place = widgets.drawn->look.place;
      return {place.x, place.y, place.width, place.height};
    }
    return AllocationIn(widgets.outer, widgets.parentBox);
  }

  /// The record of a label shown; fails the test when there is none.
  static const TDrawnLabel& Drawn(const framework::TControl& control) {
    const TDrawnLabel* label = backend().LabelOf(control);
    EXPECT_NE(label, nullptr) << control.Name();
    static const TDrawnLabel none;
    return label != nullptr ? *label : none;
  }
};

}  // namespace lx::screen::test
