#include "screen/internal/ControlWidgets.h"

#include <algorithm>

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/TextRoom.h"
#include "screen/internal/FixedBox.h"
#include "screen/internal/LineCells.h"
#include "screen/internal/ListLines.h"
#include "screen/internal/ScreenTexts.h"

namespace lx::screen {

using framework::TControl;

namespace {

void FreeTarget(gpointer data, GClosure*) {
  delete static_cast<TInputTarget*>(data);
}

TInputTarget& TargetOf(gpointer data) {
  return *static_cast<TInputTarget*>(data);
}

std::string BufferText(GtkTextBuffer* buffer) {
  GtkTextIter start;
  GtkTextIter end;
  gtk_text_buffer_get_bounds(buffer, &start, &end);
  gchar* text = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
  std::string result = text;
  g_free(text);
  return result;
}

void OnBufferChanged(GtkTextBuffer* buffer, gpointer data) {
  TargetOf(data).sink->TextEdited(TargetOf(data).key, BufferText(buffer));
}

std::vector<int> ChosenRows(GtkTreeSelection* selection) {
  std::vector<int> chosen;
  GList* rows = gtk_tree_selection_get_selected_rows(selection, nullptr);
  for (GList* row = rows; row != nullptr; row = row->next) {
    const gint* indices = gtk_tree_path_get_indices(static_cast<GtkTreePath*>(row->data));
    if (indices != nullptr) chosen.push_back(indices[0]);
  }
  g_list_free_full(rows, reinterpret_cast<GDestroyNotify>(gtk_tree_path_free));
  return chosen;
}

void OnSelectionChanged(GtkTreeSelection* selection, gpointer data) {
  TargetOf(data).sink->ItemsChosen(TargetOf(data).key, ChosenRows(selection));
}

void OnComboChanged(GtkComboBox* combo, gpointer data) {
  const int active = gtk_combo_box_get_active(combo);
  TargetOf(data).sink->ItemsChosen(TargetOf(data).key,
                                   active < 0 ? std::vector<int>{} : std::vector<int>{active});
}

GtkWidget* Held(GtkWidget* widget) {
  g_object_ref_sink(widget);
  return widget;
}

// A caption always gets the room of its control, never the room its text would like, so it
// need not lay its text out to be measured: a new text costs one layout, when drawn.
struct LxCaption {
  GtkLabel parent;
};

struct LxCaptionClass {
  GtkLabelClass parentClass;
};

void MeasureNothing(GtkWidget*, gint* minimum, gint* natural) {
  *minimum = 0;
  *natural = 0;
}

void MeasureNothingFor(GtkWidget*, gint, gint* minimum, gint* natural) {
  *minimum = 0;
  *natural = 0;
}

void MeasureNothingWithBaseline(GtkWidget*, gint, gint* minimum, gint* natural,
                                gint* minimumBaseline, gint* naturalBaseline) {
  *minimum = *natural = 0;
  if (minimumBaseline != nullptr) *minimumBaseline = -1;
  if (naturalBaseline != nullptr) *naturalBaseline = -1;
}

GtkSizeRequestMode ConstantSize(GtkWidget*) {
  return GTK_SIZE_REQUEST_CONSTANT_SIZE;
}

void InitCaptionClass(gpointer klass, gpointer) {
  GtkWidgetClass* widgetClass = GTK_WIDGET_CLASS(klass);
  widgetClass->get_request_mode = ConstantSize;
  widgetClass->get_preferred_width = MeasureNothing;
  widgetClass->get_preferred_height = MeasureNothing;
  widgetClass->get_preferred_width_for_height = MeasureNothingFor;
  widgetClass->get_preferred_height_for_width = MeasureNothingFor;
  widgetClass->get_preferred_height_and_baseline_for_width = MeasureNothingWithBaseline;
}

GType CaptionType() {
  static GType type = 0;
  if (type == 0) {
    type = g_type_register_static_simple(GTK_TYPE_LABEL, "LxCaption", sizeof(LxCaptionClass),
                                         InitCaptionClass, sizeof(LxCaption), nullptr,
                                         static_cast<GTypeFlags>(0));
  }
  return type;
}

// `measured`: for a frame's title, which gets the room its text would like.
GtkWidget* NewCaptionLabel(bool measured = false) {
  GtkWidget* label =
      measured ? gtk_label_new(nullptr) : GTK_WIDGET(g_object_new(CaptionType(), nullptr));
  gtk_label_set_use_underline(GTK_LABEL(label), TRUE);
  return label;
}

GtkWidget* Scrolled(GtkWidget* content) {
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_container_add(GTK_CONTAINER(scrolled), content);
  gtk_widget_show(content);
  return scrolled;
}

void MakeMemo(TControlWidgets& widgets, TInputSink& sink, const void* key) {
  widgets.content = gtk_text_view_new();
  // Memo lines wrap at the memo's width, as classic memos do by default.
  gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(widgets.content), GTK_WRAP_WORD_CHAR);
  widgets.outer = Scrolled(widgets.content);
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(widgets.content));
  ConnectInput(buffer, "changed", G_CALLBACK(OnBufferChanged), sink, key);
}

void MakeListBox(TControlWidgets& widgets, TInputSink& sink, const void* key) {
  GtkTreeModel* lines = NewListLines({});
  widgets.content = gtk_tree_view_new_with_model(lines);
  g_object_unref(lines);
  GtkTreeView* view = GTK_TREE_VIEW(widgets.content);
  gtk_tree_view_set_headers_visible(view, FALSE);
  // Lines of one height in a column as wide as the list: the view measures one line, not
  // every line of every new set of items.
  GtkTreeViewColumn* column =
      gtk_tree_view_column_new_with_attributes("", NewLineCell(), "text", 0, nullptr);
  gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
  gtk_tree_view_column_set_expand(column, TRUE);
  gtk_tree_view_append_column(view, column);
  gtk_tree_view_set_fixed_height_mode(view, TRUE);
  widgets.outer = Scrolled(widgets.content);
  ConnectInput(gtk_tree_view_get_selection(view), "changed", G_CALLBACK(OnSelectionChanged), sink,
               key);
}

void MakeComboBox(TControlWidgets& widgets, TInputSink& sink, const void* key) {
  widgets.outer = widgets.content = gtk_combo_box_text_new();
  ConnectInput(widgets.content, "changed", G_CALLBACK(OnComboChanged), sink, key);
}

// Group boxes and panels: a frame drawn behind the children, all in one box, so that the
// children keep the framework's coordinates inside their parent.
void MakeFramedBox(TControlWidgets& widgets, bool groupBox) {
  widgets.outer = widgets.box = NewFixedBox();
  widgets.content = gtk_frame_new(nullptr);
  widgets.caption = NewCaptionLabel(groupBox);
  if (groupBox) {
    gtk_frame_set_label_widget(GTK_FRAME(widgets.content), widgets.caption);
    gtk_frame_set_shadow_type(GTK_FRAME(widgets.content), GTK_SHADOW_ETCHED_IN);
  } else {
    gtk_label_set_use_underline(GTK_LABEL(widgets.caption), FALSE);
    gtk_container_add(GTK_CONTAINER(widgets.content), widgets.caption);
    gtk_frame_set_shadow_type(GTK_FRAME(widgets.content), GTK_SHADOW_OUT);
  }
  // Under the labels inside, as a classic frame is painted before its graphic controls.
  SetFixedBoxGround(widgets.content);
  gtk_widget_show(widgets.caption);
  gtk_widget_show(widgets.content);
}

void MakeContainer(TControlWidgets& widgets) {
  widgets.outer = widgets.content = widgets.box = NewFixedBox();
}

void SetCaption(GtkWidget* label, const std::string& text, bool mnemonic) {
  const std::string shown = mnemonic ? MnemonicText(text) : framework::ShownCaption(text);
  if (shown == gtk_label_get_label(GTK_LABEL(label))) return;
  if (mnemonic) {
    gtk_label_set_text_with_mnemonic(GTK_LABEL(label), shown.c_str());
  } else {
    gtk_label_set_text(GTK_LABEL(label), shown.c_str());
  }
}

void SetMemoText(GtkWidget* view, const std::string& text) {
  GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(view));
  if (text != BufferText(buffer)) gtk_text_buffer_set_text(buffer, text.c_str(), -1);
}

// New lines of as many as before go in in place (a language switch); any other change gives the
// view a new model, which it takes at once instead of line by line.
void SetRows(GtkTreeView* view, const std::vector<std::string>& items) {
  GtkTreeModel* model = gtk_tree_view_get_model(view);
  if (LinesOf(model).size() == items.size()) {
    ReplaceLines(model, items, view);
    return;
  }
  GtkTreeModel* lines = NewListLines(items);
  gtk_tree_view_set_model(view, lines);
  g_object_unref(lines);
}

void SetListItems(TControlWidgets& widgets, const TControlState& state) {
  GtkTreeView* view = GTK_TREE_VIEW(widgets.content);
  GtkTreeSelection* selection = gtk_tree_view_get_selection(view);
  gtk_tree_selection_set_mode(selection,
                              state.multiSelect ? GTK_SELECTION_MULTIPLE : GTK_SELECTION_SINGLE);
  if (LinesOf(gtk_tree_view_get_model(view)) != state.items) SetRows(view, state.items);
  if (ChosenRows(selection) == state.chosen) return;
  gtk_tree_selection_unselect_all(selection);
  for (const int row : state.chosen) {
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    gtk_tree_selection_select_path(selection, path);
    // The item chosen by the program comes into view, as a list box shows it.
    if (row == state.chosen.front()) gtk_tree_view_scroll_to_cell(view, path, nullptr, FALSE, 0, 0);
    gtk_tree_path_free(path);
  }
}

void SetComboItems(TControlWidgets& widgets, const TControlState& state) {
  GtkComboBoxText* combo = GTK_COMBO_BOX_TEXT(widgets.content);
  if (widgets.items != state.items) {
    gtk_combo_box_text_remove_all(combo);
    for (const std::string& item : state.items)
      gtk_combo_box_text_append_text(combo, item.c_str());
    widgets.items = state.items;
  }
  const int active = state.chosen.empty() ? -1 : state.chosen.front();
  if (gtk_combo_box_get_active(GTK_COMBO_BOX(combo)) != active)
    gtk_combo_box_set_active(GTK_COMBO_BOX(combo), active);
}

void UpdateContent(TControlWidgets& widgets, const TControlState& state) {
  switch (widgets.kind) {
    case TWidgetKind::GroupBox:
      SetCaption(widgets.caption, state.text, true);
      break;
    case TWidgetKind::Panel:
      SetCaption(widgets.caption, state.text, false);
      break;
    case TWidgetKind::Memo:
      SetMemoText(widgets.content, state.text);
      break;
    case TWidgetKind::ListBox:
      SetListItems(widgets, state);
      break;
    case TWidgetKind::ComboBox:
      SetComboItems(widgets, state);
      break;
    case TWidgetKind::Label:
    case TWidgetKind::Edit:
    case TWidgetKind::Button:
    case TWidgetKind::CheckBox:
    case TWidgetKind::RadioButton:
    case TWidgetKind::Container:
    case TWidgetKind::None:
      break;
  }
  if (widgets.box != nullptr && widgets.content != widgets.box) {
    PlaceInFixedBox(widgets.box, widgets.content, 0, 0, state.width, state.height);
  }
}

void SetDirection(GtkWidget* widget, bool rightToLeft, TDirectionChanges& changes) {
  // Boxes keep left to right: the framework has placed their children already.
  if (widget == nullptr || IsFixedBox(widget)) return;
  const GtkTextDirection direction = rightToLeft ? GTK_TEXT_DIR_RTL : GTK_TEXT_DIR_LTR;
  if (gtk_widget_get_direction(widget) != direction) changes.push_back({widget, direction});
}

void SetHint(GtkWidget* widget, const std::string& hint) {
  // A box answers for its own hint and for its labels' hints itself.
  if (IsFixedBox(widget)) {
    LabelsOf(widget).SetOwnHint(hint);
    return;
  }
  gchar* current = gtk_widget_get_tooltip_text(widget);
  const bool same = current == nullptr ? hint.empty() : hint == current;
  g_free(current);
  if (!same) gtk_widget_set_tooltip_text(widget, hint.empty() ? nullptr : hint.c_str());
}

TDrawnKind DrawnKindOf(TWidgetKind kind) {
  switch (kind) {
    case TWidgetKind::Button:
      return TDrawnKind::Button;
    case TWidgetKind::CheckBox:
      return TDrawnKind::CheckBox;
    case TWidgetKind::RadioButton:
      return TDrawnKind::RadioButton;
    case TWidgetKind::Edit:
      return TDrawnKind::Edit;
    default:
      return TDrawnKind::Label;
  }
}

}  // namespace

// Edits, whose new direction would make GTK work out the style of much around them anew, show
// it by their alignment.
bool IsDrawn(TWidgetKind kind) {
  return kind == TWidgetKind::Label || kind == TWidgetKind::Button ||
         kind == TWidgetKind::CheckBox || kind == TWidgetKind::RadioButton ||
         kind == TWidgetKind::Edit;
}

TWidgetKind KindOf(const TControl& control) {
  using namespace framework;
  if (dynamic_cast<const TLabel*>(&control) != nullptr) return TWidgetKind::Label;
  if (dynamic_cast<const TButton*>(&control) != nullptr) return TWidgetKind::Button;
  if (dynamic_cast<const TCheckBox*>(&control) != nullptr) return TWidgetKind::CheckBox;
  if (dynamic_cast<const TRadioButton*>(&control) != nullptr) return TWidgetKind::RadioButton;
  if (dynamic_cast<const TCustomMemo*>(&control) != nullptr) return TWidgetKind::Memo;
  if (dynamic_cast<const TCustomEdit*>(&control) != nullptr) return TWidgetKind::Edit;
  if (dynamic_cast<const TCustomListBox*>(&control) != nullptr) return TWidgetKind::ListBox;
  if (dynamic_cast<const TCustomComboBox*>(&control) != nullptr) return TWidgetKind::ComboBox;
  if (dynamic_cast<const TGroupBox*>(&control) != nullptr) return TWidgetKind::GroupBox;
  if (dynamic_cast<const TPanel*>(&control) != nullptr) return TWidgetKind::Panel;
  if (dynamic_cast<const TWinControl*>(&control) != nullptr) return TWidgetKind::Container;
  return TWidgetKind::None;
}

void ConnectInput(gpointer instance, const char* signal, GCallback handler, TInputSink& sink,
                  const void* key) {
  g_signal_connect_data(instance, signal, handler, new TInputTarget{&sink, key}, FreeTarget,
                        static_cast<GConnectFlags>(0));
}

TControlWidgets MakeWidgets(TWidgetKind kind, const void* key, TInputSink& sink,
                            GtkWidget* parentBox) {
  TControlWidgets widgets;
  widgets.kind = kind;
  widgets.parentBox = parentBox;
  if (IsDrawn(kind)) {
    if (parentBox != nullptr)
      widgets.drawn = AddDrawnLabel(parentBox, key, DrawnKindOf(kind), &sink);
    return widgets;
  }
  switch (kind) {
    case TWidgetKind::Memo:
      MakeMemo(widgets, sink, key);
      break;
    case TWidgetKind::ListBox:
      MakeListBox(widgets, sink, key);
      break;
    case TWidgetKind::ComboBox:
      MakeComboBox(widgets, sink, key);
      break;
    case TWidgetKind::GroupBox:
    case TWidgetKind::Panel:
      MakeFramedBox(widgets, kind == TWidgetKind::GroupBox);
      break;
    default:
      MakeContainer(widgets);
      break;
  }
  if (widgets.content != widgets.outer) gtk_widget_show(widgets.content);
  Held(widgets.outer);
  return widgets;
}

void ApplyDirections(const TDirectionChanges& changes) {
  for (auto change = changes.rbegin(); change != changes.rend(); ++change)
    gtk_widget_set_direction(change->widget, change->direction);
}

TLabelLook LabelLookOf(const TControlState& state) {
  TLabelLook look;
  look.place = {state.left, state.top, std::max(state.width, 0), std::max(state.height, 0)};
  look.caption = state.text;
  look.hint = state.hint;
  look.face = state.face;
  look.enabled = state.enabled;
  look.visible = state.visible;
  look.rightToLeft = state.rightToLeft;
  look.checked = state.checked;
  return look;
}

bool UpdateWidgets(TControlWidgets& widgets, const TControlState& state, TFontClasses& fonts,
                   TDirectionChanges* directions) {
  if (widgets.updated && widgets.shown == state) return false;
  if (IsDrawn(widgets.kind)) {
    if (widgets.drawn != nullptr) SetDrawnLabel(*widgets.drawn, LabelLookOf(state));
    widgets.shown = state;
    widgets.updated = true;
    return true;
  }
  UpdateContent(widgets, state);
  TDirectionChanges own;
  TDirectionChanges& changes = directions != nullptr ? *directions : own;
  for (GtkWidget* part :
       {widgets.outer, widgets.content,
        widgets.caption}) {  // A widget that is both outer and content changes once.
    if (!changes.empty() && changes.back().widget == part) continue;
    SetDirection(part, state.rightToLeft, changes);
  }
  ApplyDirections(own);
  // Captions inside buttons and frames inherit the font.
  fonts.Apply(widgets.content, widgets.fontCss, state.fontCss);
  SetHint(widgets.outer, state.hint);
  if ((gtk_widget_get_sensitive(widgets.outer) != 0) != state.enabled)
    gtk_widget_set_sensitive(widgets.outer, state.enabled);
  if ((gtk_widget_get_visible(widgets.outer) != 0) != state.visible)
    gtk_widget_set_visible(widgets.outer, state.visible);
  widgets.shown = state;
  widgets.updated = true;
  return true;
}

void DestroyWidgets(TControlWidgets& widgets) {
  if (widgets.drawn != nullptr) {
    RemoveDrawnLabel(widgets.drawn);
    widgets.drawn = nullptr;
  }
  if (widgets.outer != nullptr) {
    gtk_widget_destroy(widgets.outer);
    g_object_unref(widgets.outer);
    widgets.outer = nullptr;
  }
}

}  // namespace lx::screen
