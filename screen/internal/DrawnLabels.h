// Labels, buttons, check boxes, radio buttons and edits drawn by the box of their parent
// instead of each being a widget, as a classic form draws its graphic controls on the parent
// (and as Qt draws its widgets): the box keeps a record of each, draws them under its child
// widgets, in z-order, shows their hints, and gives the buttons the mouse, the focus and their
// hot keys. The edit being typed into gets the box's one real entry, placed over it.
#pragma once

#include <gtk/gtk.h>

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "screen/internal/ScreenTexts.h"
#include "screen/internal/ShapedLine.h"

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

class TGlyphBatch;
class TInputSink;

/// What a record draws.
enum class TDrawnKind { Label, Button, CheckBox, RadioButton, Edit };

/// What a label shows, as the backend gives it. Texts are UTF-8.
struct TLabelLook {
  GdkRectangle place{0, 0, 0, 0};  // in the box
  std::string caption;             // with its "&" hot keys; an edit's text as it is
  std::string hint;
  TFontFace face;
  bool enabled = true;
  bool visible = true;
  bool rightToLeft = false;
  bool checked = false;  // check boxes and radio buttons
  bool operator==(const TLabelLook&) const;
};

/// One label of a box.
struct TDrawnLabel {
  TDrawnLabel() = default;
  ~TDrawnLabel();
  TDrawnLabel(const TDrawnLabel&) = delete;
  TDrawnLabel& operator=(const TDrawnLabel&) = delete;

  GtkWidget* box = nullptr;   // held while the record lives
  const void* key = nullptr;  // the control
  TDrawnKind kind = TDrawnKind::Label;
  TInputSink* sink = nullptr;  // where a button's clicks and an edit's typing go
  int tabOrder = 0;            // among the box's records and child widgets
  TLabelLook look;
  std::string text;                  // shown: the caption without its hot-key marks
  std::vector<std::size_t> hotKeys;  // in `text`: underlined while the window shows mnemonics
  // Made when the label first shows, again after a new text, font, width or direction: a
  // plain label's text that fits is one shaped line, anything else a layout.
  PangoLayout* layout = nullptr;
  std::unique_ptr<TShapedLine> line;
  bool layoutUnderlinesHotKeys = false;
  GdkRectangle textPlace{0, 0, 0, 0};  // the room of the text inside `look.place`
  int layoutX = 0;                     // where the layout goes from the room's left edge
  int layoutY = 0;                     // and from its top (a caption is centred in height)
  // Where it draws: its rectangle, stretched up or down as far as its text's ink reaches
  // (descenders and hot-key lines in a label lower than its font), as GTK's labels do.
  GdkRectangle area{0, 0, 0, 0};
  bool inkInside = false;  // its text's ink lies within its room and area: drawn without a clip
};

/// The labels of one box, in z-order (the last on top), and what it draws them with.
class TBoxLabels {
 public:
  explicit TBoxLabels(GtkWidget* box) : box_(box) {}
  ~TBoxLabels();
  TBoxLabels(const TBoxLabels&) = delete;
  TBoxLabels& operator=(const TBoxLabels&) = delete;

  TDrawnLabel* Add(const void* key, TDrawnKind kind = TDrawnKind::Label,
                   TInputSink* sink = nullptr);
  void Remove(TDrawnLabel* label);
  /// Puts `label` at `order` in the z-order, when it stands elsewhere.
  void MoveTo(TDrawnLabel& label, std::size_t order);
  /// Gives `label` its new look and redraws its old and new rectangles.
  void Set(TDrawnLabel& label, const TLabelLook& look);
  const std::vector<std::unique_ptr<TDrawnLabel>>& Labels() const { return labels_; }

  /// The topmost visible record at `x`, `y` in the box; null when none.
  const TDrawnLabel* At(int x, int y) const;
  /// Fills `tooltip` with the hint of the record at `x`, `y` (for the keyboard: of the
  /// focused button), else with the box's own hint; false when there is none.
  bool Tooltip(int x, int y, bool keyboard, GtkTooltip* tooltip) const;
  /// The hint of the control the box shows itself (a group box, a panel).
  void SetOwnHint(const std::string& hint);

  /// Draws every visible label within the clip of `cr`, in the box's coordinates, each cut to
  /// its `area`.
  void Draw(cairo_t* cr);
  /// The box's style or state changed: colours are read again, fonts when they changed.
  void StyleChanged();
  /// The window shows or hides mnemonics: labels with hot keys redraw.
  void MnemonicsChanged();

  // ---- Buttons, check boxes and radio buttons (screen/DrawnButtons.cpp) ----
  /// Mouse input in the box's coordinates; true when a button took it.
  bool Press(int x, int y);
  bool Release(int x, int y);
  void Hover(int x, int y);
  void Leave();
  /// Space or Return on the focused button; true when taken. Space answers when let go.
  bool Key(guint keyval);
  bool KeyReleased(guint keyval);
  /// The box's part in GTK's focus chain (its `focus` vfunc).
  bool Focus(GtkDirectionType direction);
  /// The box took or lost the focus: the focused button redraws.
  void FocusChanged();
  /// The button of the box whose hot key is `character` (case folded); null when none.
  TDrawnLabel* WithHotKey(gunichar character) const;
  /// Focuses `item` and clicks or toggles it, as its hot key does.
  void Activate(TDrawnLabel& item);
  /// The button or edit that has or last had the focus in the box; null when none.
  const TDrawnLabel* Focused() const { return focused_; }
  const TDrawnLabel* Pressed() const { return pressed_; }
  const TDrawnLabel* Hovered() const { return hover_; }

  // ---- Edits (screen/DrawnEdits.cpp) ----
  /// The real entry over the edit being typed into; null before the first edit takes the
  /// focus. It is a child widget of the box, hidden while no edit has the focus.
  GtkWidget* Entry() const { return entry_; }
  /// The edit under the entry while it is shown; null when none.
  const TDrawnLabel* Editing() const { return editing_; }

 private:
  void ReadStyle();
  void UpdateHasTooltip();
  /// Lays the text out when it is not yet; its layout, or null when a shaped line shows it.
  PangoLayout* LayoutOf(TDrawnLabel& label, bool underlineHotKeys);
  bool ShapeLine(TDrawnLabel& label, bool underlineHotKeys);
  void LayOutText(TDrawnLabel& label, bool underlineHotKeys);
  void PlaceLaidOut(TDrawnLabel& label, const PangoRectangle& ink, const PangoRectangle& logical);
  void Redraw(const TDrawnLabel& label);
  void Queue(const GdkRectangle& area);
  friend class TRedrawBatch;
  void DropLayouts();
  void DropContexts();
  void PlaceText(TDrawnLabel& label);
  void DrawLabel(cairo_t* cr, TGlyphBatch& batch, const TDrawnLabel& label, PangoLayout* layout);
  void DrawItem(cairo_t* cr, TGlyphBatch& batch, TDrawnLabel& item, PangoLayout* layout);
  void DrawCaption(cairo_t* cr, TGlyphBatch& batch, const TDrawnLabel& item, std::size_t index,
                   GtkStateFlags state, PangoLayout* layout);
  /// The text colour of Style(index, state).
  const GdkRGBA& ColourOf(std::size_t index, GtkStateFlags state);
  GtkStyleContext* Style(std::size_t index, GtkStateFlags state = GTK_STATE_FLAG_NORMAL);
  GtkStateFlags StateOf(const TDrawnLabel& item) const;
  TDrawnLabel* Find(const TDrawnLabel* item) const;
  TDrawnLabel* ItemAt(int x, int y) const;
  void Show(TDrawnLabel* now, TDrawnLabel*& state);
  void FocusOn(TDrawnLabel& item);
  static void Answer(TDrawnLabel& item);
  void StartEditing(TDrawnLabel& item);
  void StopEditing();
  void FillEntry(const TDrawnLabel& item);
  void MakeEntry();
  void PutCursorAt(TDrawnLabel& item, int x);
  static void OnEntryChanged(GtkEditable* entry, gpointer box);
  static void OnEntryDestroyed(GtkWidget* entry, gpointer box);
  static void OnFocusSet(GtkWindow* window, GtkWidget* focus, gpointer box);

  GtkWidget* box_;
  std::vector<std::unique_ptr<TDrawnLabel>> labels_;
  int hinted_ = 0;  // visible labels with a hint
  std::string ownHint_;
  bool styleRead_ = false;
  GdkRGBA colour_{0, 0, 0, 1};
  GdkRGBA insensitive_{0, 0, 0, 1};
  PangoFontDescription* font_ = nullptr;            // the box's, under each label's face
  PangoContext* contexts_[2] = {nullptr, nullptr};  // left to right, right to left
  std::unique_ptr<TLineItems> lineItems_[2];        // of each context
  // Built once per kind (button, check box, check mark, radio button, radio mark) and state
  // from the box's style, when first drawn: a context set to a state keeps what the theme
  // gives it, where one context saved and set anew for each button would work it out again.
  std::map<unsigned, GtkStyleContext*> styles_;
  std::map<unsigned, GdkRGBA> colours_;  // of the styles, by the same key
  // A mark's size (its border box) and its border and padding around the icon, and margins,
  // read once per style: check mark, radio mark.
  struct TMarkMetrics {
    bool read = false;
    int width = 0;
    int height = 0;
    GtkBorder margin{0, 0, 0, 0};
    GtkBorder inset{0, 0, 0, 0};
  };
  TMarkMetrics marks_[2];
  // A button's and an edit's border and padding around its text, read once per style.
  struct TFrameInset {
    bool read = false;
    GtkBorder inset{0, 0, 0, 0};
  };
  TFrameInset insets_[2];
  const GtkBorder& InsetOf(std::size_t frame);
  // What the theme draws under a button's caption, and a whole check or radio mark, by style,
  // state, size and the kind and scale of surface drawn on: drawn once, then copied for every
  // item alike, where the theme's gradients and rounded borders cost the most of a frame.
  using TPictureKey = std::tuple<std::size_t, unsigned, int, int, int, double>;
  std::map<TPictureKey, cairo_surface_t*> pictures_;
  void PaintPicture(cairo_t* cr, std::size_t index, GtkStateFlags state, const GdkRectangle& at,
                    TDrawnKind kind);
  void DropPictures();
  const TMarkMetrics& MarkOf(TDrawnKind kind);
  GdkRectangle MarkPlace(const TDrawnLabel& item);
  TDrawnLabel* focused_ = nullptr;
  TDrawnLabel* pressed_ = nullptr;
  TDrawnLabel* hover_ = nullptr;
  bool spaceHeld_ = false;  // pressing `pressed_` with Space
  GtkWidget* entry_ = nullptr;
  TDrawnLabel* editing_ = nullptr;
  bool filling_ = false;              // the entry takes its edit's text: no typing
  std::vector<GdkRectangle> damage_;  // to redraw when the batch ends
};

/// While one lives, boxes gather the areas their records need redrawn and queue them when the
/// last ends: each queued area costs GTK work that grows with the areas queued before it, and a
/// new language changes every record of a box at once.
class TRedrawBatch {
 public:
  TRedrawBatch();
  ~TRedrawBatch();
  TRedrawBatch(const TRedrawBatch&) = delete;
  TRedrawBatch& operator=(const TRedrawBatch&) = delete;
};

/// Whether `inner` lies inside `outer`; an empty `inner` always does.
bool Within(const GdkRectangle& inner, const GdkRectangle& outer);

/// A new record of `key` on top of the records of `box` (a fixed box); it holds a reference on
/// the box until RemoveDrawnLabel. Buttons report to `sink`.
TDrawnLabel* AddDrawnLabel(GtkWidget* box, const void* key, TDrawnKind kind = TDrawnKind::Label,
                           TInputSink* sink = nullptr);
/// Drops the record from its box, redrawing where it was, and releases the box.
void RemoveDrawnLabel(TDrawnLabel* label);
void SetDrawnLabel(TDrawnLabel& label, const TLabelLook& look);
void KeepDrawnLabelAt(TDrawnLabel& label, std::size_t order);

}  // namespace lx::screen
#pragma GCC visibility pop
