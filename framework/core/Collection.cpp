#include "framework/core/Collection.h"

#include <algorithm>

#include "framework/rtti/Published.h"

namespace lx::framework {

LX_PUBLISHED(TCollectionItem)
LX_PUBLISHED(TCollection)

namespace {

[[noreturn]] void IndexError(int index) {
  throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* collection) {
  // The item's own class is not complete yet, so the class check is left to the collection's
  // Add, which creates items of its item class only.
  if (collection != nullptr) collection->InsertItem(this);
}

TCollectionItem::~TCollectionItem() {
  if (collection_ != nullptr) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* value) {
  if (value == collection_) return;
  if (value != nullptr && !InheritsFrom(value->itemClass_)) {
    throw platform::EConvertError("Cannot add a " + ClassName() + " to a collection of " +
                                  value->itemClass_.Name());
  }
  if (collection_ != nullptr) collection_->RemoveItem(this);
  if (value != nullptr) value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (collection_ == nullptr) return -1;
  const auto& items = collection_->items_;
  return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int value) {
  const int current = Index();
  if (current < 0 || current == value) return;
  auto& items = collection_->items_;
  if (value < 0 || value >= static_cast<int>(items.size())) IndexError(value);
  items.erase(items.begin() + current);
  items.insert(items.begin() + value, this);
  Changed(true);
}

TPersistent* TCollectionItem::GetOwner() const {
  return collection_;
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_ != nullptr && collection_->updateCount_ == 0) {
    collection_->Update(allItems ? nullptr : this);
  }
}

// TCollection

TCollection::TCollection(const TClassInfo& itemClass, TPersistent* owner)
    : itemClass_(itemClass), owner_(owner) {
  if (!itemClass.InheritsFrom(TCollectionItem::StaticClassInfo())) {
    throw platform::EConvertError(itemClass.Name() + " is not a collection item class");
  }
}

TCollection::~TCollection() {
  while (!items_.empty()) {
    TCollectionItem* item = items_.back();
    items_.pop_back();
    item->collection_ = nullptr;
    delete item;
  }
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
  return items_[static_cast<std::size_t>(index)];
}

void TCollection::SetItems(int index, const TPersistent* value) {
  Items(index)->Assign(value);
}

TCollectionItem* TCollection::Add() {
  return itemClass_.CreateItem(this);
}

TCollectionItem* TCollection::Insert(int index) {
  if (index < 0 || index > Count()) IndexError(index);
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int index) {
  TCollectionItem* item = Items(index);
  Notify(item, cnDeleting);
  FreeItem(item);
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty())
    FreeItem(items_.back());
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (TCollectionItem* item : items_) {
    if (item->id_ == id) return item;
  }
  return nullptr;
}

void TCollection::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) Changed();
}

void TCollection::Assign(const TPersistent* source) {
  if (source == this) return;
  const auto* other = dynamic_cast<const TCollection*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  // The copies are made aside first, so that a failing item assignment changes nothing.
  TCollection copies(itemClass_);
  for (const TCollectionItem* item : other->items_)
    copies.Add()->Assign(item);
  BeginUpdate();
  Clear();
  for (TCollectionItem* item : copies.items_) {
    item->collection_ = nullptr;
    InsertItem(item);
  }
  copies.items_.clear();
  EndUpdate();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Notify(item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  Notify(item, cnExtracting);
  std::erase(items_, item);
  item->collection_ = nullptr;
  Changed();
}

// The item leaves the collection while it is still whole, then goes.
void TCollection::FreeItem(TCollectionItem* item) {
  RemoveItem(item);
  delete item;
}

}  // namespace lx::framework
