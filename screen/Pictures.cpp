#include "screen/Pictures.h"

#include <gtk/gtk.h>

#include <algorithm>

#include "screen/internal/GtkBackend.h"

namespace lx::screen {
namespace {

struct TRectangle {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

bool PlaceInWindow(const TControlWidgets& widgets, GtkWidget* window, TRectangle& place) {
  if (widgets.outer == nullptr || !gtk_widget_get_visible(widgets.outer)) return false;
  GtkAllocation allocation;
  gtk_widget_get_allocation(widgets.outer, &allocation);
  if (!gtk_widget_translate_coordinates(widgets.outer, window, 0, 0, &place.x, &place.y))
    return false;
  place.width = allocation.width;
  place.height = allocation.height;
  return true;
}

bool Overlaps(const TRectangle& a, const TRectangle& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// Where the label goes: beside the control (right, left, below, above) in the window and clear
// of every other control marked, so that it hides no text; else on the right or below.
TRectangle LabelPlace(const TRectangle& place, int width, int height, int windowWidth,
                      int windowHeight, const std::vector<TRectangle>& others) {
  const TRectangle tries[] = {
      {place.x + place.width + 1, place.y, width, height},
      {place.x - width - 1, place.y, width, height},
      {std::max(0, std::min(place.x, windowWidth - width)), place.y + place.height, width, height},
      {std::max(0, std::min(place.x, windowWidth - width)), place.y - height, width, height},
  };
  auto inWindow = [&](const TRectangle& r) {
    return r.x >= 0 && r.y >= 0 && r.x + r.width <= windowWidth && r.y + r.height <= windowHeight;
  };
  for (const TRectangle& label : tries) {
    if (inWindow(label) && std::none_of(others.begin(), others.end(),
                                        [&](const TRectangle& o) { return Overlaps(label, o); }))
      return label;
  }
  for (const TRectangle& label : tries) {
    if (inWindow(label)) return label;
  }
  return tries[2];
}

// An outline around the control and its label on a pale ground beside it, clear of `others`
// (the controls and the labels drawn so far), which the label then joins.
void DrawMark(cairo_t* cr, const TRectangle& place, const std::string& label, int windowWidth,
              int windowHeight, std::vector<TRectangle>& others) {
  cairo_set_source_rgb(cr, 0.85, 0.1, 0.1);
  cairo_set_line_width(cr, 1.0);
  // Just outside the control, so that the outline covers none of its text.
  cairo_rectangle(cr, place.x - 0.5, place.y - 0.5, place.width + 1, place.height + 1);
  cairo_stroke(cr);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("DejaVu Sans 7");
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_text(layout, label.c_str(), -1);
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  const TRectangle at = LabelPlace(place, width + 4, height, windowWidth, windowHeight, others);
  others.push_back(at);
  cairo_set_source_rgba(cr, 1.0, 1.0, 0.75, 0.9);
  cairo_rectangle(cr, at.x, at.y, at.width, at.height);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0.6, 0.0, 0.0);
  cairo_move_to(cr, at.x + 2, at.y);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::vector<std::uint8_t> FormPicture(const framework::TCustomForm& form,
                                      const std::vector<TPictureMark>& marks) {
  TGtkBackend* backend = Backend();
  GtkWidget* window = backend != nullptr ? backend->WindowOf(form) : nullptr;
  if (window == nullptr || !gtk_widget_get_visible(window)) return {};
  const int width = gtk_widget_get_allocated_width(window);
  const int height = gtk_widget_get_allocated_height(window);
  if (width <= 0 || height <= 0) return {};
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  // The window drawn into the picture, whatever covers it on the screen.
  gtk_widget_draw(window, cr);
  std::vector<TRectangle> places;
  std::vector<const std::string*> labels;
  for (const TPictureMark& mark : marks) {
    const TControlWidgets* widgets =
        mark.control != nullptr ? backend->WidgetsOf(*mark.control) : nullptr;
    TRectangle place;
    if (widgets == nullptr || !PlaceInWindow(*widgets, window, place)) continue;
    places.push_back(place);
    labels.push_back(&mark.label);
  }
  std::vector<TRectangle> taken = places;
  for (std::size_t i = 0; i < places.size(); ++i)
    DrawMark(cr, places[i], *labels[i], width, height, taken);
  cairo_destroy(cr);
  std::vector<std::uint8_t> png;
  cairo_surface_write_to_png_stream(surface, AppendBytes, &png);
  cairo_surface_destroy(surface);
  return png;
}

}  // namespace lx::screen
