#include <gtest/gtest.h>

#include "framework/rtti/TypInfo.h"
#include "samples/Gadget.h"

namespace lx::framework {
namespace {

using support::TBigGadget;
using support::TGadget;
using support::TPart;

template <typename E, typename F>
void ExpectError(F action, const std::string& message) {
  try {
    action();
    FAIL() << "no exception, expected: " << message;
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

class TypInfoTest : public ::testing::Test {
 protected:
  TGadget gadget{nullptr};
  const TPropInfo& Prop(std::string_view name) { return FindPropInfo(gadget, name); }
};

TEST_F(TypInfoTest, OrdinalsByNameAndByDescriptor) {
  SetOrdProp(gadget, "count", 42);
  EXPECT_EQ(gadget.Count(), 42);
  EXPECT_EQ(GetOrdProp(gadget, Prop("Count")), 42);
  SetOrdProp(gadget, Prop("Letter"), 0xE9);
  EXPECT_EQ(gadget.letter, '\xE9');
  EXPECT_EQ(GetOrdProp(gadget, "Letter"), 0xE9);
  SetOrdProp(gadget, "Glyph", 0x263A);
  EXPECT_EQ(gadget.glyph, u'\u263A');
  SetOrdProp(gadget, "Shade", support::shDark);
  EXPECT_EQ(gadget.shade, support::shDark);
  SetOrdProp(gadget, "Enabled", 0);
  EXPECT_FALSE(gadget.enabled);
  SetOrdProp(gadget, "Shades", 0b101);
  EXPECT_EQ(gadget.shades, (support::TShades{support::shLight, support::shDark}));
  EXPECT_EQ(GetOrdProp(gadget, "Shades"), 0b101);
  SetOrdProp(gadget, "Small", 255);
  EXPECT_EQ(GetOrdProp(gadget, "Small"), 255);
  SetOrdProp(gadget, "Tag", -3);
  EXPECT_EQ(gadget.Tag(), -3);
}

TEST_F(TypInfoTest, OrdinalsOutOfTheirTypesRangeAreRefused) {
  const std::vector<std::pair<const char*, std::int64_t>> refused = {
      {"Shade", 3},   {"Shade", -1},   {"Enabled", 2},     {"Shades", 8},
      {"Small", 256}, {"Letter", 256}, {"Glyph", 0x10000}, {"Count", std::int64_t{1} << 31}};
  for (const auto& [name, value] : refused) {
    ExpectError<EPropertyConvertError>(
        [&, name = name, value = value] { SetOrdProp(gadget, name, value); },
        "Value " + std::to_string(value) + " is out of range for property " + name);
  }
  EXPECT_EQ(gadget.shade, support::shMedium);
  EXPECT_TRUE(gadget.shades.Empty());
}

TEST_F(TypInfoTest, EnumerationsByName) {
  EXPECT_EQ(GetEnumProp(gadget, "Shade"), "shMedium");
  SetEnumProp(gadget, "Shade", "SHDARK");
  EXPECT_EQ(gadget.shade, support::shDark);
  SetEnumProp(gadget, Prop("Enabled"), "false");
  EXPECT_EQ(GetEnumProp(gadget, "Enabled"), "False");
  ExpectError<EPropertyConvertError>([&] { SetEnumProp(gadget, "Shade", "shBlack"); },
                                     "Invalid property element: shBlack");
  ExpectError<EPropertyConvertError>([&] { GetEnumProp(gadget, "Shades"); },
                                     "Property Shades is not an enumeration property");
}

TEST_F(TypInfoTest, SetsAsText) {
  EXPECT_EQ(GetSetProp(gadget, "Shades", true), "[]");
  SetSetProp(gadget, "Shades", " [ shDark , SHLIGHT ] ");
  EXPECT_EQ(GetSetProp(gadget, "Shades"), "shLight,shDark");
  EXPECT_EQ(GetSetProp(gadget, Prop("Shades"), true), "[shLight,shDark]");
  SetSetProp(gadget, "Shades", "shMedium");
  EXPECT_EQ(gadget.shades, support::TShades{support::shMedium});
  SetSetProp(gadget, "Shades", "");
  EXPECT_TRUE(gadget.shades.Empty());
  const std::vector<std::pair<const char*, const char*>> refused = {
      {"[shLight,shBlue]", "shBlue"},
      {"shLight,,shDark", ""},
      {"shLight,", ""},
      {"[shLight", "[shLight"},
      {"shLight shDark", "shLight shDark"}};
  for (const auto& [text, element] : refused) {
    ExpectError<EPropertyConvertError>([&, text = text] { SetSetProp(gadget, "Shades", text); },
                                       std::string("Invalid property element: ") + element);
  }
  EXPECT_TRUE(gadget.shades.Empty());
}

TEST_F(TypInfoTest, StringsFloatsAndInt64) {
  SetStrProp(gadget, "Caption", "Hello");
  EXPECT_EQ(GetStrProp(gadget, Prop("Caption")), "Hello");
  SetStrProp(gadget, Prop("Code"), "K1");
  EXPECT_EQ(GetStrProp(gadget, "Code"), "K1");
  SetWideStrProp(gadget, "Title", u"Gr\u00FC\u00DFe");
  EXPECT_EQ(GetWideStrProp(gadget, Prop("Title")), u"Gr\u00FC\u00DFe");
  SetFloatProp(gadget, "Ratio", 2.5);
  EXPECT_EQ(GetFloatProp(gadget, Prop("Ratio")), 2.5);
  SetInt64Prop(gadget, "Big", std::int64_t{1} << 40);
  EXPECT_EQ(GetInt64Prop(gadget, "Big"), std::int64_t{1} << 40);
}

TEST_F(TypInfoTest, EachAccessorTakesItsKindsOnly) {
  ExpectError<EPropertyConvertError>([&] { GetOrdProp(gadget, "Caption"); },
                                     "Property Caption is not an ordinal property");
  ExpectError<EPropertyConvertError>([&] { GetStrProp(gadget, "Title"); },
                                     "Property Title is not a string property");
  ExpectError<EPropertyConvertError>([&] { SetWideStrProp(gadget, "Caption", u"x"); },
                                     "Property Caption is not a wide string property");
  ExpectError<EPropertyConvertError>([&] { GetInt64Prop(gadget, "Count"); },
                                     "Property Count is not an Int64 property");
  ExpectError<EPropertyConvertError>([&] { GetFloatProp(gadget, "Big"); },
                                     "Property Big is not a float property");
  ExpectError<EPropertyConvertError>([&] { GetObjectProp(gadget, "Caption"); },
                                     "Property Caption is not an object property");
  ExpectError<EPropertyConvertError>([&] { GetMethodProp(gadget, "Part"); },
                                     "Property Part is not a method property");
  ExpectError<EPropertyConvertError>([&] { SetSetProp(gadget, "Shade", "shDark"); },
                                     "Property Shade is not a set property");
}

TEST_F(TypInfoTest, UnknownReadOnlyAndWriteOnlyProperties) {
  ExpectError<EPropertyError>([&] { GetStrProp(gadget, "Colour"); },
                              "Property Colour does not exist");
  ExpectError<EPropertyError>([&] { SetOrdProp(gadget, "Hidden", 1); },
                              "Property Hidden is read-only");
  ExpectError<EPropertyError>([&] { GetStrProp(gadget, "Written"); },
                              "Property Written is write-only");
  SetStrProp(gadget, "Written", "w");
  EXPECT_EQ(gadget.written, "w");
  EXPECT_EQ(GetOrdProp(gadget, "Hidden"), 5);
  EXPECT_TRUE(IsPublishedProp(gadget, "HIDDEN"));
  EXPECT_FALSE(IsPublishedProp(gadget, "Volume"));
  EXPECT_EQ(GetPropInfo(gadget, "Volume"), nullptr);
  EXPECT_EQ(GetPropList(gadget).size(), TGadget::StaticClassInfo().Properties().size());
}

TEST_F(TypInfoTest, ObjectsMustBeOfThePropertysClass) {
  TPart part;
  SetObjectProp(gadget, "Part", &part);
  EXPECT_EQ(gadget.part, &part);
  EXPECT_EQ(GetObjectProp(gadget, Prop("Part")), &part);
  TBigGadget other(nullptr);
  ExpectError<EPropertyConvertError>([&] { SetObjectProp(gadget, "Part", &other); },
                                     "Property Part cannot hold a TBigGadget");
  EXPECT_EQ(gadget.part, &part);
  SetObjectProp(gadget, "Part", nullptr);
  EXPECT_EQ(gadget.part, nullptr);
}

TEST_F(TypInfoTest, EventsBindToPublishedMethodsByName) {
  TGadget root(nullptr);
  SetMethodProp(gadget, "OnPing", TMethod{&root, "PING"});
  ASSERT_TRUE(gadget.OnPing);
  gadget.OnPing(&gadget);
  EXPECT_EQ(root.pings, 1);
  EXPECT_EQ(root.lastSender, &gadget);
  EXPECT_EQ(GetMethodProp(gadget, "OnPing"), (TMethod{&root, "Ping"}));
  EXPECT_FALSE(IsDefaultPropValue(gadget, Prop("OnPing")));

  // A copy keeps the binding; an event set in code has no name and is not stored.
  const TNotifyEvent copy = gadget.OnPing;
  gadget.OnPing = copy;
  EXPECT_EQ(GetMethodProp(gadget, "OnPing").name, "Ping");
  gadget.OnPing = [](TObject*) {};
  EXPECT_EQ(GetMethodProp(gadget, "OnPing"), TMethod{});
  EXPECT_TRUE(IsDefaultPropValue(gadget, Prop("OnPing")));

  SetMethodProp(gadget, "OnPing", TMethod{&root, "Ping"});
  SetMethodProp(gadget, "OnPing", TMethod{&root, ""});
  EXPECT_FALSE(gadget.OnPing);
}

TEST_F(TypInfoTest, EventsRefuseMethodsThatDoNotFit) {
  TGadget root(nullptr);
  TPart part;
  ExpectError<EPropertyError>(
      [&] {
        SetMethodProp(gadget, "OnPing", TMethod{&root, "Pong"});
      },
      "Method Pong does not exist in TGadget");
  ExpectError<EPropertyError>(
      [&] {
        SetMethodProp(gadget, "OnPing", TMethod{&part, "Ping"});
      },
      "Method Ping does not exist in TPart");
  ExpectError<EPropertyConvertError>(
      [&] {
        SetMethodProp(gadget, "OnPing", TMethod{&root, "Twice"});
      },
      "Method Twice does not fit property OnPing");
  ExpectError<EPropertyError>(
      [&] {
        SetMethodProp(gadget, "OnPing", TMethod{nullptr, "Ping"});
      },
      "Method Ping has no object");
  EXPECT_FALSE(gadget.OnPing);
}

TEST_F(TypInfoTest, DefaultValuesAreWhatTheWriterLeavesOut) {
  EXPECT_TRUE(IsDefaultPropValue(gadget, Prop("Count")));
  gadget.SetCount(1);
  EXPECT_FALSE(IsDefaultPropValue(gadget, Prop("Count")));
  EXPECT_TRUE(IsDefaultPropValue(gadget, Prop("Enabled")));
  // Ordinals without a default are always written; other kinds when not empty or zero.
  EXPECT_FALSE(IsDefaultPropValue(gadget, Prop("Small")));
  EXPECT_FALSE(IsDefaultPropValue(gadget, Prop("Shades")));
  EXPECT_TRUE(IsDefaultPropValue(gadget, Prop("Caption")));
  EXPECT_TRUE(IsDefaultPropValue(gadget, Prop("Title")));
  EXPECT_TRUE(IsDefaultPropValue(gadget, Prop("Ratio")));
  EXPECT_TRUE(IsDefaultPropValue(gadget, Prop("Big")));
  EXPECT_TRUE(IsDefaultPropValue(gadget, Prop("Part")));
  gadget.SetCaption("x");
  gadget.ratio = 0.5;
  TPart part;
  gadget.part = &part;
  EXPECT_FALSE(IsDefaultPropValue(gadget, Prop("Caption")));
  EXPECT_FALSE(IsDefaultPropValue(gadget, Prop("Ratio")));
  EXPECT_FALSE(IsDefaultPropValue(gadget, Prop("Part")));
}

TEST(TypInfoSetTextTest, ConvertsMasksBothWays) {
  const TEnumInfo& shades = support::EnumInfoOf(static_cast<support::TShade*>(nullptr));
  EXPECT_EQ(SetToString(shades, 0b110), "shMedium,shDark");
  EXPECT_EQ(SetToString(shades, 0, true), "[]");
  EXPECT_EQ(StringToSet(shades, "[shDark,shLight]"), 0b101u);
  EXPECT_EQ(StringToSet(shades, " [ ] "), 0u);
}

}  // namespace
}  // namespace lx::framework
