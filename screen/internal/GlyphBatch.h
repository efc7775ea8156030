// The glyphs of a box's captions gathered while it draws and shown in as few calls as their
// fonts and colours allow: one call to cairo costs as much as the glyphs of several captions,
// and the X server composites one request of many glyphs faster than many of a few.
#pragma once

#include <gtk/gtk.h>

#include <vector>

#include "screen/internal/ShapedLine.h"

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

class TGlyphBatch {
 public:
  /// Gathers for `cr`, whose clip stays as it is while the batch lives; `bounds` (user space)
  /// holds what may be drawn.
  TGlyphBatch(cairo_t* cr, const GdkRectangle& bounds);
  /// Shows what is pending.
  ~TGlyphBatch();
  TGlyphBatch(const TGlyphBatch&) = delete;
  TGlyphBatch& operator=(const TGlyphBatch&) = delete;

  /// Draws `line` with its top left at `x`, `y` in `colour`, as TShapedLine::Draw draws it:
  /// later with the pending glyphs of its font and colour, or at once when it cannot wait.
  void Show(const TShapedLine& line, double x, double y, const GdkRGBA& colour);
  /// To be called before anything else is painted over `area` (user space): the pending glyphs
  /// that may reach it are shown first, so that what is painted later stays on top.
  void Before(const GdkRectangle& area);
  /// Shows what is pending; to be called before the clip changes.
  void Flush();

 private:
  void Mark(const GdkRectangle& ink);
  bool Marked(const GdkRectangle& area) const;
  bool SameAsPending(PangoFont* font, const GdkRGBA& colour) const;
  // The cells of `area` within the bounds: first and last column and row; false when none.
  bool CellsOf(const GdkRectangle& area, int cells[4]) const;

  cairo_t* cr_;
  GdkRectangle bounds_;
  int columns_ = 0;
  int rows_ = 0;
  // For each cell of the bounds, the rectangle around the ink of the pending glyphs within it
  // (empty when none); and the cells with ink.
  std::vector<GdkRectangle> inked_;
  std::vector<int> marked_;
  PangoFont* font_ = nullptr;  // of the pending glyphs
  GdkRGBA colour_{0, 0, 0, 0};
  std::vector<cairo_glyph_t> glyphs_;
};

}  // namespace lx::screen
#pragma GCC visibility pop
