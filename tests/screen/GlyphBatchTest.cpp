#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "screen/internal/GlyphBatch.h"

namespace lx::screen {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 60;

// The pixels of `draw` run on a white picture.
std::string Drawn(const std::function<void(cairo_t*)>& draw) {
  cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(picture);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  draw(cr);
  cairo_destroy(cr);
  cairo_surface_flush(picture);
  const auto* data = reinterpret_cast<const char*>(cairo_image_surface_get_data(picture));
  std::string pixels(data,
                     static_cast<std::size_t>(cairo_image_surface_get_stride(picture)) * kHeight);
  cairo_surface_destroy(picture);
  return pixels;
}

struct TPlaced {
  const char* text;
  double x;
  double y;
  GdkRGBA colour;
};

class GlyphBatchTest : public testing::Test {
 protected:
  GlyphBatchTest()
      : context_(pango_font_map_create_context(pango_cairo_font_map_get_default())),
        items_(context_),
        font_(pango_font_description_from_string("DejaVu Sans 8")) {}
  ~GlyphBatchTest() override {
    pango_font_description_free(font_);
    g_object_unref(context_);
  }

  std::vector<std::unique_ptr<TShapedLine>> Shaped(const std::vector<TPlaced>& placed) {
    std::vector<std::unique_ptr<TShapedLine>> lines;
    for (const TPlaced& each : placed)
      lines.push_back(std::make_unique<TShapedLine>(items_, font_, each.text));
    return lines;
  }

  PangoContext* context_;
  TLineItems items_;
  PangoFontDescription* font_;
};

void DrawAlone(cairo_t* cr, const TShapedLine& line, const TPlaced& at) {
  gdk_cairo_set_source_rgba(cr, &at.colour);
  cairo_move_to(cr, at.x, at.y);
  line.Draw(cr);
}

constexpr GdkRGBA kBlack{0, 0, 0, 1};
constexpr GdkRGBA kRed{0.8, 0.1, 0.1, 1};

// Lines of one colour wait together; another colour, or a line cairo cannot show as it is (a
// character no font has is drawn as a box of its code), shows what waits first.
TEST_F(GlyphBatchTest, DrawsAsEachLineAlone) {
  const std::vector<TPlaced> placed = {{"\xC3\x89tiquette 17", 2, 2, kBlack},
                                       {"Bouton 3", 120, 2.5, kBlack},
                                       {"Case 12", 2, 20, kRed},
                                       {"no \xF3\xB0\x80\x80 font", 120, 20, kBlack},
                                       {"fi Wa", 2, 40, kBlack},
                                       {"\xD8\xB2\xD8\xB1 101", 120, 40, kBlack}};
  const auto lines = Shaped(placed);
  EXPECT_EQ(lines[3]->PlainFont(), nullptr);
  const std::string alone = Drawn([&](cairo_t* cr) {
    for (std::size_t i = 0; i < lines.size(); ++i)
      DrawAlone(cr, *lines[i], placed[i]);
  });
  EXPECT_EQ(Drawn([&](cairo_t* cr) {
              TGlyphBatch batch(cr, {0, 0, kWidth, kHeight});
              for (std::size_t i = 0; i < lines.size(); ++i)
                batch.Show(*lines[i], placed[i].x, placed[i].y, placed[i].colour);
            }),
            alone);
}

// What is painted after a line stays on top of it where it covers the line's ink, and a clip
// set after a line does not cut it.
TEST_F(GlyphBatchTest, KeepsWhatIsPaintedLaterOnTop) {
  const std::vector<TPlaced> placed = {{"Schaltfl\xC3\xA4"
                                        "che 7",
                                        4, 4, kBlack},
                                       {"Ligne 9", 4, 30, kBlack}};
  const auto lines = Shaped(placed);
  const GdkRectangle cover{20, 0, 30, 14};  // over the first line's middle
  const GdkRectangle clip{0, 0, 10, 60};
  const auto paint = [](cairo_t* cr, const GdkRectangle& area) {
    cairo_set_source_rgb(cr, 0.2, 0.6, 0.2);
    gdk_cairo_rectangle(cr, &area);
    cairo_fill(cr);
  };
  const std::string alone = Drawn([&](cairo_t* cr) {
    DrawAlone(cr, *lines[0], placed[0]);
    paint(cr, cover);
    DrawAlone(cr, *lines[1], placed[1]);
  });
  EXPECT_EQ(Drawn([&](cairo_t* cr) {
              TGlyphBatch batch(cr, {0, 0, kWidth, kHeight});
              batch.Show(*lines[0], placed[0].x, placed[0].y, kBlack);
              batch.Before(cover);
              paint(cr, cover);
              batch.Show(*lines[1], placed[1].x, placed[1].y, kBlack);
              batch.Flush();
              cairo_save(cr);
              gdk_cairo_rectangle(cr, &clip);
              cairo_clip(cr);
              batch.Flush();  // nothing waits: nothing drawn in the clip
              cairo_restore(cr);
            }),
            alone);
}

}  // namespace
}  // namespace lx::screen
