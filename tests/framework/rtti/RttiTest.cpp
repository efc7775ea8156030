#include <gtest/gtest.h>

#include "framework/core/Collection.h"
#include "framework/core/Strings.h"
#include "framework/rtti/Rtti.h"
#include "samples/Gadget.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

using support::TBigGadget;
using support::TGadget;
using support::TPart;

std::vector<std::string> NamesOf(const TClassInfo& info) {
  std::vector<std::string> names;
  for (const TPropInfo* property : info.Properties())
    names.push_back(property->Name());
  return names;
}

TEST(RttiTest, IdentMapsNameValuesBothWays) {
  static constexpr TIdentMapEntry kEntries[] = {{-1, "xNone"}, {7, "xSeven"}, {7, "xSept"}};
  const TIdentMap map("TX", kEntries);
  EXPECT_EQ(map.TypeName(), "TX");
  EXPECT_EQ(map.NameOf(-1), "xNone");
  EXPECT_EQ(map.NameOf(7), "xSeven");  // the first name of a value is the one written
  EXPECT_EQ(map.NameOf(8), "");
  EXPECT_EQ(map.NameOf(std::int64_t{7} + (std::int64_t{1} << 32)), "");
  EXPECT_EQ(map.ValueOf("XSEPT"), 7);
  EXPECT_EQ(map.ValueOf("xnone"), -1);
  EXPECT_EQ(map.ValueOf("xEight"), std::nullopt);
  EXPECT_EQ(map.ValueOf(""), std::nullopt);
}

TEST(RttiTest, KindNumbersAreTheStoredOnes) {
  EXPECT_EQ(tkInteger, 1);
  EXPECT_EQ(tkClass, 7);
  EXPECT_EQ(tkMethod, 8);
  EXPECT_EQ(tkLString, 10);
  EXPECT_EQ(tkWString, 11);
  EXPECT_EQ(tkInt64, 16);
  EXPECT_EQ(tkUString, 18);
  EXPECT_EQ(TypeKindMask({tkString, tkLString, tkWString}), (1u << 5) | (1u << 10) | (1u << 11));
  EXPECT_TRUE(KindInMask(tkClass, 0xFFFFFFFF));
  EXPECT_FALSE(KindInMask(32, 0xFFFFFFFF));
  EXPECT_FALSE(KindInMask(-1, 0xFFFFFFFF));
}

TEST(RttiTest, EnumerationNamesComeFromTheDeclaration) {
  const TEnumInfo& shades = support::EnumInfoOf(static_cast<support::TShade*>(nullptr));
  EXPECT_EQ(shades.TypeName(), "TShade");
  EXPECT_EQ(shades.Count(), 3);
  EXPECT_EQ(shades.NameOf(support::shDark), "shDark");
  EXPECT_EQ(shades.NameOf(3), "");
  EXPECT_EQ(shades.NameOf(-1), "");
  EXPECT_EQ(shades.ValueOf("SHMEDIUM"), 1);
  EXPECT_EQ(shades.ValueOf("shMedium "), -1);
  EXPECT_EQ(TEnumInfo::Boolean().NameOf(1), "True");
  EXPECT_RAISES(TEnumInfo("TBad", "a, b = 2"), std::logic_error,
                "bad value name in enumeration TBad");
}

TEST(RttiTest, ClassesKnowTheirAncestry) {
  TBigGadget gadget(nullptr);
  EXPECT_EQ(gadget.ClassName(), "TBigGadget");
  EXPECT_EQ(gadget.ClassParent(), &TGadget::StaticClassInfo());
  EXPECT_TRUE(gadget.InheritsFrom(TComponent::StaticClassInfo()));
  EXPECT_TRUE(gadget.InheritsFrom(TObject::StaticClassInfo()));
  EXPECT_FALSE(gadget.InheritsFrom(TStrings::StaticClassInfo()));
  EXPECT_EQ(TObject::StaticClassInfo().Parent(), nullptr);
  const TComponent& asComponent = gadget;
  EXPECT_EQ(&asComponent.ClassInfo(), &TBigGadget::StaticClassInfo());
}

TEST(RttiTest, PropertiesComeAncestorsFirstAndRepublishedOnesKeepTheirPlace) {
  const std::vector<std::string> expected = {"Name",    "Tag",    "Count",   "Letter",  "Shade",
                                             "Ratio",   "Code",   "Shades",  "Part",    "Glyph",
                                             "Caption", "Title",  "Big",     "Enabled", "Small",
                                             "OnPing",  "Hidden", "Written", "Volume"};
  EXPECT_EQ(NamesOf(TBigGadget::StaticClassInfo()), expected);
  const TPropInfo* count = TBigGadget::StaticClassInfo().FindProperty("count");
  ASSERT_NE(count, nullptr);
  EXPECT_NE(count, TGadget::StaticClassInfo().FindProperty("Count"));
  EXPECT_EQ(std::get<std::int64_t>(*count->Default()), 7);
  EXPECT_EQ(TBigGadget::StaticClassInfo().FindProperty("Nope"), nullptr);
  EXPECT_TRUE(NamesOf(TObject::StaticClassInfo()).empty());
}

TEST(RttiTest, ClassTypedPropertiesResolveTheirClassLazily) {
  const TPropInfo* next = TPart::StaticClassInfo().FindProperty("Next");
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->ClassType(), &TPart::StaticClassInfo());
  EXPECT_EQ(TPart::StaticClassInfo().FindProperty("Weight")->ClassType(), nullptr);
}

TEST(RttiTest, MethodsAndFieldsAreFoundThroughAncestors) {
  const TClassInfo& big = TBigGadget::StaticClassInfo();
  ASSERT_NE(big.FindMethod("ping"), nullptr);
  EXPECT_EQ(big.FindMethod("ping")->Name(), "Ping");
  EXPECT_EQ(big.FindMethod("Pong"), nullptr);
  ASSERT_NE(big.FindField("BUDDY"), nullptr);
  EXPECT_EQ(&big.FindField("Buddy")->FieldClass(), &TGadget::StaticClassInfo());
  EXPECT_EQ(TGadget::StaticClassInfo().FindField("Buddy"), nullptr);
}

TEST(RttiTest, FieldsHoldOnlyTheirClass) {
  TBigGadget owner(nullptr);
  TGadget gadget(nullptr);
  TPart part;
  const TFieldInfo& buddy = *owner.ClassInfo().FindField("Buddy");
  buddy.Set(owner, &gadget);
  EXPECT_EQ(owner.buddy, &gadget);
  EXPECT_EQ(buddy.Get(owner), &gadget);
  try {
    buddy.Set(owner, &part);
    FAIL() << "no exception";
  } catch (const EPropertyConvertError& e) {
    EXPECT_EQ(e.Message(), "Field Buddy cannot hold a TPart");
  }
  EXPECT_EQ(owner.buddy, &gadget);
}

TEST(RttiTest, FactoriesCreateByCategory) {
  std::unique_ptr<TComponent> owner(TGadget::StaticClassInfo().CreateComponent(nullptr));
  TComponent* child = TBigGadget::StaticClassInfo().CreateComponent(owner.get());
  EXPECT_EQ(child->Owner(), owner.get());
  EXPECT_EQ(child->ClassName(), "TBigGadget");

  std::unique_ptr<TObject> list = TStringList::StaticClassInfo().CreateObject();
  EXPECT_EQ(list->ClassName(), "TStringList");

  TCollection collection(TCollectionItem::StaticClassInfo());
  TCollectionItem* item = TCollectionItem::StaticClassInfo().CreateItem(&collection);
  EXPECT_EQ(item->Collection(), &collection);

  try {
    TStrings::StaticClassInfo().CreateObject();
    FAIL() << "no exception";
  } catch (const EAbstractError& e) {
    EXPECT_EQ(e.Message(), "Cannot create an instance of TStrings");
  }
  EXPECT_RAISES(TStringList::StaticClassInfo().CreateComponent(nullptr), EAbstractError,
                "Cannot create an instance of TStringList");
  EXPECT_RAISES(TCollection::StaticClassInfo().CreateObject(), EAbstractError,
                "Cannot create an instance of TCollection");
}

}  // namespace
}  // namespace lx::framework
