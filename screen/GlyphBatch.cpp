#include "screen/internal/GlyphBatch.h"

#include <algorithm>

namespace lx::screen {

namespace {

// Cells of this many pixels square tell where pending glyphs ink.
constexpr int kCell = 16;
// Glyphs may ink a pixel beyond their measured ink, antialiased.
constexpr int kInkMargin = 2;

bool SameColour(const GdkRGBA& a, const GdkRGBA& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

}  // namespace

TGlyphBatch::TGlyphBatch(cairo_t* cr, const GdkRectangle& bounds)
    : cr_(cr),
      bounds_(bounds),
      columns_(std::max(0, (bounds.width + kCell - 1) / kCell)),
      rows_(std::max(0, (bounds.height + kCell - 1) / kCell)),
      inked_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_),
             GdkRectangle{0, 0, 0, 0}) {}

TGlyphBatch::~TGlyphBatch() {
  Flush();
}

bool TGlyphBatch::SameAsPending(PangoFont* font, const GdkRGBA& colour) const {
  return font == font_ && SameColour(colour, colour_);
}

void TGlyphBatch::Show(const TShapedLine& line, double x, double y, const GdkRGBA& colour) {
  PangoFont* font = line.PlainFont();
  if (font == nullptr || inked_.empty()) {
    Flush();
    gdk_cairo_set_source_rgba(cr_, &colour);
    cairo_move_to(cr_, x, y);
    line.Draw(cr_);
    return;
  }
  if (!glyphs_.empty() && !SameAsPending(font, colour)) Flush();
  font_ = font;
  colour_ = colour;
  cairo_move_to(cr_, x, y);
  line.AppendGlyphs(cr_, glyphs_);
  const PangoRectangle& ink = line.Ink();
  Mark({static_cast<int>(x) + ink.x, static_cast<int>(y) + ink.y, ink.width, ink.height});
}

void TGlyphBatch::Before(const GdkRectangle& area) {
  if (!glyphs_.empty() && Marked(area)) Flush();
}

void TGlyphBatch::Flush() {
  if (glyphs_.empty()) return;
  cairo_set_scaled_font(cr_, pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font_)));
  gdk_cairo_set_source_rgba(cr_, &colour_);
  cairo_show_glyphs(cr_, glyphs_.data(), static_cast<int>(glyphs_.size()));
  glyphs_.clear();
  for (const int cell : marked_)
    inked_[static_cast<std::size_t>(cell)] = {0, 0, 0, 0};
  marked_.clear();
}

bool TGlyphBatch::CellsOf(const GdkRectangle& area, int cells[4]) const {
  const int left = std::max(area.x - kInkMargin, bounds_.x) - bounds_.x;
  const int top = std::max(area.y - kInkMargin, bounds_.y) - bounds_.y;
  const int right =
      std::min(area.x + area.width + kInkMargin, bounds_.x + bounds_.width) - bounds_.x;
  const int bottom =
      std::min(area.y + area.height + kInkMargin, bounds_.y + bounds_.height) - bounds_.y;
  if (right <= left || bottom <= top) return false;
  cells[0] = left / kCell;
  cells[1] = (right - 1) / kCell;
  cells[2] = top / kCell;
  cells[3] = (bottom - 1) / kCell;
  return true;
}

void TGlyphBatch::Mark(const GdkRectangle& ink) {
  int cells[4];
  if (ink.width <= 0 || ink.height <= 0 || !CellsOf(ink, cells)) return;
  const GdkRectangle wide{ink.x - kInkMargin, ink.y - kInkMargin, ink.width + 2 * kInkMargin,
                          ink.height + 2 * kInkMargin};
  for (int row = cells[2]; row <= cells[3]; ++row) {
    for (int column = cells[0]; column <= cells[1]; ++column) {
      const int index = row * columns_ + column;
      GdkRectangle& inked = inked_[static_cast<std::size_t>(index)];
      if (inked.width == 0) {
        inked = wide;
        marked_.push_back(index);
      } else {
        gdk_rectangle_union(&inked, &wide, &inked);
      }
    }
  }
}

bool TGlyphBatch::Marked(const GdkRectangle& area) const {
  int cells[4];
  if (area.width <= 0 || area.height <= 0 || !CellsOf(area, cells)) return false;
  for (int row = cells[2]; row <= cells[3]; ++row) {
    for (int column = cells[0]; column <= cells[1]; ++column) {
      const GdkRectangle& inked = inked_[static_cast<std::size_t>(row * columns_ + column)];
      if (inked.width != 0 && gdk_rectangle_intersect(&inked, &area, nullptr)) return true;
    }
  }
  return false;
}

}  // namespace lx::screen
