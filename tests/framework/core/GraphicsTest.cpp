#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/core/Font.h"
#include "framework/core/Graphics.h"
#include "framework/rtti/TypInfo.h"

namespace lx::framework {
namespace {

TEST(GraphicsTest, SystemColoursCarryTheirIndexUnderTheHighBit) {
  EXPECT_EQ(clBtnFace, -2147483633);
  EXPECT_EQ(clWindowText, -2147483640);
  EXPECT_EQ(clScrollBar, static_cast<TColor>(0x80000000u));
  EXPECT_EQ(clMenuBar, static_cast<TColor>(0x8000001Eu));
  EXPECT_EQ(clRed, 0x0000FF);
  EXPECT_EQ(clNone, 0x1FFFFFFF);
  EXPECT_EQ(clDefault, 0x20000000);
}

TEST(GraphicsTest, EveryColourHasItsNameAndEveryNameItsColour) {
  const TIdentMap& colors = ColorIdents();
  const std::vector<std::pair<TColor, std::string>> named = {
      {clBlack, "clBlack"},
      {clNavy, "clNavy"},
      {clWhite, "clWhite"},
      {clMedGray, "clMedGray"},
      {clBtnFace, "clBtnFace"},
      {clWindowText, "clWindowText"},
      {clInfoBk, "clInfoBk"},
      {clHotLight, "clHotLight"},
      {clMenuHighlight, "clMenuHighlight"},
      {clGradientInactiveCaption, "clGradientInactiveCaption"},
      {cl3DDkShadow, "cl3DDkShadow"},
      {clNone, "clNone"},
      {clDefault, "clDefault"},
  };
  for (const auto& [value, name] : named) {
    EXPECT_EQ(colors.NameOf(value), name);
    EXPECT_EQ(colors.ValueOf(name), value);
  }
  // Every system colour index from 0 to 30 has a name but 25, which the system leaves unused.
  for (int index = 0; index <= 30; ++index)
    EXPECT_EQ(colors.NameOf(SystemColor(index)).empty(), index == 25) << index;
  // Other names of one colour are read; the first is written.
  EXPECT_EQ(colors.ValueOf("clLtGray"), clSilver);
  EXPECT_EQ(colors.ValueOf("clDkGray"), clGray);
  EXPECT_EQ(colors.NameOf(clSilver), "clSilver");
  EXPECT_EQ(colors.NameOf(0x123456), "");
}

TEST(GraphicsTest, EveryCharacterSetHasItsName) {
  const TIdentMap& charsets = CharsetIdents();
  const std::vector<std::pair<int, std::string>> named = {
      {0, "ANSI_CHARSET"},      {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},
      {77, "MAC_CHARSET"},      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
      {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},   {136, "CHINESEBIG5_CHARSET"},
      {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"},  {163, "VIETNAMESE_CHARSET"},
      {177, "HEBREW_CHARSET"},  {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},
      {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},     {238, "EASTEUROPE_CHARSET"},
      {255, "OEM_CHARSET"},
  };
  int namedCount = 0;
  for (int value = 0; value <= 255; ++value) {
    if (!charsets.NameOf(value).empty()) ++namedCount;
  }
  EXPECT_EQ(namedCount, static_cast<int>(named.size()));
  for (const auto& [value, name] : named) {
    EXPECT_EQ(charsets.NameOf(value), name);
    EXPECT_EQ(charsets.ValueOf(name), value);
  }
}

TEST(GraphicsTest, FontsPublishTheirColourAndCharsetWithTheirNames) {
  TFont font;
  EXPECT_EQ(FindPropInfo(font, "Color").IdentMap(), &ColorIdents());
  EXPECT_EQ(FindPropInfo(font, "Charset").IdentMap(), &CharsetIdents());
  EXPECT_EQ(FindPropInfo(font, "Height").IdentMap(), nullptr);
}

}  // namespace
}  // namespace lx::framework
