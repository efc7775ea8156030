// Labels drawn by the box of their parent instead of each being a widget, as a classic form
// draws its graphic controls on the parent: the box keeps a record of each label, draws them
// under its child widgets, in z-order, each cut to its width, and shows their hints.
#pragma once

#include <gtk/gtk.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "screen/internal/ScreenTexts.h"

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

/// What a label shows, as the backend gives it. Texts are UTF-8.
struct TLabelLook {
  GdkRectangle place{0, 0, 0, 0};  // in the box
  std::string caption;             // with its "&" hot keys
  std::string hint;
  TFontFace face;
  bool enabled = true;
  bool visible = true;
  bool rightToLeft = false;
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
  TLabelLook look;
  std::string text;                  // shown: the caption without its hot-key marks
  std::vector<std::size_t> hotKeys;  // in `text`: underlined while the window shows mnemonics
  // Made when the label first shows, again after a new text, font, width or direction.
  PangoLayout* layout = nullptr;
  bool layoutUnderlinesHotKeys = false;
  int layoutX = 0;  // where the layout goes from the label's left edge
  // Where it draws: its rectangle, stretched up or down as far as its text's ink reaches
  // (descenders and hot-key lines in a label lower than its font), as GTK's labels do.
  GdkRectangle area{0, 0, 0, 0};
};

/// The labels of one box, in z-order (the last on top), and what it draws them with.
class TBoxLabels {
 public:
  explicit TBoxLabels(GtkWidget* box) : box_(box) {}
  ~TBoxLabels();
  TBoxLabels(const TBoxLabels&) = delete;
  TBoxLabels& operator=(const TBoxLabels&) = delete;

  TDrawnLabel* Add(const void* key);
  void Remove(TDrawnLabel* label);
  /// Puts `label` at `order` in the z-order, when it stands elsewhere.
  void MoveTo(TDrawnLabel& label, std::size_t order);
  /// Gives `label` its new look and redraws its old and new rectangles.
  void Set(TDrawnLabel& label, const TLabelLook& look);
  const std::vector<std::unique_ptr<TDrawnLabel>>& Labels() const { return labels_; }

  /// The topmost visible label at `x`, `y` in the box; null when none.
  const TDrawnLabel* At(int x, int y) const;
  /// Fills `tooltip` with the hint of the label at `x`, `y`, else with the box's own hint;
  /// false when there is none. Labels have no hint for the keyboard: they take no focus.
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

 private:
  void ReadStyle();
  void UpdateHasTooltip();
  PangoLayout* LayoutOf(TDrawnLabel& label, bool underlineHotKeys);
  void Redraw(const TDrawnLabel& label) const;
  void DropLayouts();

  GtkWidget* box_;
  std::vector<std::unique_ptr<TDrawnLabel>> labels_;
  int hinted_ = 0;  // visible labels with a hint
  std::string ownHint_;
  bool styleRead_ = false;
  GdkRGBA colour_{0, 0, 0, 1};
  GdkRGBA insensitive_{0, 0, 0, 1};
  PangoFontDescription* font_ = nullptr;            // the box's, under each label's face
  PangoContext* contexts_[2] = {nullptr, nullptr};  // left to right, right to left
};

/// A new record of `key` on top of the labels of `box` (a fixed box); it holds a reference on
/// the box until RemoveDrawnLabel.
TDrawnLabel* AddDrawnLabel(GtkWidget* box, const void* key);
/// Drops the record from its box, redrawing where it was, and releases the box.
void RemoveDrawnLabel(TDrawnLabel* label);
void SetDrawnLabel(TDrawnLabel& label, const TLabelLook& look);
void KeepDrawnLabelAt(TDrawnLabel& label, std::size_t order);

}  // namespace lx::screen
#pragma GCC visibility pop
