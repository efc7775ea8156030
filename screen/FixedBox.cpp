#include "screen/internal/FixedBox.h"

#include <algorithm>
#include <climits>

#include "screen/internal/DrawnLabels.h"

namespace lx::screen {

namespace {

struct LxFixedBox {
  GtkFixed parent;
  TBoxLabels* labels;
};

struct LxFixedBoxClass {
  GtkFixedClass parentClass;
};

GType FixedBoxType();
GtkWidgetClass* parentClass = nullptr;

// The rectangle a child is given, kept on the child.
const char* const kPlace = "lx-fixed-box-place";
// Set on a child drawn under the labels.
const char* const kGround = "lx-fixed-box-ground";
// Set on a window whose mnemonics the boxes inside follow.
const char* const kMnemonicsWatched = "lx-fixed-box-mnemonics";
// A child's place in the way of the focus, plus one.
const char* const kTabOrder = "lx-fixed-box-tab-order";

TBoxLabels& Labels(GtkWidget* box) {
  return *reinterpret_cast<LxFixedBox*>(box)->labels;
}

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

void DrawChild(GtkWidget* child, gpointer data) {
  auto* cr = static_cast<cairo_t*>(data);
  GtkWidget* box = gtk_widget_get_parent(child);
  if (g_object_get_data(G_OBJECT(child), kGround) == nullptr)
    gtk_container_propagate_draw(GTK_CONTAINER(box), child, cr);
}

void DrawGround(GtkWidget* child, gpointer data) {
  auto* cr = static_cast<cairo_t*>(data);
  GtkWidget* box = gtk_widget_get_parent(child);
  if (g_object_get_data(G_OBJECT(child), kGround) != nullptr)
    gtk_container_propagate_draw(GTK_CONTAINER(box), child, cr);
}

// The ground, then the labels, then the other children over them.
gboolean Draw(GtkWidget* widget, cairo_t* cr) {
  gtk_container_foreach(GTK_CONTAINER(widget), DrawGround, cr);
  Labels(widget).Draw(cr);
  gtk_container_foreach(GTK_CONTAINER(widget), DrawChild, cr);
  return FALSE;
}

gboolean QueryTooltip(GtkWidget* widget, gint x, gint y, gboolean keyboard, GtkTooltip* tooltip) {
  return Labels(widget).Tooltip(x, y, keyboard != 0, tooltip) ? TRUE : FALSE;
}

void StyleUpdated(GtkWidget* widget) {
  Labels(widget).StyleChanged();
  parentClass->style_updated(widget);
}

void StateFlagsChanged(GtkWidget* widget, GtkStateFlags previous) {
  Labels(widget).StyleChanged();
  if (parentClass->state_flags_changed != nullptr)
    parentClass->state_flags_changed(widget, previous);
}

bool Own(GtkWidget* widget, GdkWindow* window) {
  return window == gtk_widget_get_window(widget);
}

// Events of a child's window that the child left to its parents are not the box's.
gboolean ButtonPressed(GtkWidget* widget, GdkEventButton* event) {
  if (event->type != GDK_BUTTON_PRESS || event->button != 1 || !Own(widget, event->window))
    return FALSE;
  return Labels(widget).Press(static_cast<int>(event->x), static_cast<int>(event->y)) ? TRUE
                                                                                      : FALSE;
}

gboolean ButtonReleased(GtkWidget* widget, GdkEventButton* event) {
  if (event->button != 1 || !Own(widget, event->window)) return FALSE;
  return Labels(widget).Release(static_cast<int>(event->x), static_cast<int>(event->y)) ? TRUE
                                                                                        : FALSE;
}

gboolean PointerMoved(GtkWidget* widget, GdkEventMotion* event) {
  if (Own(widget, event->window))
    Labels(widget).Hover(static_cast<int>(event->x), static_cast<int>(event->y));
  return FALSE;
}

gboolean PointerLeft(GtkWidget* widget, GdkEventCrossing* event) {
  if (Own(widget, event->window)) Labels(widget).Leave();
  return FALSE;
}

// A grab taken elsewhere (a menu, a dialog) ends a press without a click.
gboolean GrabBroken(GtkWidget* widget, GdkEventGrabBroken*) {
  Labels(widget).Release(INT_MIN, INT_MIN);
  Labels(widget).Leave();
  return FALSE;
}

gboolean KeyPressed(GtkWidget* widget, GdkEventKey* event) {
  if (Labels(widget).Key(event->keyval)) return TRUE;
  return parentClass->key_press_event(widget, event);
}

gboolean KeyReleased(GtkWidget* widget, GdkEventKey* event) {
  if (Labels(widget).KeyReleased(event->keyval)) return TRUE;
  return parentClass->key_release_event(widget, event);
}

gboolean Focus(GtkWidget* widget, GtkDirectionType direction) {
  return Labels(widget).Focus(direction) ? TRUE : FALSE;
}

gboolean FocusIn(GtkWidget* widget, GdkEventFocus* event) {
  Labels(widget).FocusChanged();
  return parentClass->focus_in_event(widget, event);
}

gboolean FocusOut(GtkWidget* widget, GdkEventFocus* event) {
  Labels(widget).FocusChanged();
  return parentClass->focus_out_event(widget, event);
}

// The drawn button of a shown box in `widget` whose hot key is `character`.
bool ActivateHotKey(GtkWidget* widget, gunichar character) {
  if (IsFixedBox(widget) && gtk_widget_is_drawable(widget)) {
    if (TDrawnLabel* item = Labels(widget).WithHotKey(character)) {
      Labels(widget).Activate(*item);
      return true;
    }
  }
  if (!GTK_IS_CONTAINER(widget) || !gtk_widget_is_drawable(widget)) return false;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  bool done = false;
  for (GList* child = children; child != nullptr && !done; child = child->next)
    done = ActivateHotKey(GTK_WIDGET(child->data), character);
  g_list_free(children);
  return done;
}

bool TypesText(GtkWidget* focus) {
  return focus != nullptr && (GTK_IS_EDITABLE(focus) || GTK_IS_TEXT_VIEW(focus));
}

// Hot keys of drawn buttons, with the window's mnemonic modifier (Alt), or alone while the
// window shows mnemonics, as GTK's mnemonics go; before the window's own (the menus'), which
// take what no button claims.
gboolean WindowKeyPressed(GtkWidget* widget, GdkEventKey* event, gpointer) {
  GtkWindow* window = GTK_WINDOW(widget);
  const guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
  const bool alone = modifiers == 0 && gtk_window_get_mnemonics_visible(window) != 0 &&
                     !TypesText(gtk_window_get_focus(window));
  if (!alone && modifiers != gtk_window_get_mnemonic_modifier(window)) return FALSE;
  const gunichar character = gdk_keyval_to_unicode(event->keyval);
  if (character == 0) return FALSE;
  return ActivateHotKey(widget, character) ? TRUE : FALSE;
}

void TellBoxesOfMnemonics(GtkWidget* widget, gpointer) {
  if (IsFixedBox(widget)) Labels(widget).MnemonicsChanged();
  if (GTK_IS_CONTAINER(widget))
    gtk_container_forall(GTK_CONTAINER(widget), TellBoxesOfMnemonics, nullptr);
}

void MnemonicsVisibleChanged(GObject* window, GParamSpec*, gpointer) {
  TellBoxesOfMnemonics(GTK_WIDGET(window), nullptr);
}

// Hot keys are underlined only while the window shows mnemonics, as GTK's own labels do: the
// window tells every box inside, through one handler of its own.
void HierarchyChanged(GtkWidget* widget, GtkWidget* previous) {
  if (parentClass->hierarchy_changed != nullptr) parentClass->hierarchy_changed(widget, previous);
  GtkWidget* top = gtk_widget_get_toplevel(widget);
  if (!GTK_IS_WINDOW(top) || g_object_get_data(G_OBJECT(top), kMnemonicsWatched) != nullptr) return;
  g_object_set_data(G_OBJECT(top), kMnemonicsWatched, GINT_TO_POINTER(1));
  g_signal_connect(top, "notify::mnemonics-visible", G_CALLBACK(MnemonicsVisibleChanged), nullptr);
  g_signal_connect(top, "key-press-event", G_CALLBACK(WindowKeyPressed), nullptr);
}

void Finalize(GObject* object) {
  delete reinterpret_cast<LxFixedBox*>(object)->labels;
  G_OBJECT_CLASS(parentClass)->finalize(object);
}

void InitClass(gpointer klass, gpointer) {
  parentClass = GTK_WIDGET_CLASS(g_type_class_peek_parent(klass));
  G_OBJECT_CLASS(klass)->finalize = Finalize;
  GtkWidgetClass* widgetClass = GTK_WIDGET_CLASS(klass);
  widgetClass->get_preferred_width = PreferNothing;
  widgetClass->get_preferred_height = PreferNothing;
  widgetClass->size_allocate = AllocateChildren;
  widgetClass->draw = Draw;
  widgetClass->query_tooltip = QueryTooltip;
  widgetClass->style_updated = StyleUpdated;
  widgetClass->state_flags_changed = StateFlagsChanged;
  widgetClass->hierarchy_changed = HierarchyChanged;
  widgetClass->button_press_event = ButtonPressed;
  widgetClass->button_release_event = ButtonReleased;
  widgetClass->motion_notify_event = PointerMoved;
  widgetClass->leave_notify_event = PointerLeft;
  widgetClass->grab_broken_event = GrabBroken;
  widgetClass->key_press_event = KeyPressed;
  widgetClass->key_release_event = KeyReleased;
  widgetClass->focus = Focus;
  widgetClass->focus_in_event = FocusIn;
  widgetClass->focus_out_event = FocusOut;
}

void InitInstance(GTypeInstance* instance, gpointer) {
  reinterpret_cast<LxFixedBox*>(instance)->labels = new TBoxLabels(GTK_WIDGET(instance));
  GtkWidget* box = GTK_WIDGET(instance);
  // The framework mirrors the children itself.
  gtk_widget_set_direction(box, GTK_TEXT_DIR_LTR);
  // A window of its own for the mouse over its drawn buttons, and the focus for them.
  gtk_widget_set_has_window(box, TRUE);
  gtk_widget_set_can_focus(box, TRUE);
  gtk_widget_add_events(box, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                 GDK_POINTER_MOTION_MASK | GDK_LEAVE_NOTIFY_MASK);
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

TBoxLabels& LabelsOf(GtkWidget* box) {
  return Labels(box);
}

void SetFixedBoxGround(GtkWidget* child) {
  g_object_set_data(G_OBJECT(child), kGround, GINT_TO_POINTER(1));
}

void SetTabOrder(GtkWidget* child, int order) {
  g_object_set_data(G_OBJECT(child), kTabOrder, GINT_TO_POINTER(order + 1));
}

int TabOrderOf(GtkWidget* child) {
  const int stored = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(child), kTabOrder));
  return stored == 0 ? INT_MAX : stored - 1;
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
