// Edits drawn by their box, and the box's one real entry: placed over the edit that takes the
// focus, with its text, font, alignment and state, and hidden again when the focus goes
// elsewhere, so that a form of many edits pays for one entry instead of one each.
#include "screen/internal/ControlWidgets.h"
#include "screen/internal/DrawnLabels.h"
#include "screen/internal/FixedBox.h"

namespace lx::screen {

namespace {

TBoxLabels& LabelsOfBox(gpointer box) {
  return LabelsOf(GTK_WIDGET(box));
}

PangoAttrList* FontAttributes(const PangoFontDescription* base, const TFontFace& face) {
  PangoFontDescription* font =
      base != nullptr ? pango_font_description_copy(base) : pango_font_description_new();
  if (!face.family.empty()) pango_font_description_set_family(font, face.family.c_str());
  if (face.size > 0) pango_font_description_set_size(font, face.size * PANGO_SCALE);
  pango_font_description_set_weight(font, face.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(font, face.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  PangoAttrList* attributes = pango_attr_list_new();
  pango_attr_list_insert(attributes, pango_attr_font_desc_new(font));
  pango_font_description_free(font);
  if (face.underline)
    pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (face.strikeOut) pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
  return attributes;
}

}  // namespace

void TBoxLabels::MakeEntry() {
  entry_ = gtk_entry_new();
  gtk_entry_set_width_chars(GTK_ENTRY(entry_), 1);
  g_signal_connect(entry_, "changed", G_CALLBACK(OnEntryChanged), box_);
  g_signal_connect(entry_, "destroy", G_CALLBACK(OnEntryDestroyed), box_);
  PlaceInFixedBox(box_, entry_, 0, 0, 0, 0);
  // The focus leaving the entry, seen by its window once it has gone: the window losing the
  // focus itself leaves the entry where it is.
  GtkWidget* top = gtk_widget_get_toplevel(box_);
  if (GTK_IS_WINDOW(top)) {
    g_signal_connect_object(top, "set-focus", G_CALLBACK(OnFocusSet), entry_, G_CONNECT_AFTER);
  }
}

void TBoxLabels::FillEntry(const TDrawnLabel& item) {
  filling_ = true;
  GtkEntry* entry = GTK_ENTRY(entry_);
  if (item.look.caption != gtk_entry_get_text(entry))
    gtk_entry_set_text(entry, item.look.caption.c_str());
  // A mirrored edit's text starts at its right edge; a text of its own reads its way.
  gtk_entry_set_alignment(entry, item.look.rightToLeft ? 1.0F : 0.0F);
  ReadStyle();
  PangoAttrList* attributes = FontAttributes(font_, item.look.face);
  gtk_entry_set_attributes(entry, attributes);
  pango_attr_list_unref(attributes);
  if ((gtk_widget_get_sensitive(entry_) != 0) != item.look.enabled)
    gtk_widget_set_sensitive(entry_, item.look.enabled);
  gtk_widget_set_tooltip_text(entry_, item.look.hint.empty() ? nullptr : item.look.hint.c_str());
  const GdkRectangle& place = item.look.place;
  PlaceInFixedBox(box_, entry_, place.x, place.y, place.width, place.height);
  filling_ = false;
}

void TBoxLabels::StartEditing(TDrawnLabel& item) {
  if (focused_ != nullptr && focused_ != &item) Redraw(*focused_);
  if (editing_ != nullptr && editing_ != &item) Redraw(*editing_);
  focused_ = &item;
  editing_ = &item;
  if (entry_ == nullptr) MakeEntry();
  FillEntry(item);
  gtk_widget_show(entry_);
  gtk_widget_grab_focus(entry_);
  Redraw(item);
}

void TBoxLabels::StopEditing() {
  TDrawnLabel* item = editing_;
  editing_ = nullptr;
  if (entry_ != nullptr) gtk_widget_hide(entry_);
  if (item != nullptr) Redraw(*item);
}

// A click puts the cursor where it fell in the text the record showed, as in a real entry.
void TBoxLabels::PutCursorAt(TDrawnLabel& item, int x) {
  if (editing_ != &item || (item.line == nullptr && item.layout == nullptr)) return;
  // A shaped line shows the text; the layout alone tells where in it a point falls.
  if (item.layout == nullptr) LayOutText(item, false);
  int index = 0;
  int trailing = 0;
  const int inLayout = x - item.textPlace.x - item.layoutX;
  pango_layout_xy_to_index(item.layout, inLayout * PANGO_SCALE, 0, &index, &trailing);
  const char* text = pango_layout_get_text(item.layout);
  const glong position = g_utf8_pointer_to_offset(text, text + index) + trailing;
  gtk_editable_set_position(GTK_EDITABLE(entry_), static_cast<gint>(position));
}

// Last: the sink may run a whole modal form, or free the box, before it returns.
void TBoxLabels::OnEntryChanged(GtkEditable* entry, gpointer box) {
  TBoxLabels& labels = LabelsOfBox(box);
  if (labels.filling_ || labels.editing_ == nullptr || labels.editing_->sink == nullptr) return;
  labels.editing_->sink->TextEdited(labels.editing_->key, gtk_entry_get_text(GTK_ENTRY(entry)));
}

void TBoxLabels::OnEntryDestroyed(GtkWidget*, gpointer box) {
  TBoxLabels& labels = LabelsOfBox(box);
  labels.entry_ = nullptr;
  labels.editing_ = nullptr;
}

void TBoxLabels::OnFocusSet(GtkWindow*, GtkWidget* focus, gpointer entry) {
  GtkWidget* box = gtk_widget_get_parent(GTK_WIDGET(entry));
  if (!IsFixedBox(box)) return;
  TBoxLabels& labels = LabelsOf(box);
  if (labels.editing_ != nullptr && focus != labels.entry_) labels.StopEditing();
}

}  // namespace lx::screen
