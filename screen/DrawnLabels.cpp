#include "screen/internal/DrawnLabels.h"

#include <algorithm>

#include "framework/controls/TextRoom.h"
#include "screen/internal/FixedBox.h"
#include "screen/internal/GlyphBatch.h"

namespace lx::screen {

namespace {

bool SamePlace(const GdkRectangle& a, const GdkRectangle& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

bool Contains(const GdkRectangle& r, int x, int y) {
  return x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height;
}

// Boxes holding areas to redraw until the outermost batch ends.
int batches = 0;
std::vector<TBoxLabels*>& Waiting() {
  static std::vector<TBoxLabels*> boxes;
  return boxes;
}
// Beyond this many areas a box queues the one rectangle around them all.
constexpr std::size_t kDamageAreas = 16;

bool Hinted(const TLabelLook& look) {
  return look.visible && !look.hint.empty();
}

// The style a label would have as a child of the box: the theme may colour labels apart from
// their parents (a disabled label, most of all).
GtkStyleContext* NewLabelStyle(GtkWidget* box) {
  GtkWidgetPath* path = gtk_widget_path_copy(gtk_widget_get_path(box));
  gtk_widget_path_append_type(path, GTK_TYPE_LABEL);
  gtk_widget_path_iter_set_object_name(path, -1, "label");
  GtkStyleContext* style = gtk_style_context_new();
  gtk_style_context_set_screen(style, gtk_widget_get_screen(box));
  gtk_style_context_set_path(style, path);
  gtk_style_context_set_parent(style, gtk_widget_get_style_context(box));
  gtk_widget_path_unref(path);
  return style;
}

GdkRGBA ColourIn(GtkStyleContext* style, GtkStateFlags state) {
  GdkRGBA colour;
  gtk_style_context_set_state(style, state);
  gtk_style_context_get_color(style, state, &colour);
  return colour;
}

PangoFontDescription* FontOf(const PangoFontDescription* base, const TFontFace& face) {
  PangoFontDescription* font = pango_font_description_copy(base);
  if (!face.family.empty()) pango_font_description_set_family(font, face.family.c_str());
  if (face.size > 0) pango_font_description_set_size(font, face.size * PANGO_SCALE);
  pango_font_description_set_weight(font, face.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(font, face.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return font;
}

void Insert(PangoAttrList* attributes, PangoAttribute* attribute, std::size_t start,
            std::size_t end) {
  attribute->start_index = static_cast<guint>(start);
  attribute->end_index = static_cast<guint>(end);
  pango_attr_list_insert(attributes, attribute);
}

// The font's lines over the whole text; each hot key underlined low, as GTK marks mnemonics.
PangoAttrList* AttributesOf(const TDrawnLabel& label, bool underlineHotKeys) {
  PangoAttrList* attributes = pango_attr_list_new();
  const std::size_t all = label.text.size();
  if (label.look.face.underline)
    Insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE), 0, all);
  if (label.look.face.strikeOut) Insert(attributes, pango_attr_strikethrough_new(TRUE), 0, all);
  if (underlineHotKeys) {
    for (const std::size_t at : label.hotKeys) {
      const char* start = label.text.c_str() + at;
      const std::size_t end =
          static_cast<std::size_t>(g_utf8_next_char(start) - label.text.c_str());
      Insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_LOW), at, end);
    }
  }
  return attributes;
}

void DropText(TDrawnLabel& label) {
  g_clear_object(&label.layout);
  label.line.reset();
}

bool LaidOut(const TDrawnLabel& label) {
  return label.layout != nullptr || label.line != nullptr;
}

bool MnemonicsShown(GtkWidget* box) {
  GtkWidget* top = gtk_widget_get_toplevel(box);
  return GTK_IS_WINDOW(top) && gtk_window_get_mnemonics_visible(GTK_WINDOW(top)) != 0;
}

}  // namespace

bool Within(const GdkRectangle& inner, const GdkRectangle& outer) {
  return inner.width <= 0 || inner.height <= 0 ||
         (inner.x >= outer.x && inner.y >= outer.y &&
          inner.x + inner.width <= outer.x + outer.width &&
          inner.y + inner.height <= outer.y + outer.height);
}

bool TLabelLook::operator==(const TLabelLook& other) const {
  return SamePlace(place, other.place) && caption == other.caption && hint == other.hint &&
         face == other.face && enabled == other.enabled && visible == other.visible &&
         rightToLeft == other.rightToLeft && checked == other.checked;
}

TDrawnLabel::~TDrawnLabel() {
  g_clear_object(&layout);
}

TBoxLabels::~TBoxLabels() {
  if (!damage_.empty()) std::erase(Waiting(), this);
  labels_.clear();
  if (font_ != nullptr) pango_font_description_free(font_);
  DropContexts();
  for (auto& [key, style] : styles_)
    g_object_unref(style);
  styles_.clear();
  DropPictures();
}

TDrawnLabel* TBoxLabels::Add(const void* key, TDrawnKind kind, TInputSink* sink) {
  auto label = std::make_unique<TDrawnLabel>();
  label->box = box_;
  label->key = key;
  label->kind = kind;
  label->sink = sink;
  labels_.push_back(std::move(label));
  return labels_.back().get();
}

void TBoxLabels::Remove(TDrawnLabel* label) {
  const auto found = std::find_if(labels_.begin(), labels_.end(),
                                  [label](const auto& own) { return own.get() == label; });
  if (found == labels_.end()) return;
  if (label->look.visible) Redraw(*label);
  if (Hinted(label->look)) --hinted_;
  if (label == editing_) StopEditing();
  for (TDrawnLabel** state : {&focused_, &pressed_, &hover_}) {
    if (*state == label) *state = nullptr;
  }
  labels_.erase(found);
  UpdateHasTooltip();
}

void TBoxLabels::MoveTo(TDrawnLabel& label, std::size_t order) {
  if (order < labels_.size() && labels_[order].get() == &label) return;
  const auto found = std::find_if(labels_.begin(), labels_.end(),
                                  [&label](const auto& own) { return own.get() == &label; });
  if (found == labels_.end()) return;
  const auto to =
      labels_.begin() + static_cast<std::ptrdiff_t>(std::min(order, labels_.size() - 1));
  if (to < found) {
    std::rotate(to, found, found + 1);
  } else {
    std::rotate(found, found + 1, to + 1);
  }
  if (label.look.visible) Redraw(label);
}

void TBoxLabels::Set(TDrawnLabel& label, const TLabelLook& look) {
  if (label.look == look) return;
  TLabelLook drawnAlike = label.look;
  drawnAlike.hint = look.hint;
  const bool redraw = !(drawnAlike == look);
  if (redraw && label.look.visible) Redraw(label);
  const TLabelLook& old = label.look;
  const bool turned = old.rightToLeft != look.rightToLeft;
  if (old.caption != look.caption || !(old.face == look.face) ||
      old.place.width != look.place.width || (turned && !HasOwnDirection(label.text))) {
    DropText(label);
  }
  if (old.caption != look.caption && label.kind == TDrawnKind::Edit) {
    label.text = look.caption;  // no hot keys in what is typed
  } else if (old.caption != look.caption) {
    label.text = framework::ShownCaption(look.caption);
    label.hotKeys = HotKeyPlaces(look.caption);
  }
  hinted_ += (Hinted(look) ? 1 : 0) - (Hinted(old) ? 1 : 0);
  label.look = look;
  // A text of its own direction reads the same in either paragraph (a layout takes its
  // paragraph's direction from its text then): only its place turns.
  if (turned && LaidOut(label)) PlaceText(label);
  // Laid out now, so that the new area is known before it is drawn; a box not on screen yet
  // lays its labels out when first drawn, in the style it gets there.
  if (redraw && look.visible && gtk_widget_get_realized(box_)) {
    ReadStyle();
    LayoutOf(label, MnemonicsShown(box_) && !label.hotKeys.empty());
    Redraw(label);
  }
  UpdateHasTooltip();
  // The entry over the edit takes what the program sets, or goes when the edit can no longer
  // be typed into.
  if (&label != editing_) return;
  if (look.visible && look.enabled) {
    FillEntry(label);
  } else {
    StopEditing();
  }
}

const TDrawnLabel* TBoxLabels::At(int x, int y) const {
  for (auto label = labels_.rbegin(); label != labels_.rend(); ++label) {
    if ((*label)->look.visible && Contains((*label)->look.place, x, y)) return label->get();
  }
  return nullptr;
}

bool TBoxLabels::Tooltip(int x, int y, bool keyboard, GtkTooltip* tooltip) const {
  const TDrawnLabel* label = keyboard ? (gtk_widget_is_focus(box_) ? focused_ : nullptr) : At(x, y);
  if (label != nullptr && !label->look.hint.empty()) {
    gtk_tooltip_set_text(tooltip, label->look.hint.c_str());
    gtk_tooltip_set_tip_area(tooltip, &label->look.place);
    return true;
  }
  if (ownHint_.empty()) return false;
  gtk_tooltip_set_text(tooltip, ownHint_.c_str());
  return true;
}

void TBoxLabels::SetOwnHint(const std::string& hint) {
  if (hint == ownHint_) return;
  ownHint_ = hint;
  UpdateHasTooltip();
}

void TBoxLabels::UpdateHasTooltip() {
  const bool wanted = hinted_ > 0 || !ownHint_.empty();
  if ((gtk_widget_get_has_tooltip(box_) != 0) != wanted) gtk_widget_set_has_tooltip(box_, wanted);
}

void TBoxLabels::Redraw(const TDrawnLabel& label) {
  GdkRectangle area = label.look.place;
  if (label.area.height > 0) gdk_rectangle_union(&area, &label.area, &area);
  if (area.width > 0 && area.height > 0) Queue(area);
}

void TBoxLabels::Queue(const GdkRectangle& area) {
  if (batches == 0) {
    gtk_widget_queue_draw_area(box_, area.x, area.y, area.width, area.height);
    return;
  }
  if (damage_.empty()) Waiting().push_back(this);
  if (damage_.size() < kDamageAreas) {
    damage_.push_back(area);
    return;
  }
  GdkRectangle all = area;
  for (const GdkRectangle& each : damage_)
    gdk_rectangle_union(&all, &each, &all);
  damage_.assign(1, all);
}

TRedrawBatch::TRedrawBatch() {
  ++batches;
}

TRedrawBatch::~TRedrawBatch() {
  if (--batches > 0) return;
  std::vector<TBoxLabels*> boxes;
  boxes.swap(Waiting());
  for (TBoxLabels* box : boxes) {
    std::vector<GdkRectangle> areas;
    areas.swap(box->damage_);
    for (const GdkRectangle& area : areas)
      gtk_widget_queue_draw_area(box->box_, area.x, area.y, area.width, area.height);
  }
}

void TBoxLabels::DropLayouts() {
  for (const auto& label : labels_)
    DropText(*label);
}

void TBoxLabels::StyleChanged() {
  styleRead_ = false;
  for (TMarkMetrics& mark : marks_)
    mark.read = false;
  for (TFrameInset& inset : insets_)
    inset.read = false;
  for (auto& [key, style] : styles_)
    g_object_unref(style);
  styles_.clear();
  colours_.clear();
  DropPictures();
}

void TBoxLabels::MnemonicsChanged() {
  const bool shown = MnemonicsShown(box_);
  ReadStyle();
  for (const auto& label : labels_) {
    if (!label->look.visible || label->hotKeys.empty()) continue;
    Redraw(*label);
    LayoutOf(*label, shown);
    Redraw(*label);
  }
}

void TBoxLabels::ReadStyle() {
  if (styleRead_) return;
  styleRead_ = true;
  GtkStyleContext* style = NewLabelStyle(box_);
  const GtkStateFlags state = gtk_widget_get_state_flags(box_);
  colour_ = ColourIn(style, state);
  PangoFontDescription* font = nullptr;
  gtk_style_context_get(style, state, "font", &font, nullptr);
  insensitive_ = ColourIn(style, static_cast<GtkStateFlags>(state | GTK_STATE_FLAG_INSENSITIVE));
  g_object_unref(style);
  // A new state alone (the window in the background) leaves the fonts, and so the layouts.
  if (font_ != nullptr && font != nullptr && pango_font_description_equal(font_, font)) {
    pango_font_description_free(font);
    return;
  }
  if (font_ != nullptr) pango_font_description_free(font_);
  font_ = font != nullptr ? font : pango_font_description_new();
  DropLayouts();
  DropContexts();
  for (const bool rightToLeft : {false, true}) {
    PangoContext*& context = contexts_[rightToLeft ? 1 : 0];
    context = gtk_widget_create_pango_context(box_);
    pango_context_set_base_dir(context, rightToLeft ? PANGO_DIRECTION_RTL : PANGO_DIRECTION_LTR);
    lineItems_[rightToLeft ? 1 : 0] = std::make_unique<TLineItems>(context);
  }
}

void TBoxLabels::DropContexts() {
  for (auto& items : lineItems_)
    items.reset();
  for (PangoContext*& context : contexts_)
    g_clear_object(&context);
}

// A plain text (no lines under or through it) on one line is shaped as one line: an edit's
// always, as it is cut off at its border, a caption when it fits or is cut short here. Any
// other gets a layout, which cuts it short with an ellipsis.
bool TBoxLabels::ShapeLine(TDrawnLabel& label, bool underlineHotKeys) {
  // A line is made for the plain text it still shows: a new text or face drops it.
  if (label.line != nullptr && !underlineHotKeys) return true;
  label.line.reset();
  const TFontFace& face = label.look.face;
  const bool plain =
      !underlineHotKeys && !face.underline && !face.strikeOut && IsOneLine(label.text);
  if (!plain || label.layout != nullptr) return false;
  PlaceText(label);
  PangoFontDescription* font = FontOf(font_, face);
  const bool edit = label.kind == TDrawnKind::Edit;
  const int room = label.textPlace.width * PANGO_SCALE;
  auto line = std::make_unique<TShapedLine>(*lineItems_[label.look.rightToLeft ? 1 : 0], font,
                                            label.text, edit ? -1 : room);
  pango_font_description_free(font);
  if (edit || line->Width() <= room) label.line = std::move(line);
  return label.line != nullptr;
}

PangoLayout* TBoxLabels::LayoutOf(TDrawnLabel& label, bool underlineHotKeys) {
  PangoRectangle ink;
  PangoRectangle logical;
  if (ShapeLine(label, underlineHotKeys)) {
    ink = label.line->Ink();
    logical = label.line->Logical();
  } else {
    LayOutText(label, underlineHotKeys);
    pango_layout_get_pixel_extents(label.layout, &ink, &logical);
  }
  PlaceLaidOut(label, ink, logical);
  return label.layout;
}

void TBoxLabels::LayOutText(TDrawnLabel& label, bool underlineHotKeys) {
  const bool made = label.layout == nullptr;
  if (made) {
    const bool rightToLeft = label.look.rightToLeft;
    label.layout = pango_layout_new(contexts_[rightToLeft ? 1 : 0]);
    pango_layout_set_text(label.layout, label.text.c_str(), static_cast<int>(label.text.size()));
    PangoFontDescription* font = FontOf(font_, label.look.face);
    pango_layout_set_font_description(label.layout, font);
    pango_font_description_free(font);
    // One line, cut short with an ellipsis within the label rather than drawn over its
    // neighbours.
    PlaceText(label);
    if (label.kind == TDrawnKind::Edit) {
      // An edit shows its text on one line from its start, cut off at its border.
      pango_layout_set_single_paragraph_mode(label.layout, TRUE);
    } else {
      pango_layout_set_width(label.layout, label.textPlace.width * PANGO_SCALE);
      pango_layout_set_ellipsize(label.layout, PANGO_ELLIPSIZE_END);
    }
    pango_layout_set_alignment(label.layout, rightToLeft ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT);
  }
  if (made || label.layoutUnderlinesHotKeys != underlineHotKeys) {
    PangoAttrList* attributes = AttributesOf(label, underlineHotKeys);
    pango_layout_set_attributes(label.layout, attributes);
    pango_attr_list_unref(attributes);
    label.layoutUnderlinesHotKeys = underlineHotKeys;
  }
}

// The text starts at the room's left edge, or its right edge when right to left, whichever
// way its own characters read; a button's caption is centred.
void TBoxLabels::PlaceLaidOut(TDrawnLabel& label, const PangoRectangle& ink,
                              const PangoRectangle& logical) {
  const GdkRectangle& room = label.textPlace;
  if (label.kind == TDrawnKind::Button) {
    label.layoutX = (room.width - logical.width) / 2 - logical.x;
  } else {
    label.layoutX = label.look.rightToLeft ? room.width - logical.width - logical.x : -logical.x;
  }
  label.layoutY = label.kind == TDrawnKind::Label ? 0 : (room.height - logical.height) / 2;
  const GdkRectangle& place = label.look.place;
  const int inkTop = room.y + label.layoutY + ink.y;
  const int top = std::min(place.y, inkTop);
  const int bottom = std::max(place.y + place.height, inkTop + ink.height);
  label.area = {place.x, top, place.width, bottom - top};
  // A button's text is cut to its room inside the border as well.
  GdkRectangle bounds = label.area;
  if (label.kind != TDrawnKind::Label) gdk_rectangle_intersect(&room, &label.area, &bounds);
  label.inkInside = Within({room.x + label.layoutX + ink.x, inkTop, ink.width, ink.height}, bounds);
}

void TBoxLabels::Draw(cairo_t* cr) {
  GdkRectangle clip;
  if (labels_.empty() || !gdk_cairo_get_clip_rectangle(cr, &clip)) return;
  ReadStyle();
  const bool mnemonics = MnemonicsShown(box_);
  TGlyphBatch batch(cr, clip);
  for (const auto& label : labels_) {
    const TLabelLook& look = label->look;
    if (!look.visible || (label->text.empty() && label->kind == TDrawnKind::Label)) continue;
    // The entry over it shows it.
    if (label.get() == editing_) continue;
    // A label laid out already and clear of the clip is passed by without a look at its text.
    if (LaidOut(*label) && !gdk_rectangle_intersect(&label->area, &clip, nullptr)) continue;
    PangoLayout* layout = LayoutOf(*label, mnemonics && !label->hotKeys.empty());
    if (!gdk_rectangle_intersect(&label->area, &clip, nullptr)) continue;
    if (label->kind != TDrawnKind::Label) {
      DrawItem(cr, batch, *label, layout);
      continue;
    }
    DrawLabel(cr, batch, *label, layout);
  }
}

void TBoxLabels::DrawLabel(cairo_t* cr, TGlyphBatch& batch, const TDrawnLabel& label,
                           PangoLayout* layout) {
  const TLabelLook& look = label.look;
  const GdkRGBA& colour = look.enabled ? colour_ : insensitive_;
  const int x = look.place.x + label.layoutX;
  if (label.line != nullptr && label.inkInside) {
    batch.Show(*label.line, x, look.place.y, colour);
    return;
  }
  // A clip costs more than the text it cuts: only text reaching out of its area gets one.
  batch.Before(label.area);
  if (!label.inkInside) {
    cairo_save(cr);
    gdk_cairo_rectangle(cr, &label.area);
    cairo_clip(cr);
  }
  gdk_cairo_set_source_rgba(cr, &colour);
  cairo_move_to(cr, x, look.place.y);
  if (label.line != nullptr) {
    label.line->Draw(cr);
  } else {
    pango_cairo_show_layout(cr, layout);
  }
  if (!label.inkInside) cairo_restore(cr);
}

TDrawnLabel* AddDrawnLabel(GtkWidget* box, const void* key, TDrawnKind kind, TInputSink* sink) {
  g_object_ref(box);
  return LabelsOf(box).Add(key, kind, sink);
}

void RemoveDrawnLabel(TDrawnLabel* label) {
  GtkWidget* box = label->box;
  LabelsOf(box).Remove(label);
  g_object_unref(box);
}

void SetDrawnLabel(TDrawnLabel& label, const TLabelLook& look) {
  LabelsOf(label.box).Set(label, look);
}

void KeepDrawnLabelAt(TDrawnLabel& label, std::size_t order) {
  LabelsOf(label.box).MoveTo(label, order);
}

}  // namespace lx::screen
