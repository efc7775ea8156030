// TCollection and TCollectionItem: an ordered list of items of one class that a published
// property holds (the columns of a list view, the panels of a status bar). The collection
// owns its items and frees them with itself, the last first.
#pragma once

#include <vector>

#include "framework/core/Persistent.h"

namespace lx::framework {

LX_ENUM(TCollectionNotification, cnAdded, cnExtracting, cnDeleting)

class TCollection;

class TCollectionItem : public TPersistent {
  LX_CLASS(TCollectionItem, TPersistent)
  friend class TCollection;

 public:
  /// A new item at the end of `collection` (or of none, when null: the caller's to free).
  explicit TCollectionItem(TCollection* collection);
  /// Leaves the collection.
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  /// Moves the item to the end of another collection, or out of any when null (the item is
  /// then the caller's to free). The collection's item class must fit.
  void SetCollection(TCollection* value);
  /// Unique within the collection that numbered it, in order of arrival.
  int ID() const { return id_; }
  /// The position in the collection; -1 without collection.
  int Index() const;
  /// Moves the item to `value`; raises EListError "List index out of bounds (<value>)".
  virtual void SetIndex(int value);
  TPersistent* GetOwner() const override;

 protected:
  /// Tells the collection that this item (or every item) changed.
  void Changed(bool allItems);

 private:
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
  LX_CLASS(TCollection, TPersistent)
  friend class TCollectionItem;

 public:
  /// An empty collection of `itemClass`, a TCollectionItem descendant whose items are made
  /// by its class info; `owner` is the object holding the collection. Raises EConvertError
  /// for a class that is not a collection item class.
  explicit TCollection(const TClassInfo& itemClass, TPersistent* owner = nullptr);
  ~TCollection() override;

  const TClassInfo& ItemClass() const { return itemClass_; }
  TPersistent* Owner() const { return owner_; }
  TPersistent* GetOwner() const override { return owner_; }

  int Count() const { return static_cast<int>(items_.size()); }
  /// The item at `index`; raises EListError "List index out of bounds (<index>)".
  TCollectionItem* Items(int index) const;
  /// Assigns `value` to the item at `index`.
  void SetItems(int index, const TPersistent* value);
  /// A new item of the item class at the end, or at `index`.
  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  /// The item numbered `id`, or null.
  TCollectionItem* FindItemID(int id) const;

  /// Holds back Update until the matching EndUpdate, which then reports one change.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  /// Replaces the items by new ones assigned from another collection's, item by item. When
  /// one assignment fails, the collection is left as it was.
  void Assign(const TPersistent* source) override;

 protected:
  /// An item (null: all of them) changed.
  virtual void Update(TCollectionItem* item);
  /// An item was added, is leaving, or is being deleted.
  virtual void Notify(TCollectionItem* item, TCollectionNotification action);
  void Changed();

 private:
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void FreeItem(TCollectionItem* item);

  const TClassInfo& itemClass_;
  TPersistent* owner_;
  std::vector<TCollectionItem*> items_;
  int nextId_ = 0;
  int updateCount_ = 0;
};

}  // namespace lx::framework
