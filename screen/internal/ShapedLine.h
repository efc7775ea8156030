// One line of text shaped once and drawn as it is, for a label that needs neither an ellipsis
// nor lines under its text: a PangoLayout would also work out where the text may break, wrap
// and cut it, and walk its attributes, which costs as much again as shaping the text.
#pragma once

#include <pango/pangocairo.h>

#include <bitset>
#include <string_view>
#include <vector>

// Kept inside a shared library: only the layer's own units use it.
#pragma GCC visibility push(hidden)

namespace lx::screen {

/// Whether a layout would show `text` as the shaped line of it: a text, and no tab to stop at
/// nor anything that ends a line.
bool IsOneLine(std::string_view text);

/// How the texts of one context are cut into items (runs of one font, script and direction),
/// learned once per font for the texts most captions are: Latin letters, digits and common
/// signs, all in the font asked for, read left to right. Such a text is one item, alike for all
/// of them, where Pango would look up a font for each of its characters anew.
class TLineItems {
 public:
  /// `context` must outlive this.
  explicit TLineItems(PangoContext* context) : context_(context) {}
  ~TLineItems();
  TLineItems(const TLineItems&) = delete;
  TLineItems& operator=(const TLineItems&) = delete;

  PangoContext* Context() const { return context_; }
  /// The items of `text` in `font`, from the left, as pango_itemize would cut them; `learned`
  /// tells whether that is a learned item of a font without colour glyphs.
  GList* Itemize(const PangoFontDescription* font, std::string_view text, bool* learned = nullptr);
  /// Shapes `text`, the one learned item Itemize gave, into `glyphs` as pango_shape_with_flags
  /// would: directly with HarfBuzz, where Pango would wrap the font anew for each text and
  /// ask of every glyph whether it is in colour.
  void ShapeLearned(std::string_view text, const PangoItem& item, PangoShapeFlags flags,
                    PangoGlyphString* glyphs);

  static constexpr gunichar kLearnedBelow = 0x250;  // Basic Latin to Latin Extended-B

 private:
  struct TLearned {
    PangoFontDescription* font = nullptr;
    PangoItem* latin = nullptr;   // the item of a text with a Latin letter; null: none learned
    PangoItem* common = nullptr;  // of one of digits and signs alone
    std::bitset<kLearnedBelow> covered;  // the characters the fontset's first font has
    bool plain = false;  // that font has no colour glyphs: HarfBuzz shapes its texts directly
  };
  const TLearned& LearnedFor(const PangoFontDescription* font);
  PangoItem* Learn(const PangoFontDescription* font, PangoFont* first, const char* sample) const;
  /// The learned item that `text` is one of, alike; null when Pango must cut it.
  const PangoItem* ModelFor(const PangoFontDescription* font, std::string_view text, bool& plain);

  PangoContext* context_;
  std::vector<TLearned> learned_;
  hb_buffer_t* buffer_ = nullptr;  // made when first shaped into
};

class TShapedLine {
 public:
  /// `text` in `font`, its runs in the order they read from the left, laid out as a PangoLayout
  /// of the items' context lays out one line: its paragraph reads the way its first letter of
  /// either direction does, or as the context does when it has none.
  /// A line wider than `width` (Pango units; none when below 0) is cut short at its end with an
  /// ellipsis, as a layout of that width cuts it, when it is a single run read from the left;
  /// any other stays wider (Width).
  TShapedLine(TLineItems& items, const PangoFontDescription* font, std::string_view text,
              int width = -1);
  ~TShapedLine();
  TShapedLine(const TShapedLine&) = delete;
  TShapedLine& operator=(const TShapedLine&) = delete;

  /// The font it was asked for.
  const PangoFontDescription* Font() const { return font_; }
  /// Whether it was cut short.
  bool Ellipsized() const { return ellipsized_; }
  /// Pango units from its left edge to its right.
  int Width() const { return width_; }
  /// In pixels from the line's top left, as pango_layout_get_pixel_extents gives them.
  const PangoRectangle& Ink() const { return ink_; }
  const PangoRectangle& Logical() const { return logical_; }
  /// Draws the line with its top left at the current point of `cr`, in its source.
  void Draw(cairo_t* cr) const;
  /// The one font of all its glyphs, when none is missing from it nor in colour: then cairo
  /// shows them as they are. Null otherwise.
  PangoFont* PlainFont() const { return plainFont_; }
  /// Appends the glyphs of a line with a PlainFont, placed as Draw places them for a line with
  /// its top left at the current point of `cr`.
  void AppendGlyphs(cairo_t* cr, std::vector<cairo_glyph_t>& glyphs) const;

 private:
  void Ellipsize(PangoShapeFlags flags, int width);
  void Measure();
  void FindPlainFont();

  PangoFontDescription* font_;
  GSList* runs_ = nullptr;  // PangoGlyphItem, from the left
  int baseline_ = 0;        // Pango units below the top
  int width_ = 0;
  bool ellipsized_ = false;
  PangoFont* plainFont_ = nullptr;  // held by its runs
  PangoRectangle ink_{0, 0, 0, 0};
  PangoRectangle logical_{0, 0, 0, 0};
};

}  // namespace lx::screen
#pragma GCC visibility pop
