#include "screen/internal/LineCells.h"

#include <algorithm>
#include <string_view>

#include "screen/internal/ShapedLine.h"

namespace lx::screen {

namespace {

struct LxLineCell {
  GtkCellRendererText parent;
};

struct LxLineCellClass {
  GtkCellRendererTextClass parentClass;
};

using TRender = void (*)(GtkCellRenderer*, cairo_t*, GtkWidget*, const GdkRectangle*,
                         const GdkRectangle*, GtkCellRendererState);
TRender textRender = nullptr;  // GTK's text cell's

void DropItems(gpointer items) {
  delete static_cast<TLineItems*>(items);
}

// The items learned for the widget's context, which they live as long as.
TLineItems& ItemsOf(PangoContext* context) {
  constexpr const char* kKey = "lx-line-items";
  auto* items = static_cast<TLineItems*>(g_object_get_data(G_OBJECT(context), kKey));
  if (items == nullptr) {
    items = new TLineItems(context);
    g_object_set_data_full(G_OBJECT(context), kKey, items, DropItems);
  }
  return *items;
}

// Where GTK's text cell puts a text of `logical` in `area`, from the area's top left.
GdkPoint PlaceIn(GtkCellRenderer* cell, GtkWidget* widget, const GdkRectangle& area,
                 const PangoRectangle& logical) {
  gint xpad = 0;
  gint ypad = 0;
  gfloat xalign = 0;
  gfloat yalign = 0;
  gtk_cell_renderer_get_padding(cell, &xpad, &ypad);
  gtk_cell_renderer_get_alignment(cell, &xalign, &yalign);
  const int width = std::min(logical.width, area.width - 2 * xpad);
  const int height = std::min(logical.height, area.height - 2 * ypad);
  if (gtk_widget_get_direction(widget) == GTK_TEXT_DIR_RTL) xalign = 1.0F - xalign;
  const auto x = static_cast<gint>(xalign * static_cast<gfloat>(area.width - (width + 2 * xpad)));
  const auto y = static_cast<gint>(yalign * static_cast<gfloat>(area.height - (height + 2 * ypad)));
  return {x - logical.x + xpad, std::max(y, 0) + ypad};
}

void Render(GtkCellRenderer* cell, cairo_t* cr, GtkWidget* widget, const GdkRectangle* background,
            const GdkRectangle* area, GtkCellRendererState flags) {
  gchar* text = nullptr;
  g_object_get(cell, "text", &text, nullptr);
  const std::string_view shown = text != nullptr ? text : "";
  if (!IsOneLine(shown)) {
    g_free(text);
    textRender(cell, cr, widget, background, area, flags);
    return;
  }
  PangoContext* context = gtk_widget_get_pango_context(widget);
  const TShapedLine line(ItemsOf(context), pango_context_get_font_description(context), shown);
  g_free(text);
  const GdkPoint at = PlaceIn(cell, widget, *area, line.Logical());
  GtkStyleContext* style = gtk_widget_get_style_context(widget);
  GdkRGBA colour;
  gtk_style_context_get_color(style, gtk_style_context_get_state(style), &colour);
  cairo_save(cr);
  gdk_cairo_rectangle(cr, area);
  cairo_clip(cr);
  gdk_cairo_set_source_rgba(cr, &colour);
  cairo_move_to(cr, area->x + at.x, area->y + at.y);
  line.Draw(cr);
  cairo_restore(cr);
}

void InitClass(gpointer klass, gpointer) {
  auto* cell = GTK_CELL_RENDERER_CLASS(klass);
  textRender = GTK_CELL_RENDERER_CLASS(g_type_class_peek_parent(klass))->render;
  cell->render = Render;
}

GType LineCellType() {
  static GType type = 0;
  if (type == 0) {
    type = g_type_register_static_simple(GTK_TYPE_CELL_RENDERER_TEXT, "LxLineCell",
                                         sizeof(LxLineCellClass), InitClass, sizeof(LxLineCell),
                                         nullptr, static_cast<GTypeFlags>(0));
  }
  return type;
}

}  // namespace

GtkCellRenderer* NewLineCell() {
  return GTK_CELL_RENDERER(g_object_new(LineCellType(), nullptr));
}

}  // namespace lx::screen
