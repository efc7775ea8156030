#include "screen/Pictures.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <map>

#include "screen/internal/GtkBackend.h"
#include "screen/internal/MenuBar.h"

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

// A label's place in the window, from its record in its box.
bool PlaceInWindow(const TDrawnLabel& label, GtkWidget* window, TRectangle& place) {
  if (!label.look.visible || !gtk_widget_is_visible(label.box)) return false;
  const GdkRectangle& at = label.look.place;
  if (!gtk_widget_translate_coordinates(label.box, window, at.x, at.y, &place.x, &place.y))
    return false;
  place.width = at.width;
  place.height = at.height;
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

PangoLayout* SmallText(cairo_t* cr, const std::string& text, const char* font) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* description = pango_font_description_from_string(font);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  pango_layout_set_text(layout, text.c_str(), -1);
  return layout;
}

constexpr char kMarkFont[] = "DejaVu Sans 7";

// A mark's place in the window; a top menu item's label is placed beforehand, in a strip above
// the window, as under the bar there is no room that covers nothing.
struct TMarkPlace {
  TRectangle place;
  bool menu = false;
  bool fromRight = false;  // a mirrored bar's item: its label and line at its right end
  TRectangle label;
};

// Where the line from a top menu item's label comes down to the item.
int LeaderX(const TMarkPlace& mark) {
  const int x = mark.fromRight ? mark.place.x + mark.place.width - 5 : mark.place.x + 4;
  return std::clamp(x, mark.label.x, mark.label.x + mark.label.width - 1);
}

// The lines from the top menu items' labels down to their items, drawn before the labels so
// that a line passes behind the labels under its own.
void DrawLeaders(cairo_t* cr, const std::vector<TMarkPlace>& places) {
  cairo_set_source_rgb(cr, 0.85, 0.1, 0.1);
  cairo_set_line_width(cr, 1.0);
  for (const TMarkPlace& mark : places) {
    if (!mark.menu) continue;
    cairo_move_to(cr, LeaderX(mark) + 0.5, mark.label.y + mark.label.height);
    cairo_line_to(cr, LeaderX(mark) + 0.5, mark.place.y);
    cairo_stroke(cr);
  }
}

int LabelWidth(cairo_t* cr, const std::string& label, int& height) {
  PangoLayout* layout = SmallText(cr, label, kMarkFont);
  int width = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  g_object_unref(layout);
  return width + 4;
}

// The labels of the top menu items in rows above the window (negative y), each over its item
// and in the first row where it covers no other; the strip's height.
int PlaceMenuLabels(cairo_t* cr, const std::vector<const std::string*>& labels,
                    std::vector<TMarkPlace>& places, int pictureWidth) {
  std::vector<TRectangle> placed;
  for (std::size_t i = 0; i < places.size(); ++i) {
    if (!places[i].menu) continue;
    int height = 0;
    const int width = LabelWidth(cr, *labels[i], height);
    const TRectangle& item = places[i].place;
    const int x = places[i].fromRight ? item.x + item.width - width : item.x;
    TRectangle label{std::max(0, std::min(x, pictureWidth - width)), 0, width, height};
    for (int row = 1;; ++row) {
      label.y = -row * height;
      if (std::none_of(placed.begin(), placed.end(),
                       [&](const TRectangle& o) { return Overlaps(label, o); }))
        break;
    }
    placed.push_back(label);
    places[i].label = label;
  }
  int strip = 0;
  for (const TRectangle& label : placed)
    strip = std::max(strip, -label.y);
  constexpr int kGap = 3;  // room for the lines down to the items
  return strip == 0 ? 0 : strip + kGap;
}

// An outline around the control and its label on a pale ground beside it, clear of `others`
// (the controls and the labels drawn so far), which the label then joins.
void DrawMark(cairo_t* cr, const TMarkPlace& mark, const std::string& label, int windowWidth,
              int windowHeight, std::vector<TRectangle>& others) {
  const TRectangle& place = mark.place;
  cairo_set_source_rgb(cr, 0.85, 0.1, 0.1);
  cairo_set_line_width(cr, 1.0);
  // Just outside the control, so that the outline covers none of its text; a menu item's just
  // inside, as the bar touches the window's edge and the item's padding keeps the text clear.
  if (mark.menu)
    cairo_rectangle(cr, place.x + 0.5, place.y + 0.5, place.width - 1, place.height - 1);
  else
    cairo_rectangle(cr, place.x - 0.5, place.y - 0.5, place.width + 1, place.height + 1);
  cairo_stroke(cr);
  PangoLayout* layout = SmallText(cr, label, kMarkFont);
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  TRectangle at = mark.label;
  if (!mark.menu) {
    at = LabelPlace(place, width + 4, height, windowWidth, windowHeight, others);
    others.push_back(at);
  }
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
    if (submenu == nullptr) continue;
    BuildDropDown(submenu);  // one never opened has no items yet
    MapMenuWidgets(submenu, *item, widgets);
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
  TRectangle barPlace;
  const bool barShown = bar != nullptr && PlaceInWindow(bar, window, barPlace);
  if (barShown) taken.push_back(barPlace);
  for (const TPictureMark& mark : marks) {
    TMarkPlace place;
    if (mark.menuItem != nullptr) {
      const auto found = menuWidgets.find(mark.menuItem);
      if (!barShown || !IsTopItem(form, *mark.menuItem) || found == menuWidgets.end() ||
          !PlaceInWindow(found->second, window, place.place))
        continue;
      place.menu = true;
      place.fromRight = gtk_widget_get_direction(bar) == GTK_TEXT_DIR_RTL;
    } else {
      const TControlWidgets* widgets =
          mark.control != nullptr ? backend.WidgetsOf(*mark.control) : nullptr;
      if (widgets == nullptr) continue;
      const bool shown = widgets->drawn != nullptr
                             ? PlaceInWindow(*widgets->drawn, window, place.place)
                             : PlaceInWindow(widgets->outer, window, place.place);
      if (!shown) continue;
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
  std::vector<TMarkPlace> places;
  std::vector<const std::string*> labels;
  std::vector<TRectangle> taken;
  PlaceMarks(form, window, marks, places, labels, taken);
  int legendWidth = 0;
  int legendHeight = 0;
  int strip = 0;
  {
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* measure = cairo_create(scratch);
    LegendSize(measure, legend, legendWidth, legendHeight);
    strip = PlaceMenuLabels(measure, labels, places, std::max(width, legendWidth));
    cairo_destroy(measure);
    cairo_surface_destroy(scratch);
  }
  // The keys of the menu bar above the window, the legend of the drop-down menus under it, the
  // picture as wide as the widest.
  const int pictureWidth = std::max(width, legendWidth);
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, pictureWidth, strip + height + legendHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_paint(cr);
  cairo_translate(cr, 0, strip);
  // The window drawn into the picture, whatever covers it on the screen.
  gtk_widget_draw(window, cr);
  DrawLeaders(cr, places);
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
