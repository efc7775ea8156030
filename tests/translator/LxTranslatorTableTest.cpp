#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/core/Component.h"
#include "support/Raised.h"
#include "translator/LxTranslatorTable.h"

namespace lx::translator {
namespace {

TLxTranslatorTableItem& AddItem(TLxTranslatorTable& table, framework::TObject* control,
                                const std::string& property, const std::string& current,
                                const framework::TComponent* holder = nullptr) {
  auto item = std::make_unique<TLxTranslatorTableItem>();
  item->Control = control;
  item->PropertyName = property;
  item->NativeText = current + " (native)";
  item->CurrentStripped = current;
  item->Holder = holder;
  return table.Add(std::move(item));
}

TEST(LxTranslatorTableTest, FindGivesTheFirstMatchingItem) {
  TLxTranslatorTable table;
  framework::TComponent a(nullptr);
  framework::TComponent b(nullptr);
  TLxTranslatorTableItem& first = AddItem(table, &a, "Items", "Red");
  TLxTranslatorTableItem& second = AddItem(table, &a, "Items", "Red");
  AddItem(table, &b, "Items", "Red");
  EXPECT_EQ(table.Find(&a, "Items", "Red"), &first);
  EXPECT_EQ(table.Find(&a, "items", "Red"), nullptr);  // case-sensitive
  EXPECT_EQ(table.Find(&a, "Items", "red"), nullptr);

  // A changed text moves the item; it keeps its place among equal ones.
  table.SetCurrentStripped(first, "Rojo");
  EXPECT_EQ(table.Find(&a, "Items", "Red"), &second);
  table.SetCurrentStripped(first, "Red");
  EXPECT_EQ(table.Find(&a, "Items", "Red"), &first);
  EXPECT_EQ(table.Count(), 3);
  EXPECT_EQ(&table.Items(1), &second);
  EXPECT_EQ(support::MessageOf([&] { table.Items(3); }), "List index out of bounds (3)");
  table.Clear();
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(table.Find(&a, "Items", "Red"), nullptr);
}

TEST(LxTranslatorTableTest, InAPassEachItemIsFoundOnce) {
  TLxTranslatorTable table;
  framework::TComponent list(nullptr);
  TLxTranslatorTableItem& first = AddItem(table, &list, "Items", "");
  TLxTranslatorTableItem& second = AddItem(table, &list, "Items", "");
  table.BeginPass();
  EXPECT_EQ(table.Find(&list, "Items", ""), &first);
  EXPECT_EQ(table.Find(&list, "Items", ""), &second);
  EXPECT_EQ(table.Find(&list, "Items", ""), nullptr);
  table.EndPass();
  EXPECT_EQ(table.Find(&list, "Items", ""), &first);
  EXPECT_EQ(table.Find(&list, "Items", ""), &first);
}

TEST(LxTranslatorTableTest, RemoveHolderDropsWhatTheComponentReached) {
  TLxTranslatorTable table;
  framework::TComponent a(nullptr);
  framework::TComponent b(nullptr);
  framework::TComponent part(nullptr);
  AddItem(table, &a, "Caption", "Open", &a);
  AddItem(table, &part, "Caption", "Open", &a);
  TLxTranslatorTableItem& kept = AddItem(table, &b, "Caption", "Open", &b);
  table.RemoveHolder(&a);
  EXPECT_EQ(table.Count(), 1);
  EXPECT_EQ(table.Find(&a, "Caption", "Open"), nullptr);
  EXPECT_EQ(table.Find(&part, "Caption", "Open"), nullptr);
  EXPECT_EQ(table.Find(&b, "Caption", "Open"), &kept);
}

}  // namespace
}  // namespace lx::translator
