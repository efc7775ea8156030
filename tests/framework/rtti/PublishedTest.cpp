#include <gtest/gtest.h>

#include "framework/rtti/Published.h"
#include "framework/rtti/TypInfo.h"
#include "samples/Gadget.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

using support::TBigGadget;
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

// A text worked out on every read: there is nothing to refer to.
class TComputed : public TPersistent {
  LX_CLASS(TComputed, TPersistent)

 public:
  std::string Text() const { return "<" + text + ">"; }
  void SetText(const std::string& value) { text = value; }
  std::string text;
};

}  // namespace

LX_PUBLISHED(TComputed, Property("Text", &TComputed::Text, &TComputed::SetText))

namespace {

TEST(PublishedTest, LongStringsAreReadInPlaceAndWrittenDirectly) {
  TGadget gadget(nullptr);
  gadget.SetCaption("Hello");
  EXPECT_EQ(Prop("Caption").StringRef(gadget), &gadget.Caption());
  Prop("Caption").SetString(gadget, "World");
  EXPECT_EQ(gadget.Caption(), "World");
  Prop("Written").SetString(gadget, "kept");
  EXPECT_EQ(gadget.written, "kept");
  EXPECT_EQ(Prop("Written").StringRef(gadget), nullptr);  // write-only

  // A short string keeps its limit however it is written.
  EXPECT_EQ(Prop("Code").StringRef(gadget), nullptr);
  Prop("Code").SetString(gadget, std::string(300, 'x'));
  EXPECT_EQ(gadget.code, std::string(255, 'x'));

  // A reader that gives a new text each time is read through a value.
  TComputed computed;
  const TPropInfo& text = *TComputed::StaticClassInfo().FindProperty("Text");
  computed.text = "a";
  EXPECT_EQ(text.StringRef(computed), nullptr);
  EXPECT_EQ(GetStrProp(computed, text), "<a>");
  text.SetString(computed, "b");
  EXPECT_EQ(GetStrProp(computed, text), "<b>");
}

TEST(PublishedTest, DirectStringAccessRefusesOtherInstances) {
  TPart part;
  EXPECT_RAISES(Prop("Caption").StringRef(part), EPropertyError,
                "Property Caption does not belong to TPart");
  EXPECT_RAISES(Prop("Caption").SetString(part, "x"), EPropertyError,
                "Property Caption does not belong to TPart");
  // A descendant is no foreign instance.
  TBigGadget big(nullptr);
  big.SetCaption("Big");
  EXPECT_EQ(GetStrProp(big, Prop("Caption")), "Big");
  // A caller that found the property in the instance's own class info reads and writes
  // without the check, through the same accessors.
  const TPropInfo& caption = *big.ClassInfo().FindProperty("Caption");
  EXPECT_EQ(caption.StringRefUnchecked(big), &big.Caption());
  caption.SetStringUnchecked(big, "Bigger");
  EXPECT_EQ(big.Caption(), "Bigger");
  // A property without direct access goes through its setter.
  TComputed computed;
  const TPropInfo& text = *TComputed::StaticClassInfo().FindProperty("Text");
  EXPECT_EQ(text.StringRefUnchecked(computed), nullptr);
  text.SetStringUnchecked(computed, "c");
  EXPECT_EQ(computed.text, "c");
}

}  // namespace
}  // namespace lx::framework
