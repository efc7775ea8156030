#include "screen/internal/ShapedLine.h"

#include <algorithm>

#include "screen/internal/ScreenTexts.h"

namespace lx::screen {

namespace {

PangoDirection ParagraphDirection(PangoContext* context, std::string_view text) {
  const PangoDirection own = OwnDirection(text);
  return own != PANGO_DIRECTION_NEUTRAL ? own : pango_context_get_base_dir(context);
}

void Unite(PangoRectangle& all, const PangoRectangle& more) {
  const int right = std::max(all.x + all.width, more.x + more.width);
  const int bottom = std::max(all.y + all.height, more.y + more.height);
  all.x = std::min(all.x, more.x);
  all.y = std::min(all.y, more.y);
  all.width = right - all.x;
  all.height = bottom - all.y;
}

// The items of `text` in `font`, from the left.
GList* ItemsFromTheLeft(PangoContext* context, const PangoFontDescription* font,
                        std::string_view text) {
  PangoAttrList* attributes = pango_attr_list_new();
  pango_attr_list_insert(attributes, pango_attr_font_desc_new(font));
  GList* items =
      pango_itemize_with_base_dir(context, ParagraphDirection(context, text), text.data(), 0,
                                  static_cast<gint>(text.size()), attributes, nullptr);
  pango_attr_list_unref(attributes);
  GList* fromTheLeft = pango_reorder_items(items);
  g_list_free(items);
  return fromTheLeft;
}

}  // namespace

TShapedLine::TShapedLine(PangoContext* context, const PangoFontDescription* font,
                         std::string_view text)
    : font_(pango_font_description_copy(font)) {
  const PangoShapeFlags flags = pango_context_get_round_glyph_positions(context) != 0
                                    ? PANGO_SHAPE_ROUND_POSITIONS
                                    : PANGO_SHAPE_NONE;
  GList* items = ItemsFromTheLeft(context, font, text);
  int x = 0;
  int top = 0;
  int bottom = 0;
  bool inked = false;
  PangoRectangle ink{0, 0, 0, 0};
  for (GList* each = items; each != nullptr; each = each->next) {
    auto* item = static_cast<PangoItem*>(each->data);
    PangoGlyphItem* run = g_slice_new0(PangoGlyphItem);
    run->item = item;
    run->glyphs = pango_glyph_string_new();
    pango_shape_with_flags(text.data() + item->offset, item->length, text.data(),
                           static_cast<int>(text.size()), &item->analysis, run->glyphs, flags);
    runs_ = g_slist_prepend(runs_, run);
    PangoRectangle runInk;
    PangoRectangle runLogical;
    pango_glyph_string_extents(run->glyphs, item->analysis.font, &runInk, &runLogical);
    top = std::min(top, runLogical.y);
    bottom = std::max(bottom, runLogical.y + runLogical.height);
    if (runInk.width > 0 && runInk.height > 0) {
      runInk.x += x;
      if (inked) {
        Unite(ink, runInk);
      } else {
        ink = runInk;
        inked = true;
      }
    }
    x += runLogical.width;
  }
  g_list_free(items);
  runs_ = g_slist_reverse(runs_);
  baseline_ = -top;
  width_ = x;
  ink.y += baseline_;
  logical_ = {0, 0, x, bottom - top};
  ink_ = ink;
  pango_extents_to_pixels(&ink_, nullptr);
  pango_extents_to_pixels(&logical_, nullptr);
}

TShapedLine::~TShapedLine() {
  pango_font_description_free(font_);
  g_slist_free_full(runs_, reinterpret_cast<GDestroyNotify>(pango_glyph_item_free));
}

void TShapedLine::Draw(cairo_t* cr) const {
  double left = 0;
  double top = 0;
  cairo_get_current_point(cr, &left, &top);
  int x = 0;
  for (GSList* each = runs_; each != nullptr; each = each->next) {
    const auto* run = static_cast<const PangoGlyphItem*>(each->data);
    cairo_move_to(cr, left + pango_units_to_double(x), top + pango_units_to_double(baseline_));
    pango_cairo_show_glyph_string(cr, run->item->analysis.font, run->glyphs);
    x += pango_glyph_string_get_width(run->glyphs);
  }
}

}  // namespace lx::screen
