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

// The items of `text` in `font`, from the left, as Pango cuts them.
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

enum class TScripts { Other, Latin, Common };

// Whether `text` is Latin letters, digits and common signs below `below` (no controls, no
// soft hyphen, no signs that may show as emoji), and of which script then.
TScripts ScriptsOf(std::string_view text, gunichar below) {
  bool latin = false;
  for (const char* at = text.data(); at < text.data() + text.size(); at = g_utf8_next_char(at)) {
    const gunichar c = g_utf8_get_char(at);
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c >= below || c == 0xAD || c == 0xA9 || c == 0xAE)
      return TScripts::Other;
    const GUnicodeScript script = g_unichar_get_script(c);
    if (script == G_UNICODE_SCRIPT_LATIN) {
      latin = true;
    } else if (script != G_UNICODE_SCRIPT_COMMON) {
      return TScripts::Other;
    }
  }
  return latin ? TScripts::Latin : TScripts::Common;
}

gboolean TakeFirst(PangoFontset*, PangoFont* font, gpointer first) {
  *static_cast<PangoFont**>(first) = PANGO_FONT(g_object_ref(font));
  return TRUE;
}

// The font a fontset tries first, for every character; a reference the caller releases.
PangoFont* FirstFontOf(PangoContext* context, const PangoFontDescription* font) {
  PangoFontset* fontset = pango_font_map_load_fontset(pango_context_get_font_map(context), context,
                                                      font, pango_context_get_language(context));
  PangoFont* first = nullptr;
  if (fontset != nullptr) {
    pango_fontset_foreach(fontset, TakeFirst, &first);
    g_object_unref(fontset);
  }
  return first;
}

}  // namespace

bool IsOneLine(std::string_view text) {
  return !text.empty() && text.find_first_of("\t\n\r") == std::string_view::npos &&
         text.find("\u2028") == std::string_view::npos &&
         text.find("\u2029") == std::string_view::npos;
}

TLineItems::~TLineItems() {
  for (TLearned& learned : learned_) {
    pango_font_description_free(learned.font);
    if (learned.latin != nullptr) pango_item_free(learned.latin);
    if (learned.common != nullptr) pango_item_free(learned.common);
  }
}

// The one item of `sample`, when Pango cuts it into one in the font its fontset tries first.
PangoItem* TLineItems::Learn(const PangoFontDescription* font, PangoFont* first,
                             const char* sample) const {
  GList* items = ItemsFromTheLeft(context_, font, sample);
  PangoItem* item = nullptr;
  if (items != nullptr && items->next == nullptr &&
      static_cast<PangoItem*>(items->data)->analysis.font == first) {
    item = static_cast<PangoItem*>(items->data);
    g_list_free(items);
  } else {
    g_list_free_full(items, reinterpret_cast<GDestroyNotify>(pango_item_free));
  }
  return item;
}

const TLineItems::TLearned& TLineItems::LearnedFor(const PangoFontDescription* font) {
  for (const TLearned& learned : learned_) {
    if (pango_font_description_equal(learned.font, font)) return learned;
  }
  TLearned learned;
  learned.font = pango_font_description_copy(font);
  // Pango gives each character the first font of the fontset that has it: a text that the
  // first font has all of is in that font throughout.
  if (PangoFont* first = FirstFontOf(context_, font)) {
    learned.latin = Learn(font, first, "a");
    learned.common = Learn(font, first, "1");
    for (gunichar c = 0; c < kLearnedBelow; ++c)
      learned.covered[c] = pango_font_has_char(first, c) != 0;
    g_object_unref(first);
  }
  learned_.push_back(learned);
  return learned_.back();
}

const PangoItem* TLineItems::ModelFor(const PangoFontDescription* font, std::string_view text) {
  const TScripts scripts = ScriptsOf(text, kLearnedBelow);
  if (scripts == TScripts::Other) return nullptr;
  // Digits and signs alone read the context's way: from the right, they are no one item.
  if (scripts == TScripts::Common && pango_context_get_base_dir(context_) != PANGO_DIRECTION_LTR)
    return nullptr;
  const TLearned& learned = LearnedFor(font);
  const PangoItem* model = scripts == TScripts::Latin ? learned.latin : learned.common;
  if (model == nullptr) return nullptr;
  for (const char* at = text.data(); at < text.data() + text.size(); at = g_utf8_next_char(at)) {
    if (!learned.covered[g_utf8_get_char(at)]) return nullptr;
  }
  return model;
}

GList* TLineItems::Itemize(const PangoFontDescription* font, std::string_view text) {
  const PangoItem* model = ModelFor(font, text);
  if (model == nullptr) return ItemsFromTheLeft(context_, font, text);
  PangoItem* item = pango_item_copy(const_cast<PangoItem*>(model));
  item->offset = 0;
  item->length = static_cast<gint>(text.size());
  item->num_chars = static_cast<gint>(g_utf8_strlen(text.data(), static_cast<gssize>(text.size())));
  return g_list_prepend(nullptr, item);
}

namespace {

PangoShapeFlags ShapeFlagsOf(PangoContext* context) {
  return pango_context_get_round_glyph_positions(context) != 0 ? PANGO_SHAPE_ROUND_POSITIONS
                                                               : PANGO_SHAPE_NONE;
}

// Keeps as many of the first clusters of `glyphs` (read from the left) as fit in `width`.
void KeepClustersWithin(PangoGlyphString* glyphs, int width) {
  int kept = 0;
  int x = 0;
  for (int i = 0; i < glyphs->num_glyphs; ++i) {
    if (i > 0 && glyphs->log_clusters[i] != glyphs->log_clusters[i - 1]) {
      if (x > width) break;
      kept = i;
    }
    x += glyphs->glyphs[i].geometry.width;
  }
  if (x <= width) kept = glyphs->num_glyphs;
  pango_glyph_string_set_size(glyphs, kept);
}

}  // namespace

TShapedLine::TShapedLine(TLineItems& lineItems, const PangoFontDescription* font,
                         std::string_view text, int width)
    : font_(pango_font_description_copy(font)) {
  PangoContext* context = lineItems.Context();
  GList* items = lineItems.Itemize(font, text);
  for (GList* each = items; each != nullptr; each = each->next) {
    auto* item = static_cast<PangoItem*>(each->data);
    PangoGlyphItem* run = g_slice_new0(PangoGlyphItem);
    run->item = item;
    run->glyphs = pango_glyph_string_new();
    pango_shape_with_flags(text.data() + item->offset, item->length, text.data(),
                           static_cast<int>(text.size()), &item->analysis, run->glyphs,
                           ShapeFlagsOf(context));
    runs_ = g_slist_prepend(runs_, run);
  }
  g_list_free(items);
  runs_ = g_slist_reverse(runs_);
  Measure();
  if (width >= 0 && width_ > width) Ellipsize(ShapeFlagsOf(context), width);
}

// As a layout cuts one line short at its end: whole clusters go from the end until the rest
// and an ellipsis fit. Only a single run read from the left, whose font has the ellipsis, is cut
// here; any other line stays too wide, for a layout to cut.
void TShapedLine::Ellipsize(PangoShapeFlags flags, int width) {
  if (runs_ == nullptr || runs_->next != nullptr) return;
  auto* run = static_cast<PangoGlyphItem*>(runs_->data);
  PangoAnalysis& analysis = run->item->analysis;
  constexpr char kEllipsis[] = "\u2026";
  if (analysis.level % 2 != 0 || !pango_font_has_char(analysis.font, 0x2026)) return;
  PangoGlyphItem* ellipsis = g_slice_new0(PangoGlyphItem);
  ellipsis->item = pango_item_copy(run->item);
  ellipsis->item->offset = 0;
  ellipsis->item->length = sizeof kEllipsis - 1;
  ellipsis->item->num_chars = 1;
  ellipsis->glyphs = pango_glyph_string_new();
  pango_shape_with_flags(kEllipsis, sizeof kEllipsis - 1, kEllipsis, sizeof kEllipsis - 1,
                         &ellipsis->item->analysis, ellipsis->glyphs, flags);
  KeepClustersWithin(run->glyphs, width - pango_glyph_string_get_width(ellipsis->glyphs));
  // The ellipsis takes what room is left, as a layout's does: the cut line is as wide as asked.
  const int left = width - pango_glyph_string_get_width(run->glyphs) -
                   pango_glyph_string_get_width(ellipsis->glyphs);
  if (left > 0 && ellipsis->glyphs->num_glyphs > 0)
    ellipsis->glyphs->glyphs[ellipsis->glyphs->num_glyphs - 1].geometry.width += left;
  runs_ = g_slist_append(runs_, ellipsis);
  ellipsized_ = true;
  Measure();
}

void TShapedLine::Measure() {
  int x = 0;
  int top = 0;
  int bottom = 0;
  bool inked = false;
  PangoRectangle ink{0, 0, 0, 0};
  for (GSList* each = runs_; each != nullptr; each = each->next) {
    const auto* run = static_cast<const PangoGlyphItem*>(each->data);
    PangoRectangle runInk;
    PangoRectangle runLogical;
    pango_glyph_string_extents(run->glyphs, run->item->analysis.font, &runInk, &runLogical);
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
