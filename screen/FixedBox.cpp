#include "screen/internal/FixedBox.h"

#include <algorithm>

namespace lx::screen {

namespace {

struct LxFixedBox {
  GtkFixed parent;
};

struct LxFixedBoxClass {
  GtkFixedClass parentClass;
};

GType FixedBoxType();

// The rectangle a child is given, kept on the child.
const char* const kPlace = "lx-fixed-box-place";

GdkRectangle* PlaceOf(GtkWidget* child) {
  return static_cast<GdkRectangle*>(g_object_get_data(G_OBJECT(child), kPlace));
}

// The box's size is what it was asked to be, never what its children would like.
void PreferNothing(GtkWidget*, gint* minimum, gint* natural) {
  *minimum = 0;
  *natural = 0;
}

void AllocateChild(GtkWidget* child, const GtkAllocation& origin) {
  const GdkRectangle* place = PlaceOf(child);
  if (place == nullptr || !gtk_widget_get_visible(child)) return;
  // GTK wants each child measured before it is allocated, even when the measure is ignored.
  GtkRequisition unused;
  gtk_widget_get_preferred_size(child, &unused, nullptr);
  GtkAllocation allocation{origin.x + place->x, origin.y + place->y, place->width, place->height};
  gtk_widget_size_allocate(child, &allocation);
}

void AllocateChildren(GtkWidget* widget, GtkAllocation* allocation) {
  gtk_widget_set_allocation(widget, allocation);
  GtkAllocation origin = *allocation;
  if (gtk_widget_get_has_window(widget)) {
    if (gtk_widget_get_realized(widget)) {
      gdk_window_move_resize(gtk_widget_get_window(widget), allocation->x, allocation->y,
                             allocation->width, allocation->height);
    }
    origin.x = 0;
    origin.y = 0;
  }
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* item = children; item != nullptr; item = item->next)
    AllocateChild(GTK_WIDGET(item->data), origin);
  g_list_free(children);
}

void InitClass(gpointer klass, gpointer) {
  GtkWidgetClass* widgetClass = GTK_WIDGET_CLASS(klass);
  widgetClass->get_preferred_width = PreferNothing;
  widgetClass->get_preferred_height = PreferNothing;
  widgetClass->size_allocate = AllocateChildren;
}

void InitInstance(GTypeInstance* instance, gpointer) {
  // The framework mirrors the children itself.
  gtk_widget_set_direction(GTK_WIDGET(instance), GTK_TEXT_DIR_LTR);
}

GType FixedBoxType() {
  static GType type = 0;
  if (type == 0) {
    type = g_type_register_static_simple(GTK_TYPE_FIXED, "LxFixedBox", sizeof(LxFixedBoxClass),
                                         InitClass, sizeof(LxFixedBox), InitInstance,
                                         static_cast<GTypeFlags>(0));
  }
  return type;
}

}  // namespace

GtkWidget* NewFixedBox() {
  return GTK_WIDGET(g_object_new(FixedBoxType(), nullptr));
}

bool IsFixedBox(GtkWidget* widget) {
  return widget != nullptr && G_TYPE_CHECK_INSTANCE_TYPE(widget, FixedBoxType());
}

void PlaceInFixedBox(GtkWidget* box, GtkWidget* child, int x, int y, int width, int height) {
  const GdkRectangle wanted{x, y, std::max(width, 0), std::max(height, 0)};
  GdkRectangle* place = PlaceOf(child);
  if (place == nullptr) {
    place = g_new(GdkRectangle, 1);
    *place = GdkRectangle{-1, -1, -1, -1};
    g_object_set_data_full(G_OBJECT(child), kPlace, place, g_free);
  }
  if (gtk_widget_get_parent(child) != box) gtk_fixed_put(GTK_FIXED(box), child, x, y);
  const bool moved = place->x != wanted.x || place->y != wanted.y || place->width != wanted.width ||
                     place->height != wanted.height;
  *place = wanted;
  // The size request keeps the child's own measure from mattering anywhere else.
  gtk_widget_set_size_request(child, wanted.width, wanted.height);
  if (moved) gtk_widget_queue_resize(box);
}

}  // namespace lx::screen
