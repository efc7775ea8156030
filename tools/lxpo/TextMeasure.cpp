#include "TextMeasure.h"

#include <pango/pangocairo.h>

namespace lx::tools {

// The screen's resolution when nothing says otherwise, as GTK takes it.
constexpr double kPixelsPerInch = 96.0;

struct TextMeasure::State {
  PangoFontMap* fontMap = nullptr;
  PangoContext* context = nullptr;
};

TextMeasure::TextMeasure() : state_(std::make_unique<State>()) {
  state_->fontMap = pango_cairo_font_map_new();
  pango_cairo_font_map_set_resolution(PANGO_CAIRO_FONT_MAP(state_->fontMap), kPixelsPerInch);
  state_->context = pango_font_map_create_context(state_->fontMap);
  // Whole-pixel metrics, as widgets on an X screen get them.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(state_->context, options);
  cairo_font_options_destroy(options);
}

TextMeasure::~TextMeasure() {
  g_object_unref(state_->context);
  g_object_unref(state_->fontMap);
}

TextExtent TextMeasure::Measure(const std::string& text, const TextFont& font, bool rightToLeft,
                                int wrapWidth) const {
  pango_context_set_base_dir(state_->context,
                             rightToLeft ? PANGO_DIRECTION_RTL : PANGO_DIRECTION_LTR);
  PangoLayout* layout = pango_layout_new(state_->context);
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, font.family.c_str());
  pango_font_description_set_size(description, font.points * PANGO_SCALE);
  pango_font_description_set_weight(description,
                                    font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description,
                                   font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_layout_set_font_description(layout, description);
  pango_font_description_free(description);
  if (wrapWidth > 0) {
    pango_layout_set_width(layout, wrapWidth * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  }
  // A line's height, whatever the text holds.
  pango_layout_set_text(layout, "X", -1);
  TextExtent extent;
  pango_layout_get_pixel_size(layout, nullptr, &extent.lineHeight);
  pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
  pango_layout_get_pixel_size(layout, &extent.width, &extent.height);
  extent.lines = text.empty() ? 0 : pango_layout_get_line_count(layout);
  g_object_unref(layout);
  return extent;
}

}  // namespace lx::tools
