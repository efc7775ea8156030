// Buttons, check boxes, radio buttons and edits drawn by their box: their look through the
// theme's own rendering, their mouse, focus and keys.
#include <algorithm>

#include "screen/internal/ControlWidgets.h"
#include "screen/internal/DrawnLabels.h"
#include "screen/internal/FixedBox.h"
#include "screen/internal/GlyphBatch.h"

namespace lx::screen {

namespace {

// The style contexts of a box, by what they style.
enum : std::size_t { kButton, kCheckBox, kCheck, kRadioButton, kRadio, kEntry };

// A node under `base` (a widget's path, or a node's) styled as the theme styles that node
// inside a real widget of `type`.
GtkStyleContext* NewStyle(GtkWidget* box, const GtkWidgetPath* base, GtkStyleContext* parent,
                          GType type, const char* name, const char* styleClass) {
  GtkWidgetPath* path = gtk_widget_path_copy(base);
  gtk_widget_path_append_type(path, type);
  gtk_widget_path_iter_set_object_name(path, -1, name);
  if (styleClass != nullptr) gtk_widget_path_iter_add_class(path, -1, styleClass);
  GtkStyleContext* style = gtk_style_context_new();
  gtk_style_context_set_screen(style, gtk_widget_get_screen(box));
  gtk_style_context_set_path(style, path);
  gtk_style_context_set_parent(style, parent);
  gtk_widget_path_unref(path);
  return style;
}

bool IsButton(const TDrawnLabel& item) {
  return item.kind != TDrawnKind::Label;
}

GtkBorder Sum(const GtkBorder& a, const GtkBorder& b) {
  return {static_cast<gint16>(a.left + b.left), static_cast<gint16>(a.right + b.right),
          static_cast<gint16>(a.top + b.top), static_cast<gint16>(a.bottom + b.bottom)};
}

GdkRectangle Inside(const GdkRectangle& place, const GtkBorder& border) {
  return {place.x + border.left, place.y + border.top,
          std::max(place.width - border.left - border.right, 0),
          std::max(place.height - border.top - border.bottom, 0)};
}

void RenderBox(GtkStyleContext* style, cairo_t* cr, const GdkRectangle& at) {
  gtk_render_background(style, cr, at.x, at.y, at.width, at.height);
  gtk_render_frame(style, cr, at.x, at.y, at.width, at.height);
}

}  // namespace

GtkStyleContext* TBoxLabels::Style(std::size_t index, GtkStateFlags state) {
  GtkStyleContext*& style = styles_[static_cast<unsigned>(index << 16) | state];
  if (style != nullptr) return style;
  const GtkWidgetPath* boxPath = gtk_widget_get_path(box_);
  GtkStyleContext* boxStyle = gtk_widget_get_style_context(box_);
  switch (index) {
    case kButton:
      style = NewStyle(box_, boxPath, boxStyle, GTK_TYPE_BUTTON, "button", "text-button");
      break;
    case kCheckBox:
      style =
          NewStyle(box_, boxPath, boxStyle, GTK_TYPE_CHECK_BUTTON, "checkbutton", "text-button");
      break;
    case kRadioButton:
      style =
          NewStyle(box_, boxPath, boxStyle, GTK_TYPE_RADIO_BUTTON, "radiobutton", "text-button");
      break;
    case kEntry:
      style = NewStyle(box_, boxPath, boxStyle, GTK_TYPE_ENTRY, "entry", nullptr);
      break;
    default: {
      // The mark inside its button, in the same state.
      GtkStyleContext* owner = Style(index - 1, state);
      style = NewStyle(box_, gtk_style_context_get_path(owner), owner,
                       index == kCheck ? GTK_TYPE_CHECK_BUTTON : GTK_TYPE_RADIO_BUTTON,
                       index == kCheck ? "check" : "radio", nullptr);
      break;
    }
  }
  gtk_style_context_set_state(style, state);
  return style;
}

const TBoxLabels::TMarkMetrics& TBoxLabels::MarkOf(TDrawnKind kind) {
  TMarkMetrics& metrics = marks_[kind == TDrawnKind::CheckBox ? 0 : 1];
  if (metrics.read) return metrics;
  GtkStyleContext* mark = Style(kind == TDrawnKind::CheckBox ? kCheck : kRadio);
  const GtkStateFlags state = gtk_style_context_get_state(mark);
  gtk_style_context_get(mark, state, "min-width", &metrics.width, "min-height", &metrics.height,
                        nullptr);
  GtkBorder border;
  GtkBorder padding;
  gtk_style_context_get_margin(mark, state, &metrics.margin);
  gtk_style_context_get_border(mark, state, &border);
  gtk_style_context_get_padding(mark, state, &padding);
  metrics.inset = Sum(border, padding);
  metrics.width += metrics.inset.left + metrics.inset.right;
  metrics.height += metrics.inset.top + metrics.inset.bottom;
  metrics.read = true;
  return metrics;
}

// Where a check box's or radio button's mark goes (its border box): at the start of the
// record, centred in height.
GdkRectangle TBoxLabels::MarkPlace(const TDrawnLabel& item) {
  const TMarkMetrics& mark = MarkOf(item.kind);
  const GdkRectangle& place = item.look.place;
  const int x = item.look.rightToLeft ? place.x + place.width - mark.margin.right - mark.width
                                      : place.x + mark.margin.left;
  return {x, place.y + (place.height - mark.height) / 2, mark.width, mark.height};
}

// Read once per style: every caption of a new language is placed inside its frame.
const GtkBorder& TBoxLabels::InsetOf(std::size_t frame) {
  TFrameInset& inset = insets_[frame];
  if (inset.read) return inset.inset;
  GtkStyleContext* style = Style(frame == 0 ? kButton : kEntry);
  GtkBorder border;
  GtkBorder padding;
  gtk_style_context_get_border(style, GTK_STATE_FLAG_NORMAL, &border);
  gtk_style_context_get_padding(style, GTK_STATE_FLAG_NORMAL, &padding);
  inset = {true, Sum(border, padding)};
  return inset.inset;
}

void TBoxLabels::PlaceText(TDrawnLabel& label) {
  const GdkRectangle& place = label.look.place;
  if (label.kind == TDrawnKind::Label) {
    label.textPlace = place;
    return;
  }
  if (label.kind == TDrawnKind::Button || label.kind == TDrawnKind::Edit) {
    label.textPlace = Inside(place, InsetOf(label.kind == TDrawnKind::Button ? 0 : 1));
    return;
  }
  // The caption takes the rest of the record beside the mark and its margins.
  const TMarkMetrics& mark = MarkOf(label.kind);
  const int taken = mark.width + mark.margin.left + mark.margin.right;
  const int width = std::max(place.width - taken, 0);
  label.textPlace = {label.look.rightToLeft ? place.x : place.x + taken, place.y, width,
                     place.height};
}

// Sizes of items differ little on a form; a theme's pictures of them stay few and small, and
// a box that somehow collects more starts afresh.
constexpr std::size_t kMostPictures = 256;

void TBoxLabels::PaintPicture(cairo_t* cr, std::size_t index, GtkStateFlags state,
                              const GdkRectangle& at, TDrawnKind kind) {
  if (at.width <= 0 || at.height <= 0) return;
  cairo_surface_t* target = cairo_get_target(cr);
  double scaleX = 1;
  double scaleY = 1;
  cairo_surface_get_device_scale(target, &scaleX, &scaleY);
  const TPictureKey key{index, state, at.width, at.height, cairo_surface_get_type(target), scaleX};
  cairo_surface_t*& picture = pictures_[key];
  if (picture == nullptr) {
    if (pictures_.size() > kMostPictures) {
      DropPictures();
      PaintPicture(cr, index, state, at, kind);
      return;
    }
    picture = cairo_surface_create_similar(target, CAIRO_CONTENT_COLOR_ALPHA, at.width, at.height);
    cairo_t* own = cairo_create(picture);
    GtkStyleContext* style = Style(index, state);
    const GdkRectangle whole{0, 0, at.width, at.height};
    RenderBox(style, own, whole);
    if (kind == TDrawnKind::CheckBox || kind == TDrawnKind::RadioButton) {
      const GdkRectangle icon = Inside(whole, MarkOf(kind).inset);
      if (kind == TDrawnKind::CheckBox) {
        gtk_render_check(style, own, icon.x, icon.y, icon.width, icon.height);
      } else {
        gtk_render_option(style, own, icon.x, icon.y, icon.width, icon.height);
      }
    }
    cairo_destroy(own);
  }
  cairo_set_source_surface(cr, picture, at.x, at.y);
  cairo_paint(cr);
}

void TBoxLabels::DropPictures() {
  for (auto& [key, picture] : pictures_) {
    if (picture != nullptr) cairo_surface_destroy(picture);
  }
  pictures_.clear();
}

GtkStateFlags TBoxLabels::StateOf(const TDrawnLabel& item) const {
  const GtkStateFlags own = gtk_widget_get_state_flags(box_);
  int state = own & (GTK_STATE_FLAG_BACKDROP | GTK_STATE_FLAG_INSENSITIVE);
  state |= item.look.rightToLeft ? GTK_STATE_FLAG_DIR_RTL : GTK_STATE_FLAG_DIR_LTR;
  if (!item.look.enabled) state |= GTK_STATE_FLAG_INSENSITIVE;
  if (item.look.checked) state |= GTK_STATE_FLAG_CHECKED;
  if ((state & GTK_STATE_FLAG_INSENSITIVE) == 0) {
    if (hover_ == &item) state |= GTK_STATE_FLAG_PRELIGHT;
    // Pressed while the pointer stays over it, as GTK's buttons look.
    if (pressed_ == &item && (hover_ == &item || spaceHeld_)) state |= GTK_STATE_FLAG_ACTIVE;
  }
  if (focused_ == &item && gtk_widget_has_focus(box_)) state |= GTK_STATE_FLAG_FOCUSED;
  return static_cast<GtkStateFlags>(state);
}

void TBoxLabels::DrawItem(cairo_t* cr, TGlyphBatch& batch, TDrawnLabel& item, PangoLayout* layout) {
  const GtkStateFlags state = StateOf(item);
  const bool button = item.kind == TDrawnKind::Button;
  const bool edit = item.kind == TDrawnKind::Edit;
  const std::size_t index = button                              ? kButton
                            : edit                              ? kEntry
                            : item.kind == TDrawnKind::CheckBox ? kCheckBox
                                                                : kRadioButton;
  const GdkRectangle& place = item.look.place;
  const bool marked = !button && !edit;
  const GdkRectangle mark = marked ? MarkPlace(item) : place;
  batch.Before(mark);
  // A button's picture lies within its area; a mark taller than its item is cut to it. A clip
  // costs more than what it cuts: nothing else gets one that stays inside.
  const bool cutMark = !Within(mark, item.area);
  if (cutMark) {
    cairo_save(cr);
    gdk_cairo_rectangle(cr, &item.area);
    cairo_clip(cr);
  }
  if (button || edit) {
    PaintPicture(cr, edit ? kEntry : kButton, state, place, item.kind);
  } else {
    PaintPicture(cr, item.kind == TDrawnKind::CheckBox ? kCheck : kRadio, state, mark, item.kind);
  }
  if (cutMark) cairo_restore(cr);
  if (!item.text.empty()) DrawCaption(cr, batch, item, index, state, layout);
  if (edit || (state & GTK_STATE_FLAG_FOCUSED) == 0 || !gtk_widget_has_visible_focus(box_)) return;
  batch.Before(item.area);
  cairo_save(cr);
  gdk_cairo_rectangle(cr, &item.area);
  cairo_clip(cr);
  gtk_render_focus(Style(index, state), cr, place.x, place.y, place.width, place.height);
  cairo_restore(cr);
}

void TBoxLabels::DrawCaption(cairo_t* cr, TGlyphBatch& batch, const TDrawnLabel& item,
                             std::size_t index, GtkStateFlags state, PangoLayout* layout) {
  const double x = item.textPlace.x + item.layoutX;
  const double y = item.textPlace.y + item.layoutY;
  // As the theme renders a layout, in its colour: the compact style gives captions no shadow.
  if (item.line != nullptr && item.inkInside) {
    batch.Show(*item.line, x, y, ColourOf(index, state));
    return;
  }
  batch.Before(item.area);
  if (!item.inkInside) {
    cairo_save(cr);
    gdk_cairo_rectangle(cr, &item.textPlace);
    cairo_clip(cr);
  }
  if (item.line != nullptr) {
    gdk_cairo_set_source_rgba(cr, &ColourOf(index, state));
    cairo_move_to(cr, x, y);
    item.line->Draw(cr);
  } else {
    gtk_render_layout(Style(index, state), cr, x, y, layout);
  }
  if (!item.inkInside) cairo_restore(cr);
}

const GdkRGBA& TBoxLabels::ColourOf(std::size_t index, GtkStateFlags state) {
  const unsigned key = static_cast<unsigned>(index << 16) | state;
  const auto known = colours_.find(key);
  if (known != colours_.end()) return known->second;
  GdkRGBA colour;
  gtk_style_context_get_color(Style(index, state), state, &colour);
  return colours_.emplace(key, colour).first->second;
}

// ---- Input

namespace {

bool Focusable(const TDrawnLabel& item) {
  return IsButton(item) && item.look.visible && item.look.enabled &&
         gtk_widget_is_sensitive(item.box);
}

// A stop on the way of the focus through the box: a button or a child widget.
struct TStop {
  TDrawnLabel* item;
  GtkWidget* child;
  int order;
};

}  // namespace

TDrawnLabel* TBoxLabels::Find(const TDrawnLabel* item) const {
  for (const auto& own : labels_) {
    if (own.get() == item) return own.get();
  }
  return nullptr;
}

TDrawnLabel* TBoxLabels::ItemAt(int x, int y) const {
  TDrawnLabel* item = Find(At(x, y));
  return item != nullptr && Focusable(*item) ? item : nullptr;
}

void TBoxLabels::Show(TDrawnLabel* now, TDrawnLabel*& state) {
  if (state == now) return;
  TDrawnLabel* before = state;
  state = now;
  if (before != nullptr) Redraw(*before);
  if (now != nullptr) Redraw(*now);
}

// Last: the sink may run a whole modal form, or free the box, before it returns.
void TBoxLabels::Answer(TDrawnLabel& item) {
  TInputSink* sink = item.sink;
  const void* key = item.key;
  if (sink == nullptr || item.kind == TDrawnKind::Edit) return;
  if (item.kind == TDrawnKind::Button) {
    sink->Clicked(key);
  } else {
    sink->Toggled(key, item.kind == TDrawnKind::RadioButton || !item.look.checked);
  }
}

bool TBoxLabels::Press(int x, int y) {
  TDrawnLabel* item = ItemAt(x, y);
  if (item == nullptr) return false;
  if (item->kind == TDrawnKind::Edit) {
    StartEditing(*item);
    PutCursorAt(*item, x);
    return true;
  }
  Show(item, hover_);
  Show(item, pressed_);
  // The focus follows the click, as it does to GTK's buttons.
  FocusOn(*item);
  return true;
}

bool TBoxLabels::Release(int x, int y) {
  TDrawnLabel* item = pressed_;
  if (item == nullptr || spaceHeld_) return false;
  TDrawnLabel* none = nullptr;
  Show(none, pressed_);
  if (ItemAt(x, y) == item) Answer(*item);
  return true;
}

void TBoxLabels::Hover(int x, int y) {
  Show(ItemAt(x, y), hover_);
}

void TBoxLabels::Leave() {
  Show(nullptr, hover_);
}

namespace {

bool IsSpace(guint keyval) {
  return keyval == GDK_KEY_space || keyval == GDK_KEY_KP_Space;
}

}  // namespace

// Space presses the button and its release answers, so that a held key answers once, as
// GTK's buttons do; Return answers at once.
bool TBoxLabels::Key(guint keyval) {
  if (focused_ == nullptr || !gtk_widget_is_focus(box_) || !Focusable(*focused_)) return false;
  const bool enter =
      keyval == GDK_KEY_Return || keyval == GDK_KEY_ISO_Enter || keyval == GDK_KEY_KP_Enter;
  if (IsSpace(keyval)) {
    spaceHeld_ = true;
    Show(focused_, pressed_);
    return true;
  }
  if (!enter || focused_->kind != TDrawnKind::Button) return false;
  Answer(*focused_);
  return true;
}

bool TBoxLabels::KeyReleased(guint keyval) {
  if (!IsSpace(keyval) || !spaceHeld_) return false;
  spaceHeld_ = false;
  TDrawnLabel* item = pressed_;
  TDrawnLabel* none = nullptr;
  Show(none, pressed_);
  if (item != nullptr && item == focused_ && gtk_widget_is_focus(box_) && Focusable(*item))
    Answer(*item);
  return true;
}

void TBoxLabels::FocusChanged() {
  if (focused_ != nullptr) Redraw(*focused_);
  // A Space held while the focus goes elsewhere answers nothing.
  if (spaceHeld_ && !gtk_widget_is_focus(box_)) {
    spaceHeld_ = false;
    TDrawnLabel* none = nullptr;
    Show(none, pressed_);
  }
}

bool TBoxLabels::Focus(GtkDirectionType direction) {
  std::vector<TStop> stops;
  for (const auto& own : labels_) {
    if (IsButton(*own)) stops.push_back({own.get(), nullptr, own->tabOrder});
  }
  GList* children = gtk_container_get_children(GTK_CONTAINER(box_));
  // The entry stands in for the edit it is over.
  for (GList* child = children; child != nullptr; child = child->next) {
    if (child->data != entry_)
      stops.push_back({nullptr, GTK_WIDGET(child->data), TabOrderOf(GTK_WIDGET(child->data))});
  }
  g_list_free(children);
  std::stable_sort(stops.begin(), stops.end(),
                   [](const TStop& a, const TStop& b) { return a.order < b.order; });
  const bool forward =
      direction == GTK_DIR_TAB_FORWARD || direction == GTK_DIR_DOWN || direction == GTK_DIR_RIGHT;
  GtkWidget* inner = gtk_container_get_focus_child(GTK_CONTAINER(box_));
  const TDrawnLabel* current = gtk_widget_is_focus(box_) ? focused_ : nullptr;
  if (inner != nullptr && inner == entry_) {
    inner = nullptr;
    current = editing_;
  }
  const auto at = std::find_if(stops.begin(), stops.end(), [&](const TStop& stop) {
    return inner != nullptr ? stop.child == inner : current != nullptr && stop.item == current;
  });
  const auto count = static_cast<std::ptrdiff_t>(stops.size());
  std::ptrdiff_t i = forward ? 0 : count - 1;
  if (at != stops.end()) {
    // Within the child that has the focus first: a box inside walks its own stops.
    if (at->child != nullptr && gtk_widget_child_focus(at->child, direction)) return true;
    i = (at - stops.begin()) + (forward ? 1 : -1);
  }
  for (; i >= 0 && i < count; i += forward ? 1 : -1) {
    const TStop& stop = stops[static_cast<std::size_t>(i)];
    if (stop.item == nullptr) {
      if (gtk_widget_child_focus(stop.child, direction)) return true;
      continue;
    }
    if (!Focusable(*stop.item)) continue;
    FocusOn(*stop.item);
    return true;
  }
  return false;
}

TDrawnLabel* TBoxLabels::WithHotKey(gunichar character) const {
  const gunichar wanted = g_unichar_tolower(character);
  for (const auto& own : labels_) {
    if (!Focusable(*own) || own->hotKeys.empty()) continue;
    const gunichar key = g_utf8_get_char(own->text.c_str() + own->hotKeys.front());
    if (g_unichar_tolower(key) == wanted) return own.get();
  }
  return nullptr;
}

void TBoxLabels::FocusOn(TDrawnLabel& item) {
  if (item.kind == TDrawnKind::Edit) {
    StartEditing(item);
    return;
  }
  if (focused_ != nullptr && focused_ != &item) Redraw(*focused_);
  focused_ = &item;
  gtk_widget_grab_focus(box_);
  Redraw(item);
}

void TBoxLabels::Activate(TDrawnLabel& item) {
  FocusOn(item);
  Answer(item);
}

}  // namespace lx::screen
