#include <gtest/gtest.h>

#include "framework/core/Font.h"
#include "framework/core/Strings.h"
#include "framework/rtti/TypInfo.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

TEST(FontTest, StartsAsTheClassicDefaultFont) {
  TFont font;
  EXPECT_EQ(font.Name(), "MS Sans Serif");
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Height(), -11);
  EXPECT_EQ(font.Charset(), kDefaultCharset);
  EXPECT_EQ(font.Color(), clWindowText);
  EXPECT_TRUE(font.Style().Empty());
  EXPECT_EQ(font.Pitch(), fpDefault);
}

TEST(FontTest, SizeAndHeightAreOneValueAt96PixelsPerInch) {
  TFont font;
  const std::vector<std::pair<int, int>> sizes = {{8, -11},  {9, -12}, {10, -13}, {11, -15},
                                                  {12, -16}, {0, 0},   {-8, 11}};
  for (const auto& [size, height] : sizes) {
    font.SetSize(size);
    EXPECT_EQ(font.Height(), height) << size;
    EXPECT_EQ(font.Size(), size) << size;
  }
  font.SetHeight(-14);
  EXPECT_EQ(font.Size(), 11);
  font.SetHeight(13);
  EXPECT_EQ(font.Size(), -10);
}

TEST(FontTest, OnChangeFiresOnEveryEffectiveChange) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &font);
    ++changes;
  };
  font.SetName("Tahoma");
  font.SetName("Tahoma");
  font.SetName("");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(font.Name(), "Tahoma");
  font.SetSize(8);  // the same height
  font.SetSize(9);
  font.SetHeight(-12);
  font.SetCharset(kDefaultCharset);
  font.SetCharset(204);
  font.SetColor(clWindowText);
  font.SetColor(0x0000FF);
  font.SetStyle({});
  font.SetStyle({fsBold, fsItalic});
  font.SetPitch(fpDefault);
  font.SetPitch(fpFixed);
  EXPECT_EQ(changes, 6);
}

TEST(FontTest, AssignTakesEveryValueWithOneNotification) {
  TFont source;
  source.SetName("Arial");
  source.SetSize(12);
  source.SetCharset(161);
  source.SetColor(0x123456);
  source.SetStyle({fsUnderline});
  source.SetPitch(fpVariable);
  TFont font;
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.Assign(&source);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(font.Name(), "Arial");
  EXPECT_EQ(font.Height(), -16);
  EXPECT_EQ(font.Charset(), 161);
  EXPECT_EQ(font.Color(), 0x123456);
  EXPECT_EQ(font.Style(), TFontStyles{fsUnderline});
  EXPECT_EQ(font.Pitch(), fpVariable);
  font.Assign(&source);
  font.Assign(&font);
  EXPECT_EQ(changes, 1);
  TStringList list;
  try {
    font.Assign(&list);
    FAIL() << "no exception";
  } catch (const platform::EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TStringList to a TFont");
  }
}

TEST(FontTest, PublishesItsValuesForTheForms) {
  TFont font;
  std::vector<std::string> names;
  for (const TPropInfo* property : GetPropList(font))
    names.push_back(property->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Charset", "Color", "Height", "Name", "Pitch", "Size",
                                             "Style"}));
  SetSetProp(font, "Style", "[fsBold,fsStrikeOut]");
  EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsStrikeOut}));
  SetOrdProp(font, "Color", clWindowText);
  EXPECT_EQ(GetOrdProp(font, "Color"), clWindowText);
  EXPECT_RAISES(SetOrdProp(font, "Charset", 256), EPropertyConvertError,
                "Value 256 is out of range for property Charset");
  SetOrdProp(font, "Size", 10);
  EXPECT_EQ(GetOrdProp(font, "Height"), -13);
  EXPECT_FALSE(IsStoredProp(font, *GetPropInfo(font, "Size")));
  EXPECT_TRUE(IsStoredProp(font, *GetPropInfo(font, "Height")));
  EXPECT_TRUE(IsDefaultPropValue(font, *GetPropInfo(font, "Pitch")));
  EXPECT_FALSE(IsDefaultPropValue(font, *GetPropInfo(font, "Style")));
}

}  // namespace
}  // namespace lx::framework
