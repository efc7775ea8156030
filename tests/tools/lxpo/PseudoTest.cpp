#include <gtest/gtest.h>

#include "lxpo/Pseudo.h"

namespace lx::tools {
namespace {

TEST(PseudoTest, AccentsLengthensAndBracketsTheText) {
  EXPECT_EQ(PseudoText("Open"), "[Öpéñ~~]");
  EXPECT_EQ(PseudoText("Cancel this"), "[Çåñçél thîš~~~~]");  // 11 characters, 4 more
  EXPECT_EQ(PseudoText(""), "[]");
  // Letters without a look-alike and other scripts stay; line breaks too.
  EXPECT_EQ(PseudoText("xyz\r\nÄ"), "[xýž\r\nÄ~~~]");
}

// Lengths count what shows: a hot key with its marker, "&&" and a placeholder are one each.
TEST(PseudoTest, KeepsHotKeysAndFormatPlaceholders) {
  EXPECT_EQ(PseudoText("&Open"), "[&Opéñ~~]");
  EXPECT_EQ(PseudoText("Save && &exit"), "[Šåvé && &exît~~~~]");
  EXPECT_EQ(PseudoText("&Äpfel"), "[&Äpfél~~]");
  EXPECT_EQ(PseudoText("%s of %d"), "[%s öf %d~~~]");
  EXPECT_EQ(PseudoText("%1:s %-8.2f %%"), "[%1:s %-8.2f %%~~]");
  EXPECT_EQ(PseudoText("100% sure"), "[100% šüré~~~~]");
  EXPECT_EQ(PseudoText("end&"), "[éñd&~~]");
}

}  // namespace
}  // namespace lx::tools
