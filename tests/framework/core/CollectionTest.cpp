#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/Collection.h"
#include "framework/core/Component.h"
#include "framework/rtti/Published.h"
#include "framework/rtti/TypInfo.h"
#include "support/Raised.h"

namespace lx::framework {
namespace {

int g_columnsAlive = 0;

class TColumn : public TCollectionItem {
  LX_CLASS(TColumn, TCollectionItem)

 public:
  explicit TColumn(TCollection* collection) : TCollectionItem(collection) { ++g_columnsAlive; }
  ~TColumn() override { --g_columnsAlive; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) {
    caption_ = value;
    Changed(false);
  }
  int Width() const { return width_; }
  void SetWidth(int value) { width_ = value; }

  void Assign(const TPersistent* source) override {
    if (const auto* column = dynamic_cast<const TColumn*>(source)) {
      if (column->caption_ == "poison") throw platform::EConvertError("poisoned");
      caption_ = column->caption_;
      width_ = column->width_;
      return;
    }
    TCollectionItem::Assign(source);
  }

 private:
  std::string caption_;
  int width_ = 64;
};

LX_PUBLISHED(TColumn, Property("Caption", &TColumn::Caption, &TColumn::SetCaption),
             Property("Width", &TColumn::Width, &TColumn::SetWidth, 64))

// Records what the collection reports.
class TColumns : public TCollection {
 public:
  using TCollection::TCollection;
  std::vector<std::string> events;

 protected:
  void Update(TCollectionItem* item) override {
    events.push_back(item == nullptr ? "update:all" : "update:" + std::to_string(item->Index()));
  }
  void Notify(TCollectionItem* item, TCollectionNotification action) override {
    const char* names[] = {"added", "extracting", "deleting"};
    events.push_back(std::string(names[action]) + ":" + std::to_string(item->ID()));
  }
};

std::vector<std::string> Captions(const TCollection& columns) {
  std::vector<std::string> captions;
  for (int i = 0; i < columns.Count(); ++i) {
    captions.push_back(static_cast<TColumn*>(columns.Items(i))->Caption());
  }
  return captions;
}

TColumn* AddColumn(TCollection& columns, const std::string& caption) {
  auto* column = static_cast<TColumn*>(columns.Add());
  column->SetCaption(caption);
  return column;
}

TEST(CollectionTest, ItemsAreCreatedByTheItemClassAndFreedWithTheCollection) {
  {
    TColumns columns(TColumn::StaticClassInfo());
    TCollectionItem* item = columns.Add();
    EXPECT_EQ(item->ClassName(), "TColumn");
    EXPECT_EQ(item->Collection(), &columns);
    EXPECT_EQ(item->GetOwner(), &columns);
    SetStrProp(*item, "Caption", "Name");
    AddColumn(columns, "Size");
    EXPECT_EQ(g_columnsAlive, 2);
  }
  EXPECT_EQ(g_columnsAlive, 0);
}

TEST(CollectionTest, IndexMovesAnItem) {
  TColumns columns(TColumn::StaticClassInfo());
  for (const char* caption : {"a", "b", "c", "d"})
    AddColumn(columns, caption);
  columns.Items(0)->SetIndex(2);
  EXPECT_EQ(Captions(columns), (std::vector<std::string>{"b", "c", "a", "d"}));
  columns.Items(3)->SetIndex(0);
  EXPECT_EQ(Captions(columns), (std::vector<std::string>{"d", "b", "c", "a"}));
  EXPECT_EQ(columns.Items(3)->Index(), 3);
  for (int index : {4, -1}) {
    try {
      columns.Items(1)->SetIndex(index);
      FAIL() << "no exception";
    } catch (const platform::EListError& e) {
      EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(index) + ")");
    }
  }
  EXPECT_RAISES(columns.Items(4), platform::EListError, "List index out of bounds (4)");
  TColumn* inserted = static_cast<TColumn*>(columns.Insert(1));
  EXPECT_EQ(inserted->Index(), 1);
  EXPECT_EQ(columns.Count(), 5);
  EXPECT_RAISES(columns.Insert(7), platform::EListError, "List index out of bounds (7)");
  EXPECT_EQ(columns.Count(), 5);
}

TEST(CollectionTest, DeletingAndFreeingItemsKeepTheListRight) {
  TColumns columns(TColumn::StaticClassInfo());
  TColumn* a = AddColumn(columns, "a");
  AddColumn(columns, "b");
  TColumn* c = AddColumn(columns, "c");
  EXPECT_EQ(columns.FindItemID(c->ID()), c);
  const int deletedId = columns.Items(1)->ID();
  columns.Delete(1);
  delete a;
  EXPECT_EQ(Captions(columns), std::vector<std::string>{"c"});
  EXPECT_EQ(columns.FindItemID(deletedId), nullptr);
  const int lastId = c->ID();
  columns.Clear();
  EXPECT_EQ(columns.Count(), 0);
  EXPECT_EQ(g_columnsAlive, 0);
  EXPECT_EQ(AddColumn(columns, "d")->ID(), lastId + 1);
}

TEST(CollectionTest, ItemsMoveBetweenCollectionsOfTheirClass) {
  TColumns left(TColumn::StaticClassInfo());
  TColumns right(TColumn::StaticClassInfo());
  TColumn* a = AddColumn(left, "a");
  a->SetCollection(&right);
  EXPECT_EQ(left.Count(), 0);
  EXPECT_EQ(right.Items(0), a);
  a->SetCollection(nullptr);
  EXPECT_EQ(a->Index(), -1);
  std::unique_ptr<TColumn> loose(a);

  TCollection plain(TCollectionItem::StaticClassInfo());
  TCollectionItem* item = plain.Add();
  try {
    item->SetCollection(&right);
    FAIL() << "no exception";
  } catch (const platform::EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot add a TCollectionItem to a collection of TColumn");
  }
  EXPECT_EQ(item->Collection(), &plain);
  EXPECT_RAISES(TCollection{TComponent::StaticClassInfo()}, platform::EConvertError,
                "TComponent is not a collection item class");
}

TEST(CollectionTest, ChangesAreReportedOnceInAnUpdate) {
  TColumns columns(TColumn::StaticClassInfo());
  TColumn* a = AddColumn(columns, "a");
  EXPECT_EQ(columns.events, (std::vector<std::string>{"added:0", "update:all", "update:0"}));
  columns.events.clear();
  columns.BeginUpdate();
  AddColumn(columns, "b");
  a->SetCaption("A");
  columns.Delete(1);
  columns.EndUpdate();
  EXPECT_EQ(columns.events,
            (std::vector<std::string>{"added:1", "deleting:1", "extracting:1", "update:all"}));
}

TEST(CollectionTest, AssignCopiesItemByItemOrNotAtAll) {
  TColumns source(TColumn::StaticClassInfo());
  AddColumn(source, "x")->SetWidth(10);
  AddColumn(source, "y");
  TColumns dest(TColumn::StaticClassInfo());
  AddColumn(dest, "old");
  dest.Assign(&source);
  EXPECT_EQ(Captions(dest), (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(static_cast<TColumn*>(dest.Items(0))->Width(), 10);
  EXPECT_NE(dest.Items(0), source.Items(0));
  EXPECT_EQ(dest.Items(1)->Collection(), &dest);

  AddColumn(source, "poison");
  EXPECT_RAISES(dest.Assign(&source), platform::EConvertError, "poisoned");
  EXPECT_EQ(Captions(dest), (std::vector<std::string>{"x", "y"}));
  dest.Assign(&dest);
  EXPECT_EQ(dest.Count(), 2);
  EXPECT_EQ(g_columnsAlive, 5);

  TCollection plain(TCollectionItem::StaticClassInfo());
  plain.Add();
  EXPECT_RAISES(dest.Assign(&plain), platform::EConvertError,
                "Cannot assign a TCollectionItem to a TColumn");
  EXPECT_EQ(dest.Count(), 2);
}

}  // namespace
}  // namespace lx::framework
