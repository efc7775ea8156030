#include "screen/Pictures.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <map>

#include "screen/internal/GtkBackend.h"

namespace lx::screen {
namespace {

struct TRectangle {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

bool PlaceInWindow(GtkWidget* widget, GtkWidget* window, TRectangle& place) {
  if (widget == nullptr || !gtk_widget_get_visible(widget)) return false;
  GtkAllocation allocation;
  gtk_widget_get_allocation(widget, &allocation);
  if (!gtk_widget_translate_coordinates(widget, window, 0, 0, &place.x, &place.y)) return false;
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

// Where a top menu item's label goes: under the bar, in the first row down that is clear of
// the others, so that it covers neither the bar nor another label.
TRectangle MenuLabelPlace(const TRectangle& place, int width, int height, int barBottom,
                          int windowWidth, const std::vector<TRectangle>& others) {
  const int x = std::max(0, std::min(place.x, windowWidth - width));
  constexpr int kRows = 4;
  for (int row = 0; row < kRows; ++row) {
    const TRectangle label{x, barBottom + row * height, width, height};
    if (std::none_of(others.begin(), others.end(),
                     [&](const TRectangle& o) { return Overlaps(label, o); }))
      return label;
  }
  return {x, barBottom, width, height};
}

PangoLayout* SmallText(cairo_t* cr, const std::string& text, const char* font) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* description = pango_font_description_from_string(font);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  pango_layout_set_text(layout, text.c_str(), -1);
  return layout;
}

// Where a mark's label goes in the window, and below which line when it marks a menu item.
struct TMarkPlace {
  TRectangle place;
  int barBottom = -1;  // a top menu item's: the bar's lower edge
};

// An outline around the control and its label on a pale ground beside it, clear of `others`
// (the controls and the labels drawn so far), which the label then joins.
void DrawMark(cairo_t* cr, const TMarkPlace& mark, const std::string& label, int windowWidth,
              int windowHeight, std::vector<TRectangle>& others) {
  const TRectangle& place = mark.place;
  cairo_set_source_rgb(cr, 0.85, 0.1, 0.1);
  cairo_set_line_width(cr, 1.0);
  // Just outside the control, so that the outline covers none of its text; a menu item's just
  // inside, as the bar touches the window's edge and the item's padding keeps the text clear.
  if (mark.barBottom >= 0)
    cairo_rectangle(cr, place.x + 0.5, place.y + 0.5, place.width - 1, place.height - 1);
  else
    cairo_rectangle(cr, place.x - 0.5, place.y - 0.5, place.width + 1, place.height + 1);
  cairo_stroke(cr);
  PangoLayout* layout = SmallText(cr, label, "DejaVu Sans 7");
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  const TRectangle at =
      mark.barBottom >= 0
          ? MenuLabelPlace(place, width + 4, height, mark.barBottom, windowWidth, others)
          : LabelPlace(place, width + 4, height, windowWidth, windowHeight, others);
  others.push_back(at);
  cairo_set_source_rgba(cr, 1.0, 1.0, 0.75, 0.9);
  cairo_rectangle(cr, at.x, at.y, at.width, at.height);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0.6, 0.0, 0.0);
  cairo_move_to(cr, at.x + 2, at.y);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
}

// The widget of each shown menu item, as the bar was built from the menu: one per visible
// item, in the menu's order.
void MapMenuWidgets(GtkWidget* shell, const framework::TMenuItem& parent,
                    std::map<const framework::TMenuItem*, GtkWidget*>& widgets) {
  GList* children = gtk_container_get_children(GTK_CONTAINER(shell));
  GList* at = children;
  for (int i = 0; i < parent.Count() && at != nullptr; ++i) {
    const framework::TMenuItem* item = parent.Items(i);
    if (!item->Visible()) continue;
    GtkWidget* widget = GTK_WIDGET(at->data);
    at = at->next;
    widgets[item] = widget;
    GtkWidget* submenu =
        GTK_IS_MENU_ITEM(widget) ? gtk_menu_item_get_submenu(GTK_MENU_ITEM(widget)) : nullptr;
    if (submenu != nullptr) MapMenuWidgets(submenu, *item, widgets);
  }
  g_list_free(children);
}

std::map<const framework::TMenuItem*, GtkWidget*> MenuWidgetsOf(
    const framework::TCustomForm& form) {
  std::map<const framework::TMenuItem*, GtkWidget*> widgets;
  GtkWidget* bar = Backend()->MenuBarOf(form);
  if (bar != nullptr && form.Menu() != nullptr) MapMenuWidgets(bar, *form.Menu()->Items(), widgets);
  return widgets;
}

// The text a menu item's widget shows, without its mnemonic mark; empty for a line.
std::string MenuText(GtkWidget* item) {
  GtkWidget* row = gtk_bin_get_child(GTK_BIN(item));
  if (row == nullptr || !GTK_IS_BOX(row)) return {};
  GList* parts = gtk_container_get_children(GTK_CONTAINER(row));
  std::string text;
  if (parts != nullptr && GTK_IS_LABEL(parts->data))
    text = gtk_label_get_text(GTK_LABEL(parts->data));
  g_list_free(parts);
  return text;
}

bool IsTopItem(const framework::TCustomForm& form, const framework::TMenuItem& item) {
  return form.Menu() != nullptr && item.Parent() == form.Menu()->Items();
}

constexpr char kLegendFont[] = "DejaVu Sans 8";
constexpr int kLegendMargin = 4;

// The legend's size: its lines one under another inside a margin; 0 x 0 without lines.
void LegendSize(cairo_t* cr, const std::vector<std::string>& lines, int& width, int& height) {
  width = 0;
  height = 0;
  for (const std::string& line : lines) {
    PangoLayout* layout = SmallText(cr, line, kLegendFont);
    int w = 0;
    int h = 0;
    pango_layout_get_pixel_size(layout, &w, &h);
    g_object_unref(layout);
    width = std::max(width, w);
    height += h;
  }
  if (!lines.empty()) {
    width += 2 * kLegendMargin;
    height += 2 * kLegendMargin;
  }
}

// The lines on a pale ground framed in red, from `top` down.
void DrawLegend(cairo_t* cr, const std::vector<std::string>& lines, int top, int width,
                int height) {
  cairo_set_source_rgb(cr, 1.0, 1.0, 0.85);
  cairo_rectangle(cr, 0, top, width, height);
  cairo_fill(cr);
  cairo_set_source_rgb(cr, 0.85, 0.1, 0.1);
  cairo_set_line_width(cr, 1.0);
  cairo_rectangle(cr, 0.5, top + 0.5, width - 1, height - 1);
  cairo_stroke(cr);
  int y = top + kLegendMargin;
  for (const std::string& line : lines) {
    PangoLayout* layout = SmallText(cr, line, kLegendFont);
    cairo_set_source_rgb(cr, 0.6, 0.0, 0.0);
    cairo_move_to(cr, kLegendMargin, y);
    pango_cairo_show_layout(cr, layout);
    int h = 0;
    pango_layout_get_pixel_size(layout, nullptr, &h);
    g_object_unref(layout);
    y += h;
  }
}

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
  auto* bytes = static_cast<std::vector<std::uint8_t>*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::vector<std::string> MenuLegend(const framework::TCustomForm& form,
                                    const std::vector<TPictureMark>& marks) {
  if (Backend() == nullptr) return {};
  const auto widgets = MenuWidgetsOf(form);
  std::vector<std::string> lines;
  for (const TPictureMark& mark : marks) {
    if (mark.menuItem == nullptr || IsTopItem(form, *mark.menuItem)) continue;
    const auto found = widgets.find(mark.menuItem);
    if (found == widgets.end()) continue;
    const std::string text = MenuText(found->second);
    if (!text.empty()) lines.push_back(mark.label + ": " + text);
  }
  return lines;
}

namespace {

// The places of the marks the window shows, with their labels: the controls' and the top menu
// items'; the bar itself joins `taken`, so that no control's label covers it.
void PlaceMarks(const framework::TCustomForm& form, GtkWidget* window,
                const std::vector<TPictureMark>& marks, std::vector<TMarkPlace>& places,
                std::vector<const std::string*>& labels, std::vector<TRectangle>& taken) {
  TGtkBackend& backend = *Backend();
  const auto menuWidgets = MenuWidgetsOf(form);
  GtkWidget* bar = backend.MenuBarOf(form);
  TMarkPlace barPlace;
  const bool barShown = bar != nullptr && PlaceInWindow(bar, window, barPlace.place);
  if (barShown) taken.push_back(barPlace.place);
  for (const TPictureMark& mark : marks) {
    TMarkPlace place;
    if (mark.menuItem != nullptr) {
      const auto found = menuWidgets.find(mark.menuItem);
      if (!barShown || !IsTopItem(form, *mark.menuItem) || found == menuWidgets.end() ||
          !PlaceInWindow(found->second, window, place.place))
        continue;
      place.barBottom = barPlace.place.y + barPlace.place.height;
    } else {
      const TControlWidgets* widgets =
          mark.control != nullptr ? backend.WidgetsOf(*mark.control) : nullptr;
      if (widgets == nullptr || !PlaceInWindow(widgets->outer, window, place.place)) continue;
    }
    places.push_back(place);
    labels.push_back(&mark.label);
    taken.push_back(place.place);
  }
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
  const std::vector<std::string> legend = MenuLegend(form, marks);
  int legendWidth = 0;
  int legendHeight = 0;
  {
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* measure = cairo_create(scratch);
    LegendSize(measure, legend, legendWidth, legendHeight);
    cairo_destroy(measure);
    cairo_surface_destroy(scratch);
  }
  // The legend of the drop-down menus goes under the window, the picture as wide as both.
  const int pictureWidth = std::max(width, legendWidth);
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, pictureWidth, height + legendHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_paint(cr);
  // The window drawn into the picture, whatever covers it on the screen.
  gtk_widget_draw(window, cr);
  std::vector<TMarkPlace> places;
  std::vector<const std::string*> labels;
  std::vector<TRectangle> taken;
  PlaceMarks(form, window, marks, places, labels, taken);
  for (std::size_t i = 0; i < places.size(); ++i)
    DrawMark(cr, places[i], *labels[i], width, height, taken);
  if (!legend.empty()) DrawLegend(cr, legend, height, legendWidth, legendHeight);
  cairo_destroy(cr);
  std::vector<std::uint8_t> png;
  cairo_surface_write_to_png_stream(surface, AppendBytes, &png);
  cairo_surface_destroy(surface);
  return png;
}

}  // namespace lx::screen
