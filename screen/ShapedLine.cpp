#include "screen/internal/ShapedLine.h"

#include <hb-ot.h>

#include <algorithm>
#include <array>

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

enum class TScripts : unsigned char { Other, Latin, Common };

// What each character below `kLearnedBelow` is to ScriptsOf: Latin letters, digits and common
// signs, except controls, the soft hyphen and signs that may show as emoji.
const std::array<TScripts, TLineItems::kLearnedBelow>& ScriptTable() {
  static const auto table = [] {
    std::array<TScripts, TLineItems::kLearnedBelow> scripts{};
    for (gunichar c = 0; c < TLineItems::kLearnedBelow; ++c) {
      const GUnicodeScript script = g_unichar_get_script(c);
      const bool excluded =
          c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xAD || c == 0xA9 || c == 0xAE;
      scripts[c] = excluded                            ? TScripts::Other
                   : script == G_UNICODE_SCRIPT_LATIN  ? TScripts::Latin
                   : script == G_UNICODE_SCRIPT_COMMON ? TScripts::Common
                                                       : TScripts::Other;
    }
    return scripts;
  }();
  return table;
}

// Whether `text` is all characters of the table the font has (`covered`), and of which script
// then: Latin with a Latin letter, else Common.
TScripts ScriptsOf(std::string_view text, const std::bitset<TLineItems::kLearnedBelow>& covered) {
  const auto& table = ScriptTable();
  bool latin = false;
  for (const char* at = text.data(); at < text.data() + text.size(); at = g_utf8_next_char(at)) {
    const gunichar c = g_utf8_get_char(at);
    if (c >= TLineItems::kLearnedBelow || !covered[c]) return TScripts::Other;
    const TScripts script = table[c];
    if (script == TScripts::Other) return TScripts::Other;
    latin = latin || script == TScripts::Latin;
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
  if (buffer_ != nullptr) hb_buffer_destroy(buffer_);
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
    if (hb_font_t* shaper = pango_font_get_hb_font(first)) {
      hb_face_t* face = hb_font_get_face(shaper);
      learned.plain = hb_ot_color_has_layers(face) == 0 && hb_ot_color_has_png(face) == 0 &&
                      hb_ot_color_has_svg(face) == 0;
    }
    g_object_unref(first);
  }
  learned_.push_back(learned);
  return learned_.back();
}

const PangoItem* TLineItems::ModelFor(const PangoFontDescription* font, std::string_view text,
                                      bool& plain) {
  const TLearned& learned = LearnedFor(font);
  plain = learned.plain;
  const TScripts scripts = ScriptsOf(text, learned.covered);
  if (scripts == TScripts::Other) return nullptr;
  // Digits and signs alone read the context's way: from the right, they are no one item.
  if (scripts == TScripts::Common && pango_context_get_base_dir(context_) != PANGO_DIRECTION_LTR)
    return nullptr;
  return scripts == TScripts::Latin ? learned.latin : learned.common;
}

GList* TLineItems::Itemize(const PangoFontDescription* font, std::string_view text, bool* learned) {
  bool plain = false;
  const PangoItem* model = ModelFor(font, text, plain);
  if (learned != nullptr) *learned = model != nullptr && plain;
  if (model == nullptr) return ItemsFromTheLeft(context_, font, text);
  PangoItem* item = pango_item_copy(const_cast<PangoItem*>(model));
  item->offset = 0;
  item->length = static_cast<gint>(text.size());
  item->num_chars = static_cast<gint>(g_utf8_strlen(text.data(), static_cast<gssize>(text.size())));
  return g_list_prepend(nullptr, item);
}

void TLineItems::ShapeLearned(std::string_view text, const PangoItem& item, PangoShapeFlags flags,
                              PangoGlyphString* glyphs) {
  hb_font_t* font = pango_font_get_hb_font(item.analysis.font);
  if (buffer_ == nullptr) buffer_ = hb_buffer_create();
  hb_buffer_clear_contents(buffer_);
  hb_buffer_set_direction(buffer_, HB_DIRECTION_LTR);
  hb_buffer_set_script(buffer_, hb_script_from_iso15924_tag(g_unicode_script_to_iso15924(
                                    static_cast<GUnicodeScript>(item.analysis.script))));
  hb_buffer_set_language(
      buffer_, hb_language_from_string(pango_language_to_string(item.analysis.language), -1));
  hb_buffer_set_cluster_level(buffer_, HB_BUFFER_CLUSTER_LEVEL_MONOTONE_CHARACTERS);
  hb_buffer_set_flags(buffer_,
                      static_cast<hb_buffer_flags_t>(HB_BUFFER_FLAG_BOT | HB_BUFFER_FLAG_EOT));
  hb_buffer_set_invisible_glyph(buffer_, PANGO_GLYPH_EMPTY);
  const int length = static_cast<int>(text.size());
  hb_buffer_add_utf8(buffer_, text.data(), length, 0, length);
  hb_feature_t features[32];
  guint featureCount = 0;
  pango_font_get_features(item.analysis.font, features, G_N_ELEMENTS(features), &featureCount);
  hb_shape(font, buffer_, features, featureCount);
  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer_, &count);
  const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer_, nullptr);
  pango_glyph_string_set_size(glyphs, static_cast<int>(count));
  const bool round = (flags & PANGO_SHAPE_ROUND_POSITIONS) != 0;
  for (unsigned i = 0; i < count; ++i) {
    PangoGlyphInfo& glyph = glyphs->glyphs[i];
    glyph.glyph = infos[i].codepoint;
    glyphs->log_clusters[i] = static_cast<int>(infos[i].cluster);
    glyph.attr.is_cluster_start = i == 0 || infos[i].cluster != infos[i - 1].cluster;
    glyph.attr.is_color = 0;
    glyph.geometry.width = positions[i].x_advance;
    glyph.geometry.x_offset = positions[i].x_offset;
    glyph.geometry.y_offset = -positions[i].y_offset;
    if (round) {
      glyph.geometry.width = PANGO_UNITS_ROUND(glyph.geometry.width);
      glyph.geometry.x_offset = PANGO_UNITS_ROUND(glyph.geometry.x_offset);
      glyph.geometry.y_offset = PANGO_UNITS_ROUND(glyph.geometry.y_offset);
    }
  }
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
  bool learned = false;
  GList* items = lineItems.Itemize(font, text, &learned);
  for (GList* each = items; each != nullptr; each = each->next) {
    auto* item = static_cast<PangoItem*>(each->data);
    PangoGlyphItem* run = g_slice_new0(PangoGlyphItem);
    run->item = item;
    run->glyphs = pango_glyph_string_new();
    if (learned) {
      lineItems.ShapeLearned(text, *item, ShapeFlagsOf(context), run->glyphs);
    } else {
      pango_shape_with_flags(text.data() + item->offset, item->length, text.data(),
                             static_cast<int>(text.size()), &item->analysis, run->glyphs,
                             ShapeFlagsOf(context));
    }
    runs_ = g_slist_prepend(runs_, run);
  }
  g_list_free(items);
  runs_ = g_slist_reverse(runs_);
  Measure();
  if (width >= 0 && width_ > width) Ellipsize(ShapeFlagsOf(context), width);
  FindPlainFont();
}

// Pango draws a missing glyph as a box of its code and a colour glyph in its own colours;
// the others go to cairo as they are.
void TShapedLine::FindPlainFont() {
  PangoFont* font = nullptr;
  for (GSList* each = runs_; each != nullptr; each = each->next) {
    const auto* run = static_cast<const PangoGlyphItem*>(each->data);
    if (font != nullptr && run->item->analysis.font != font) return;
    font = run->item->analysis.font;
    const PangoGlyphString* glyphs = run->glyphs;
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
      const PangoGlyphInfo& glyph = glyphs->glyphs[i];
      if ((glyph.glyph & PANGO_GLYPH_UNKNOWN_FLAG) != 0 || glyph.attr.is_color != 0) return;
    }
  }
  if (font != nullptr && PANGO_IS_CAIRO_FONT(font) &&
      pango_cairo_font_get_scaled_font(PANGO_CAIRO_FONT(font)) != nullptr) {
    plainFont_ = font;
  }
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

// Where Draw's glyph strings go: each run from the current point, which cairo keeps in its
// own precision, and each glyph from there as pango_cairo_show_glyph_string places it.
void TShapedLine::AppendGlyphs(cairo_t* cr, std::vector<cairo_glyph_t>& out) const {
  double left = 0;
  double top = 0;
  cairo_get_current_point(cr, &left, &top);
  int x = 0;
  for (GSList* each = runs_; each != nullptr; each = each->next) {
    const PangoGlyphString* glyphs = static_cast<const PangoGlyphItem*>(each->data)->glyphs;
    double baseX = 0;
    double baseY = 0;
    cairo_move_to(cr, left + pango_units_to_double(x), top + pango_units_to_double(baseline_));
    cairo_get_current_point(cr, &baseX, &baseY);
    int position = 0;
    for (int i = 0; i < glyphs->num_glyphs; ++i) {
      const PangoGlyphInfo& glyph = glyphs->glyphs[i];
      if (glyph.glyph != PANGO_GLYPH_EMPTY) {
        const PangoGlyphGeometry& at = glyph.geometry;
        const double glyphY = at.y_offset == 0 ? baseY : baseY + double(at.y_offset) / PANGO_SCALE;
        out.push_back({glyph.glyph, baseX + double(position + at.x_offset) / PANGO_SCALE, glyphY});
      }
      position += glyph.geometry.width;
    }
    x += position;
  }
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
