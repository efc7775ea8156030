#include "screen/EditMode.h"

#include <gtk/gtk.h>

#include <utility>

#include "framework/controls/Forms.h"
#include "screen/Screen.h"
#include "screen/internal/FixedBox.h"
#include "screen/internal/GtkBackend.h"

namespace lx::screen {

namespace {

struct TEditMode {
  TTextEditor editor;
  bool handlerSet = false;
  bool editing = false;
};

TEditMode& Mode() {
  static TEditMode mode;
  return mode;
}

constexpr auto kChordModifiers = GDK_CONTROL_MASK | GDK_SHIFT_MASK;

bool ChordHeld(guint state) {
  return (state & gtk_accelerator_get_default_mod_mask()) == kChordModifiers;
}

// ---- Which control

bool Shows(const TControlWidgets& widgets, GtkWidget* widget) {
  for (GtkWidget* own : {widgets.outer, widgets.content, widgets.caption}) {
    if (own != nullptr && (own == widget || gtk_widget_is_ancestor(widget, own))) return true;
  }
  return false;
}

// The innermost control of `parent` whose widgets hold `widget`.
framework::TControl* ControlShowing(const framework::TWinControl& parent, GtkWidget* widget) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    framework::TControl* control = parent.Controls(i);
    if (const auto* container = dynamic_cast<const framework::TWinControl*>(control)) {
      if (framework::TControl* inner = ControlShowing(*container, widget)) return inner;
    }
    const TControlWidgets* widgets = Backend()->WidgetsOf(*control);
    if (widgets != nullptr && Shows(*widgets, widget)) return control;
  }
  return nullptr;
}

// The control of `parent`, or of a container inside, whose record is `drawn`.
framework::TControl* ControlDrawn(const framework::TWinControl& parent, const TDrawnLabel* drawn) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    framework::TControl* control = parent.Controls(i);
    const TControlWidgets* widgets = Backend()->WidgetsOf(*control);
    if (widgets != nullptr && widgets->drawn == drawn) return control;
    if (const auto* container = dynamic_cast<const framework::TWinControl*>(control)) {
      if (framework::TControl* inner = ControlDrawn(*container, drawn)) return inner;
    }
  }
  return nullptr;
}

// The innermost visible control of `parent` at (x, y) in the parent's coordinates.
framework::TControl* ControlAt(const framework::TWinControl& parent, int x, int y) {
  for (int i = parent.ControlCount() - 1; i >= 0; --i) {
    framework::TControl* control = parent.Controls(i);
    if (!control->Visible() || x < control->Left() || y < control->Top() ||
        x >= control->Left() + control->Width() || y >= control->Top() + control->Height()) {
      continue;
    }
    if (const auto* container = dynamic_cast<const framework::TWinControl*>(control)) {
      if (framework::TControl* inner =
              ControlAt(*container, x - control->Left(), y - control->Top())) {
        return inner;
      }
    }
    return control;
  }
  return nullptr;
}

framework::TCustomForm* FormOfWindow(GtkWidget* window) {
  framework::TScreen& screen = framework::Screen();
  for (int i = 0; i < screen.FormCount(); ++i) {
    framework::TCustomForm* form = screen.Forms(i);
    if (Backend()->WindowOf(*form) == window) return form;
  }
  return nullptr;
}

GtkWidget* WidgetOf(GdkWindow* window) {
  gpointer widget = nullptr;
  if (window != nullptr) gdk_window_get_user_data(window, &widget);
  return widget != nullptr ? GTK_WIDGET(widget) : nullptr;
}

framework::TControl* FocusedControl(GtkWidget* widget) {
  GtkWidget* window = gtk_widget_get_toplevel(widget);
  framework::TCustomForm* form = FormOfWindow(window);
  if (form == nullptr) return nullptr;
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
  // A box with the focus holds it for one of its drawn buttons; its entry for an edit.
  GtkWidget* parent = focus != nullptr ? gtk_widget_get_parent(focus) : nullptr;
  const TDrawnLabel* drawn = IsFixedBox(focus) ? LabelsOf(focus).Focused()
                             : IsFixedBox(parent) && LabelsOf(parent).Entry() == focus
                                 ? LabelsOf(parent).Editing()
                                 : nullptr;
  framework::TControl* control = drawn != nullptr   ? ControlDrawn(*form, drawn)
                                 : focus != nullptr ? ControlShowing(*form, focus)
                                                    : nullptr;
  return control != nullptr ? control : form;
}

framework::TControl* ClickedControl(GtkWidget* widget, double x, double y) {
  framework::TCustomForm* form = FormOfWindow(gtk_widget_get_toplevel(widget));
  GtkWidget* box = form != nullptr ? Backend()->BoxOf(*form) : nullptr;
  int boxX = 0, boxY = 0;
  if (box == nullptr || !gtk_widget_translate_coordinates(widget, box, static_cast<int>(x),
                                                          static_cast<int>(y), &boxX, &boxY)) {
    return nullptr;
  }
  framework::TControl* control = ControlAt(*form, boxX, boxY);
  return control != nullptr ? control : form;
}

// ---- The dialog

GtkWidget* AddRow(GtkWidget* grid, int row, const char* name, GtkWidget* value) {
  GtkWidget* label = gtk_label_new(name);
  gtk_widget_set_halign(label, GTK_ALIGN_END);
  gtk_grid_attach(GTK_GRID(grid), label, 0, row, 1, 1);
  gtk_widget_set_hexpand(value, TRUE);
  gtk_grid_attach(GTK_GRID(grid), value, 1, row, 1, 1);
  return value;
}

GtkWidget* ValueLabel(const std::string& text) {
  GtkWidget* label = gtk_label_new(text.c_str());
  gtk_label_set_selectable(GTK_LABEL(label), TRUE);
  gtk_widget_set_halign(label, GTK_ALIGN_START);
  return label;
}

bool RunDialog(framework::TControl& control, const TEditableText& text) {
  auto* form = dynamic_cast<framework::TCustomForm*>(&control);
  if (form == nullptr) form = framework::GetParentForm(&control);
  GtkWidget* parent = form != nullptr ? Backend()->WindowOf(*form) : nullptr;
  GtkWidget* dialog = gtk_dialog_new_with_buttons(
      "Edit the translation", parent != nullptr ? GTK_WINDOW(parent) : nullptr,
      static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT), "_Cancel",
      GTK_RESPONSE_CANCEL, "_Save", GTK_RESPONSE_ACCEPT, nullptr);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 4);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 8);
  gtk_container_set_border_width(GTK_CONTAINER(grid), 8);
  AddRow(grid, 0, "Key", ValueLabel(text.key));
  AddRow(grid, 1, "Native text", ValueLabel(text.native));
  GtkWidget* entry = AddRow(grid, 2, "Translation", gtk_entry_new());
  gtk_entry_set_text(GTK_ENTRY(entry), text.translation.c_str());
  gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
  AddRow(grid, 3, "Room", ValueLabel(text.room.empty() ? "not known" : text.room));
  GtkWidget* message = ValueLabel("");
  gtk_grid_attach(GTK_GRID(grid), message, 0, 4, 2, 1);
  gtk_container_add(GTK_CONTAINER(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), grid);
  gtk_widget_show_all(dialog);
  bool saved = false;
  while (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
    const std::string error = Mode().editor.save(control, gtk_entry_get_text(GTK_ENTRY(entry)));
    if (error.empty()) {
      saved = true;
      break;
    }
    gtk_label_set_text(GTK_LABEL(message), error.c_str());
  }
  gtk_widget_destroy(dialog);
  return saved;
}

// ---- The chord and the click

void OnEvent(GdkEvent* event, gpointer) {
  framework::TControl* control = nullptr;
  if (Mode().editor.find && !Mode().editing && Backend() != nullptr) {
    if (event->type == GDK_KEY_PRESS && ChordHeld(event->key.state) &&
        gdk_keyval_to_lower(event->key.keyval) == GDK_KEY_e) {
      if (GtkWidget* widget = WidgetOf(event->key.window)) control = FocusedControl(widget);
    } else if (event->type == GDK_BUTTON_PRESS && event->button.button == 1 &&
               ChordHeld(event->button.state)) {
      if (GtkWidget* widget = WidgetOf(event->button.window))
        control = ClickedControl(widget, event->button.x, event->button.y);
    }
  }
  if (control == nullptr) {
    gtk_main_do_event(event);
    return;
  }
  // A control without a text of its own leaves the window's title to edit.
  if (!Mode().editor.find(*control)) {
    if (framework::TCustomForm* form = framework::GetParentForm(control)) control = form;
  }
  EditText(*control);
}

}  // namespace

void SetTextEditor(TTextEditor editor) {
  Mode().editor = std::move(editor);
  const bool on = Installed() && Mode().editor.find;
  if (on && !Mode().handlerSet) {
    gdk_event_handler_set(OnEvent, nullptr, nullptr);
    Mode().handlerSet = true;
  } else if (!on && Mode().handlerSet) {
    // GTK's own handler, as gtk_init set it.
    gdk_event_handler_set([](GdkEvent* event, gpointer) { gtk_main_do_event(event); }, nullptr,
                          nullptr);
    Mode().handlerSet = false;
  }
}

bool EditModeOn() {
  return Mode().handlerSet;
}

bool EditText(framework::TControl& control) {
  if (!EditModeOn() || Mode().editing) return false;
  const std::optional<TEditableText> text = Mode().editor.find(control);
  if (!text) return false;
  Mode().editing = true;
  const bool saved = RunDialog(control, *text);
  Mode().editing = false;
  return saved;
}

}  // namespace lx::screen
