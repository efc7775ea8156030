#include <gtest/gtest.h>

#include "framework/rtti/Published.h"
#include "framework/rtti/TypInfo.h"
#include "samples/Gadget.h"

namespace lx::framework {
namespace {

using support::TGadget;
using support::TPart;

const TPropInfo& Prop(std::string_view name) {
  return *TGadget::StaticClassInfo().FindProperty(name);
}

TEST(PublishedTest, KindsFollowTheAccessorTypes) {
  const std::vector<std::pair<const char*, TTypeKind>> expected = {
      {"Count", tkInteger}, {"Letter", tkChar},  {"Shade", tkEnumeration},
      {"Ratio", tkFloat},   {"Code", tkString},  {"Shades", tkSet},
      {"Part", tkClass},    {"Glyph", tkWChar},  {"Caption", tkLString},
      {"Title", tkWString}, {"Big", tkInt64},    {"Enabled", tkEnumeration},
      {"Small", tkInteger}, {"OnPing", tkMethod}};
  for (const auto& [name, kind] : expected)
    EXPECT_EQ(Prop(name).Kind(), kind) << name;
}

TEST(PublishedTest, TypeDataNamesValuesElementsAndClasses) {
  EXPECT_EQ(Prop("Shade").EnumType()->TypeName(), "TShade");
  EXPECT_EQ(Prop("Shades").EnumType(), Prop("Shade").EnumType());
  EXPECT_EQ(Prop("Enabled").EnumType(), &TEnumInfo::Boolean());
  EXPECT_EQ(Prop("Part").ClassType(), &TPart::StaticClassInfo());
  EXPECT_EQ(Prop("Count").EnumType(), nullptr);
  EXPECT_EQ(Prop("Count").ClassType(), nullptr);
}

TEST(PublishedTest, MissingAccessorsMakeReadOnlyAndWriteOnlyProperties) {
  EXPECT_TRUE(Prop("Hidden").IsReadable());
  EXPECT_FALSE(Prop("Hidden").IsWritable());
  EXPECT_FALSE(Prop("Written").IsReadable());
  EXPECT_TRUE(Prop("Written").IsWritable());
}

TEST(PublishedTest, DefaultsAreKeptAsPropertyValues) {
  EXPECT_EQ(Prop("Letter").Default(), TPropValue(std::int64_t{'a'}));
  EXPECT_EQ(Prop("Shade").Default(), TPropValue(std::int64_t{support::shMedium}));
  EXPECT_EQ(Prop("Enabled").Default(), TPropValue(std::int64_t{1}));
  EXPECT_FALSE(Prop("Ratio").Default().has_value());
  EXPECT_FALSE(Prop("Shades").Default().has_value());
}

TEST(PublishedTest, StoredDeclarationsAreAskedOfTheInstance) {
  TGadget gadget(nullptr);
  EXPECT_FALSE(IsStoredProp(gadget, Prop("Hidden")));
  EXPECT_FALSE(IsStoredProp(gadget, Prop("Name")));
  EXPECT_TRUE(IsStoredProp(gadget, Prop("Tag")));
  EXPECT_TRUE(IsStoredProp(gadget, Prop("Code")));
  gadget.code = "none";
  EXPECT_FALSE(IsStoredProp(gadget, Prop("Code")));
}

TEST(PublishedTest, ShortStringsAreCutAt255Characters) {
  TGadget gadget(nullptr);
  SetStrProp(gadget, "Code", std::string(300, 'x'));
  EXPECT_EQ(gadget.code, std::string(255, 'x'));
  SetStrProp(gadget, "Code", "short");
  EXPECT_EQ(gadget.code, "short");
}

TEST(PublishedTest, DescriptorsOfOneClassRefuseOtherInstances) {
  TPart part;
  try {
    GetOrdProp(part, Prop("Count"));
    FAIL() << "no exception";
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), "Property Count does not belong to TPart");
  }
}

TEST(PublishedTest, RawValuesOfTheWrongTypeAreRefused) {
  TGadget gadget(nullptr);
  try {
    Prop("Count").SetValue(gadget, std::string("7"));
    FAIL() << "no exception";
  } catch (const EPropertyConvertError& e) {
    EXPECT_EQ(e.Message(), "Invalid value type for property Count");
  }
  EXPECT_EQ(gadget.Count(), 0);
}

}  // namespace
}  // namespace lx::framework
