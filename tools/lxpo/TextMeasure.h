// Texts laid out as the screen lays them out, with Pango, without a display: how wide and how
// high a text is in a font, and on how many lines it goes when it wraps.
#pragma once

#include <memory>
#include <string>

namespace lx::tools {

/// A font as the screen layer asks for it: a family (fontconfig finds the face that stands in
/// for it) and a size in points at 96 pixels per inch.
struct TextFont {
  std::string family;
  int points = 8;
  bool bold = false;
  bool italic = false;
};

/// The logical size of a laid-out text, in pixels.
struct TextExtent {
  int width = 0;
  int height = 0;
  int lines = 0;
  /// The height of one line of the font.
  int lineHeight = 0;
};

class TextMeasure {
 public:
  TextMeasure();
  ~TextMeasure();
  TextMeasure(const TextMeasure&) = delete;
  TextMeasure& operator=(const TextMeasure&) = delete;

  /// Lays out the UTF-8 `text` (line breaks start new lines) in `font`, right to left when
  /// `rightToLeft`; wrapped at word and then at character boundaries to `wrapWidth` pixels
  /// when that is above 0.
  TextExtent Measure(const std::string& text, const TextFont& font, bool rightToLeft,
                     int wrapWidth = 0) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace lx::tools
