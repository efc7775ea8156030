#include <gtest/gtest.h>

#include "lxpo/TextMeasure.h"

namespace lx::tools {
namespace {

// Sizes compared with each other, so that the installed fonts do not matter.
TEST(TextMeasureTest, TextsGrowWithTheirWordsTheirFontAndTheirLines) {
  const TextMeasure measure;
  const TextFont small{"DejaVu Sans", 8};
  const TextFont large{"DejaVu Sans", 16};
  const TextExtent word = measure.Measure("Abbrechen", small, false);
  EXPECT_EQ(word.lines, 1);
  EXPECT_GT(measure.Measure("Abbrechen und schließen", small, false).width, word.width);
  EXPECT_GT(measure.Measure("Abbrechen", large, false).width, word.width * 3 / 2);
  EXPECT_GT(measure.Measure("Abbrechen", {"DejaVu Sans", 8, true}, false).width, word.width);
  // Hebrew read right to left takes the room it takes.
  EXPECT_GT(measure.Measure("ביטול", small, true).width, 0);
  const TextExtent broken = measure.Measure("one\ntwo\nthree", small, false);
  EXPECT_EQ(broken.lines, 3);
  EXPECT_GE(broken.height, 3 * broken.lineHeight - 3);
  // Wrapped at a width, by words, and within a word too long for it.
  const TextExtent wrapped = measure.Measure("one two three four", small, false, word.width);
  EXPECT_GT(wrapped.lines, 1);
  EXPECT_LE(wrapped.width, word.width);
  EXPECT_GT(measure.Measure("Donaudampfschifffahrt", small, false, 20).lines, 2);
  EXPECT_EQ(measure.Measure("", small, false).lines, 0);
}

}  // namespace
}  // namespace lx::tools
