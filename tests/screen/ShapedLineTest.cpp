#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "screen/internal/ShapedLine.h"

namespace lx::screen {
namespace {

// The pixels of `draw` run on a white picture, from (4, 4).
template <typename TDraw>
std::string Drawn(TDraw draw) {
  cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 240, 40);
  cairo_t* cr = cairo_create(picture);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, 4, 4);
  draw(cr);
  cairo_destroy(cr);
  cairo_surface_flush(picture);
  const auto* data = reinterpret_cast<const char*>(cairo_image_surface_get_data(picture));
  std::string pixels(data, static_cast<std::size_t>(cairo_image_surface_get_stride(picture)) * 40);
  cairo_surface_destroy(picture);
  return pixels;
}

bool Same(const PangoRectangle& a, const PangoRectangle& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// Whether a shaped line measures and draws exactly as a layout of the same text does.
// A `width` in pixels cuts both short with an ellipsis.
void ExpectDrawnAsALayout(PangoContext* context, TLineItems& items, const char* family,
                          const char* text, int width = -1) {
  SCOPED_TRACE(std::string(family) + ": " + text + " in " + std::to_string(width) +
               (pango_context_get_base_dir(context) == PANGO_DIRECTION_RTL ? " rtl" : " ltr"));
  PangoFontDescription* font = pango_font_description_from_string(family);
  PangoLayout* layout = pango_layout_new(context);
  pango_layout_set_text(layout, text, -1);
  pango_layout_set_font_description(layout, font);
  if (width >= 0) {
    pango_layout_set_width(layout, width * PANGO_SCALE);
    pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  }
  PangoRectangle ink;
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, &ink, &logical);
  const TShapedLine line(items, font, text, width < 0 ? -1 : width * PANGO_SCALE);
  // A line the shaped line does not cut is left to a layout.
  if (width >= 0 && line.Width() > width * PANGO_SCALE) {
    EXPECT_TRUE(pango_layout_is_ellipsized(layout));
    g_object_unref(layout);
    pango_font_description_free(font);
    return;
  }
  EXPECT_TRUE(Same(line.Ink(), ink));
  EXPECT_TRUE(Same(line.Logical(), logical));
  EXPECT_EQ(Drawn([&](cairo_t* cr) { line.Draw(cr); }),
            Drawn([&](cairo_t* cr) { pango_cairo_show_layout(cr, layout); }));
  g_object_unref(layout);
  pango_font_description_free(font);
}

// In either paragraph direction: Latin and its signs (learned as one item), Arabic with digits,
// Hebrew amid Latin, digits alone, and a letter the font asked for lacks (another has it).
TEST(ShapedLineTest, DrawsAsALayoutOfOneLine) {
  for (const PangoDirection direction : {PANGO_DIRECTION_LTR, PANGO_DIRECTION_RTL}) {
    PangoContext* context = pango_font_map_create_context(pango_cairo_font_map_get_default());
    pango_context_set_base_dir(context, direction);
    TLineItems items(context);
    for (const char* text : {"\xC3\x89tiquette 17", "\xD8\xAA\xD8\xB3\xD9\x85\xD9\x8A\xD8\xA9 17",
                             "abc \xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D 12 def", "12 + 3", "fi Wa",
                             "a\xC2\xA0"
                             "b \xC3\x97 7.5%",
                             "\xC5\x93uvre \xC2\xBD", "x \xE2\x80\x94 y",
                             "Gr\xC3\xB6\xC3\x9F"
                             "e: 3,5 \xE2\x82\xAC"})
      ExpectDrawnAsALayout(context, items, "DejaVu Sans 8", text);
    // Latin that HarfBuzz shapes without Pango, in faces of other kerning and ligatures.
    for (const char* family : {"DejaVu Serif Bold 11", "Noto Sans Italic 9", "Noto Serif 13"}) {
      for (const char* text : {"AVATAR Tw Yo f\xC3\xAF", "office ffl \xC3\x86on", "L'T, (V) - 4/7"})
        ExpectDrawnAsALayout(context, items, family, text);
    }
    ExpectDrawnAsALayout(context, items, "DejaVu Math TeX Gyre 9",
                         "a\xC6\xB5"
                         "b");
    // Cut short: within a word, at a space, to the ellipsis alone, around ligatures; and
    // Arabic, which a layout cuts.
    for (const int width : {60, 41, 2})
      ExpectDrawnAsALayout(context, items, "DejaVu Sans 8",
                           "Schaltfl\xC3\xA4"
                           "che 123",
                           width);
    ExpectDrawnAsALayout(context, items, "DejaVu Sans 8", "fi fi fi fi fi", 30);
    ExpectDrawnAsALayout(context, items, "DejaVu Sans 8",
                         "\xD8\xAA\xD8\xB3\xD9\x85\xD9\x8A\xD8\xA9 \xD8\xAA\xD8\xB3\xD9\x85", 30);
    g_object_unref(context);
  }
}

}  // namespace
}  // namespace lx::screen
