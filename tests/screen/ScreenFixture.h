// What the screen suites share: forms shown through the installed backend, and the place of
// a widget read back from GTK.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdint>
#include <ostream>
#include <vector>

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

/// A new control of `parent`, named, placed and (for a non-empty `caption`) captioned.
template <typename T>
T* Put(framework::TWinControl* parent, const char* name, TBounds bounds, const char* caption = "") {
  auto* control = new T(parent);
  control->SetName(name);
  control->SetParent(parent);
  control->SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
  if (*caption != '\0') control->SetCaption(caption);
  return control;
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
/// The grey of an RGB pixel, 0 (black) to 255.
inline int GreyOf(std::uint32_t pixel) {
  return static_cast<int>(((pixel >> 16) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF)) / 3);
}

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

/// `event` sent through GTK's own dispatch, as if it came from `window`'s device.
inline void Deliver(GdkEvent* event, GdkWindow* window, bool keyboard) {
  GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(window));
  gdk_event_set_device(event, keyboard ? gdk_seat_get_keyboard(seat) : gdk_seat_get_pointer(seat));
  gtk_main_do_event(event);
  gdk_event_free(event);
}

/// A left press and release at `x`, `y` of `box`'s window, with `modifiers` held.
inline void ClickIn(GtkWidget* box, int x, int y, guint modifiers = 0) {
  for (const GdkEventType type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
    GdkWindow* window = gtk_widget_get_window(box);
    GdkEvent* event = gdk_event_new(type);
    event->button.window = GDK_WINDOW(g_object_ref(window));
    event->button.x = x;
    event->button.y = y;
    event->button.button = 1;
    event->button.state = modifiers | (type == GDK_BUTTON_RELEASE ? GDK_BUTTON1_MASK : 0);
    event->button.time = GDK_CURRENT_TIME;
    Deliver(event, window, false);
  }
}

/// A key pressed (`presses` times: held, the keyboard repeats it) and let go in `toplevel`
/// with `modifiers` held.
inline void PressKey(GtkWidget* toplevel, guint keyval, guint modifiers = 0, int presses = 1) {
  std::vector<GdkEventType> types(static_cast<std::size_t>(presses), GDK_KEY_PRESS);
  types.push_back(GDK_KEY_RELEASE);
  for (const GdkEventType type : types) {
    GdkWindow* window = gtk_widget_get_window(toplevel);
    GdkEvent* event = gdk_event_new(type);
    event->key.window = GDK_WINDOW(g_object_ref(window));
    event->key.keyval = keyval;
    event->key.state = modifiers;
    event->key.time = GDK_CURRENT_TIME;
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(
            gdk_keymap_get_for_display(gdk_window_get_display(window)), keyval, &keys, &count) &&
        count > 0)
      event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
    g_free(keys);
    Deliver(event, window, true);
  }
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

  /// A left click at the centre of a drawn control, through its box's window.
  static void Click(const framework::TControl& control, guint modifiers = 0) {
    const TDrawnLabel* drawn = backend().LabelOf(control);
    ASSERT_NE(drawn, nullptr) << control.Name();
    const GdkRectangle& place = drawn->look.place;
    ClickIn(drawn->box, place.x + place.width / 2, place.y + place.height / 2, modifiers);
  }

  /// The record of a label, button, check box or radio button shown; fails the test when
  /// there is none.
  static const TDrawnLabel& Drawn(const framework::TControl& control) {
    const TDrawnLabel* label = backend().LabelOf(control);
    EXPECT_NE(label, nullptr) << control.Name();
    static const TDrawnLabel none;
    return label != nullptr ? *label : none;
  }

  /// What a record's text was laid out in, and its logical extents: a label's shaped line, or
  /// its layout. Null and nothing when it is not laid out.
  static const PangoFontDescription* TextFont(const TDrawnLabel& label) {
    if (label.line != nullptr) return label.line->Font();
    return label.layout != nullptr ? pango_layout_get_font_description(label.layout) : nullptr;
  }
  static bool TextCutShort(const TDrawnLabel& label) {
    if (label.line != nullptr) return label.line->Ellipsized();
    return label.layout != nullptr && pango_layout_is_ellipsized(label.layout);
  }
  static PangoRectangle TextLogical(const TDrawnLabel& label) {
    PangoRectangle logical{0, 0, 0, 0};
    if (label.line != nullptr) return label.line->Logical();
    if (label.layout != nullptr) pango_layout_get_pixel_extents(label.layout, nullptr, &logical);
    return logical;
  }
};

}  // namespace lx::screen::test
