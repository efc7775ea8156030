// One line of text shaped once and drawn as it is, for a label that needs neither an ellipsis
// nor lines under its text: a PangoLayout would also work out where the text may break, wrap
// and cut it, and walk its attributes, which costs as much again as shaping the text.
#pragma once

#include <pango/pangocairo.h>

#include <string_view>

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

class TShapedLine {
 public:
  /// `text` in `font`, its runs in the order they read from the left, laid out as a PangoLayout
  /// of `context` lays out one line: its paragraph reads the way its first letter of either
  /// direction does, or as `context` does when it has none.
  TShapedLine(PangoContext* context, const PangoFontDescription* font, std::string_view text);
  ~TShapedLine();
  TShapedLine(const TShapedLine&) = delete;
  TShapedLine& operator=(const TShapedLine&) = delete;

  /// The font it was asked for.
  const PangoFontDescription* Font() const { return font_; }
  /// Pango units from its left edge to its right.
  int Width() const { return width_; }
  /// In pixels from the line's top left, as pango_layout_get_pixel_extents gives them.
  const PangoRectangle& Ink() const { return ink_; }
  const PangoRectangle& Logical() const { return logical_; }
  /// Draws the line with its top left at the current point of `cr`, in its source.
  void Draw(cairo_t* cr) const;

 private:
  PangoFontDescription* font_;
  GSList* runs_ = nullptr;  // PangoGlyphItem, from the left
  int baseline_ = 0;        // Pango units below the top
  int width_ = 0;
  PangoRectangle ink_{0, 0, 0, 0};
  PangoRectangle logical_{0, 0, 0, 0};
};

}  // namespace lx::screen
#pragma GCC visibility pop
