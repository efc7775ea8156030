#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

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
  // Shorter, longer, and a part of the item's own text.
  table.ChangeCurrentStripped(first, "Rot");
  EXPECT_EQ(first.CurrentStripped, "Rot");
  table.ChangeCurrentStripped(first, "Rouge et noir");
  table.ChangeCurrentStripped(first, std::string_view(first.CurrentStripped).substr(6));
  EXPECT_EQ(first.CurrentStripped, "et noir");
  EXPECT_EQ(table.Find(&a, "Items", "et noir"), &first);
  table.SetCurrentStripped(first, "Red");
  EXPECT_EQ(table.Count(), 3);
  EXPECT_EQ(&table.Items(1), &second);
  EXPECT_RAISES(table.Items(3), platform::Exception, "List index out of bounds (3)");
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

// A pass usually meets an object's texts in their old order; any other order is found too.
TEST(LxTranslatorTableTest, APassInAnotherOrderFindsTheSameItems) {
  TLxTranslatorTable table;
  framework::TComponent list(nullptr);
  std::vector<TLxTranslatorTableItem*> items;
  for (const char* line : {"b", "a", "b", "c"})
    items.push_back(&AddItem(table, &list, "Items", line));
  for (int pass = 0; pass < 2; ++pass) {
    table.BeginPass();
    EXPECT_EQ(table.Find(&list, "Items", "c"), items[3]);
    EXPECT_EQ(table.Find(&list, "Items", "b"), items[0]);
    EXPECT_EQ(table.Find(&list, "Items", "a"), items[1]);
    EXPECT_EQ(table.Find(&list, "Items", "b"), items[2]);
    EXPECT_EQ(table.Find(&list, "Items", "b"), nullptr);
    EXPECT_EQ(table.Find(&list, "Items", "c"), nullptr);
    table.EndPass();
  }
  table.BeginPass();
  table.SetCurrentStripped(*items[1], "z");  // found by its new text only
  EXPECT_EQ(table.Find(&list, "Items", "b"), items[0]);
  EXPECT_EQ(table.Find(&list, "Items", "a"), nullptr);
  EXPECT_EQ(table.Find(&list, "Items", "z"), items[1]);
  table.EndPass();
}

TEST(LxTranslatorTableTest, ALongListIsFoundThroughTheIndexInAnyOrder) {
  TLxTranslatorTable table;
  framework::TComponent list(nullptr);
  std::vector<TLxTranslatorTableItem*> items;
  for (int i = 0; i < 20; ++i)
    items.push_back(&AddItem(table, &list, "Items", "line " + std::to_string(i)));
  table.BeginPass();
  for (int i = 19; i >= 0; --i) {
    TLxTranslatorTableItem* item = table.Find(&list, "Items", "line " + std::to_string(i));
    ASSERT_EQ(item, items[static_cast<std::size_t>(i)]);
    table.SetCurrentStripped(*item, "linea " + std::to_string(i));
  }
  table.EndPass();
  table.BeginPass();
  EXPECT_EQ(table.Find(&list, "Items", "linea 7"), items[7]);
  EXPECT_EQ(table.Find(&list, "Items", "linea 3"), items[3]);
  EXPECT_EQ(table.Find(&list, "Items", "line 3"), nullptr);
  table.EndPass();
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

// Holders go one by one, in any order: the rest stay listed in their order, with a list's
// lines that all go at once, and a holder asked again finds nothing more.
TEST(LxTranslatorTableTest, HoldersRemovedOneByOneLeaveTheRestInOrder) {
  TLxTranslatorTable table;
  std::vector<std::unique_ptr<framework::TComponent>> holders;
  for (int i = 0; i < 10; ++i) {
    holders.push_back(std::make_unique<framework::TComponent>(nullptr));
    for (int line = 0; line < 12; ++line)
      AddItem(table, holders.back().get(), "Items", "Line " + std::to_string(line),
              holders.back().get());
  }
  for (int i : {3, 0, 9, 4, 4, 7})
    table.RemoveHolder(holders[static_cast<std::size_t>(i)].get());
  ASSERT_EQ(table.Count(), 5 * 12);
  const std::vector<int> kept = {1, 2, 5, 6, 8};
  for (int at = 0; at < table.Count(); ++at) {
    EXPECT_EQ(table.Items(at).Holder, holders[static_cast<std::size_t>(kept[at / 12])].get());
    EXPECT_EQ(table.Items(at).CurrentStripped, "Line " + std::to_string(at % 12));
  }
  EXPECT_EQ(table.Find(holders[0].get(), "Items", "Line 3"), nullptr);
  EXPECT_NE(table.Find(holders[8].get(), "Items", "Line 11"), nullptr);
}

TEST(LxTranslatorTableTest, ItemsDroppedInAPassLiveUntilItEnds) {
  TLxTranslatorTable table;
  framework::TComponent a(nullptr);
  framework::TComponent b(nullptr);
  AddItem(table, &a, "Caption", "Open", &a);
  AddItem(table, &b, "Caption", "Save", &b);
  table.BeginPass();
  TLxTranslatorTableItem* dropped = table.Find(&a, "Caption", "Open");
  TLxTranslatorTableItem* cleared = table.Find(&b, "Caption", "Save");
  table.RemoveHolder(&a);
  EXPECT_EQ(table.Find(&a, "Caption", "Open"), nullptr);
  EXPECT_EQ(dropped->CurrentStripped, "Open");  // the pass may still hold it
  table.Clear();
  EXPECT_EQ(table.Find(&b, "Caption", "Save"), nullptr);
  EXPECT_EQ(cleared->CurrentStripped, "Save");
  table.EndPass();
  EXPECT_EQ(table.Count(), 0);
}

// Passes that follow the order of the one before, with texts changed, items skipped, moved,
// added and dropped, and equal texts side by side, find what a scan of the table in order
// finds: the first item that matches and was not taken in the pass.
// Passes that mostly follow the pass before, checked against a scan of the table. With one
// object its two properties hold long lists, searched through the index; with a few, most
// items share their object and property with some others; with many, most are alone.
void FindAsAScanPassAfterPass(int objectCount) {
  TLxTranslatorTable table;
  std::vector<std::unique_ptr<framework::TComponent>> objects;
  for (int i = 0; i < objectCount; ++i)
    objects.push_back(std::make_unique<framework::TComponent>(nullptr));
  std::mt19937 random(7);
  const auto pick = [&random](int count) {
    return static_cast<int>(random() % static_cast<unsigned>(count));
  };
  const auto anyObject = [&] { return objects[static_cast<std::size_t>(pick(objectCount))].get(); };
  const char* const properties[] = {"Caption", "Items"};
  const char* const texts[] = {"a", "b", "c", ""};
  struct TQuery {
    framework::TObject* control;
    std::string property, text;
  };
  const auto randomQuery = [&] { return TQuery{anyObject(), properties[pick(2)], texts[pick(4)]}; };
  const auto add = [&]() -> const TLxTranslatorTableItem* {
    const TQuery query = randomQuery();
    return &AddItem(table, query.control, query.property, query.text, anyObject());
  };
  const auto queryAll = [&table](std::vector<TQuery>& queries) {
    for (int i = 0; i < table.Count(); ++i) {
      const TLxTranslatorTableItem& item = table.Items(i);
      queries.push_back({item.Control, item.PropertyName, item.CurrentStripped});
    }
  };
  for (int i = 0; i < 40; ++i)
    add();
  std::vector<TQuery> queries;
  queryAll(queries);
  for (int pass = 0; pass < 300; ++pass) {
    table.BeginPass();
    std::set<const TLxTranslatorTableItem*> taken;
    std::vector<TQuery> next;
    for (std::size_t q = 0; q < queries.size(); ++q) {
      const int dice = pick(100);
      if (dice < 5 && q + 1 < queries.size()) std::swap(queries[q], queries[q + 1]);
      if (dice >= 5 && dice < 10) continue;
      if (dice >= 10 && dice < 14) queries[q] = randomQuery();
      if (dice == 14) taken.insert(add());  // an item added in a pass counts as taken
      if (dice == 15 || dice == 16) table.RemoveHolder(anyObject());
      if (dice == 17) queries[q] = queries[pick(static_cast<int>(queries.size()))];
      const TQuery& query = queries[q];
      const TLxTranslatorTableItem* expected = nullptr;
      for (int i = 0; i < table.Count() && expected == nullptr; ++i) {
        const TLxTranslatorTableItem& item = table.Items(i);
        if (item.Control == query.control && item.PropertyName == query.property &&
            item.CurrentStripped == query.text && !taken.contains(&item)) {
          expected = &item;
        }
      }
      TLxTranslatorTableItem* found = table.Find(query.control, query.property, query.text);
      ASSERT_EQ(found, expected) << "pass " << pass << ", query " << q;
      if (found == nullptr) continue;
      taken.insert(found);
      if (pick(3) == 0) table.SetCurrentStripped(*found, texts[pick(4)]);
      next.push_back({found->Control, found->PropertyName, found->CurrentStripped});
    }
    table.EndPass();
    if (pass % 7 == 3) table.RemoveHolder(anyObject());
    if (pass % 50 == 49) table.Clear();
    while (table.Count() < 30)
      add();
    // Items no pass found lately come back now and then.
    if (pass % 5 == 4 || next.empty()) queryAll(next);
    queries = std::move(next);
  }
}

TEST(LxTranslatorTableTest, FindGivesWhatAScanGivesPassAfterPass) {
  for (const int objectCount : {1, 4, 64}) {
    SCOPED_TRACE(objectCount);
    FindAsAScanPassAfterPass(objectCount);
  }
}

}  // namespace
}  // namespace lx::translator
