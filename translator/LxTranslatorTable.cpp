#include "translator/LxTranslatorTable.h"

#include <algorithm>
#include <functional>
#include <iterator>

#include "framework/rtti/Published.h"
#include "platform/Exception.h"

namespace lx::translator {

namespace {

// Up to this many texts of one object are compared one by one rather than through the index.
constexpr std::size_t kDirectSearch = 8;

}  // namespace

LX_PUBLISHED(TLxTranslatorTableItem)
LX_PUBLISHED(TLxTranslatorTable)

TLxTranslatorTable::~TLxTranslatorTable() = default;

TLxTranslatorTableItem& TLxTranslatorTable::Items(int index) const {
  if (index < 0 || index >= Count()) {
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return *items_[static_cast<std::size_t>(index)];
}

TLxTranslatorTableItem& TLxTranslatorTable::Add(std::unique_ptr<TLxTranslatorTableItem> item) {
  item->sequence_ = nextSequence_++;
  if (passRunning_) item->usedInPass_ = pass_;
  TLxTranslatorTableItem& added = *items_.emplace_back(std::move(item));
  Index(added);
  Group* group = FindGroup(added.Control, added.PropertyName);
  if (group == nullptr) {
    group = &groups_[added.Control].groups.emplace_back();
    group->propertyName = added.PropertyName;
  }
  group->items.push_back(&added);
  return added;
}

void TLxTranslatorTable::Clear() {
  index_.clear();
  stale_.clear();
  groups_.clear();
  lastControl_ = nullptr;
  lastGroups_ = nullptr;
  Retire(items_.begin(), items_.end());
  items_.clear();
}

void TLxTranslatorTable::BeginPass() {
  ++pass_;
  passRunning_ = true;
}

void TLxTranslatorTable::EndPass() {
  passRunning_ = false;
  retired_.clear();
}

void TLxTranslatorTable::Retire(ItemList::iterator first, ItemList::iterator last) {
  if (passRunning_) std::move(first, last, std::back_inserter(retired_));
}

bool TLxTranslatorTable::Matches(const TLxTranslatorTableItem& item,
                                 const framework::TObject* control, std::string_view propertyName,
                                 std::string_view currentStripped) {
  return item.Control == control && item.PropertyName == propertyName &&
         item.CurrentStripped == currentStripped;
}

bool TLxTranslatorTable::Available(const TLxTranslatorTableItem& item) const {
  return !passRunning_ || item.usedInPass_ != pass_;
}

TLxTranslatorTableItem* TLxTranslatorTable::Find(const framework::TObject* control,
                                                 std::string_view propertyName,
                                                 std::string_view currentStripped) {
  Group* group = FindGroup(control, propertyName);
  if (group == nullptr) return nullptr;
  TLxTranslatorTableItem* item = nullptr;
  if (passRunning_) item = FindNext(*group, currentStripped);
  if (item == nullptr) item = FindInGroup(*group, control, propertyName, currentStripped);
  if (item != nullptr && passRunning_) item->usedInPass_ = pass_;
  return item;
}

// Every item of the object before its cursor was taken in this pass, so the item at the
// cursor, when it matches, is the first one that matches.
inline TLxTranslatorTableItem* TLxTranslatorTable::FindNext(Group& group,
                                                            std::string_view currentStripped) {
  if (group.pass != pass_) {
    group.pass = pass_;
    group.cursor = 0;
  }
  if (group.cursor >= group.items.size()) return nullptr;
  // The group holds only items of this control and property: the text decides.
  TLxTranslatorTableItem* item = group.items[group.cursor];
  if (!Available(*item) || item->CurrentStripped != currentStripped) return nullptr;
  ++group.cursor;
  return item;
}

// An object with a few texts is searched directly; the index serves long lists.
TLxTranslatorTableItem* TLxTranslatorTable::FindInGroup(const Group& group,
                                                        const framework::TObject* control,
                                                        std::string_view propertyName,
                                                        std::string_view currentStripped) {
  const Bucket& items = group.items;
  if (items.size() > kDirectSearch) return FindIndexed(control, propertyName, currentStripped);
  for (TLxTranslatorTableItem* item : items) {
    if (Available(*item) && Matches(*item, control, propertyName, currentStripped)) return item;
  }
  return nullptr;
}

TLxTranslatorTableItem* TLxTranslatorTable::FindIndexed(const framework::TObject* control,
                                                        std::string_view propertyName,
                                                        std::string_view currentStripped) {
  Reindex();
  const auto found = index_.find(KeyOf(control, propertyName, currentStripped));
  if (found == index_.end()) return nullptr;
  for (TLxTranslatorTableItem* item : found->second) {
    if (Available(*item) && Matches(*item, control, propertyName, currentStripped)) return item;
  }
  return nullptr;
}

void TLxTranslatorTable::SetCurrentStripped(TLxTranslatorTableItem& item, std::string_view value) {
  if (item.CurrentStripped != value) ChangeCurrentStripped(item, value);
}

void TLxTranslatorTable::ChangeCurrentStripped(TLxTranslatorTableItem& item,
                                               std::string_view value) {
  item.CurrentStripped.assign(value);
  if (!item.stale_) {
    item.stale_ = true;
    stale_.push_back(&item);
  }
}

void TLxTranslatorTable::RemoveHolder(const framework::TComponent* holder) {
  if (holder == nullptr) return;
  Reindex();
  const auto held = [holder](const TLxTranslatorTableItem* item) { return item->Holder == holder; };
  for (const auto& item : items_) {
    if (!held(item.get())) continue;
    Unindex(*item);
    if (Group* group = FindGroup(item->Control, item->PropertyName)) {
      std::erase(group->items, item.get());
      group->pass = 0;  // the cursor starts again
    }
  }
  const auto kept = std::stable_partition(items_.begin(), items_.end(),
                                          [&held](const auto& item) { return !held(item.get()); });
  Retire(kept, items_.end());
  items_.erase(kept, items_.end());
}

inline TLxTranslatorTable::Group* TLxTranslatorTable::FindGroup(const framework::TObject* control,
                                                                std::string_view propertyName) {
  if (control != lastControl_ || lastGroups_ == nullptr) {
    Groups* groups = nullptr;
    if (lastGroups_ != nullptr && lastGroups_->next == control) {
      groups = lastGroups_->nextGroups;
    } else {
      const auto found = groups_.find(control);
      if (found == groups_.end()) return nullptr;
      groups = &found->second;
      // Entries stay until the table is cleared, so the hint stays valid.
      if (lastGroups_ != nullptr) {
        lastGroups_->next = control;
        lastGroups_->nextGroups = groups;
      }
    }
    lastControl_ = control;
    lastGroups_ = groups;
  }
  for (Group& group : lastGroups_->groups) {
    if (group.propertyName == propertyName) return &group;
  }
  return nullptr;
}

std::size_t TLxTranslatorTable::KeyOf(const framework::TObject* control,
                                      std::string_view propertyName,
                                      std::string_view currentStripped) {
  std::size_t key = std::hash<const framework::TObject*>()(control);
  for (std::string_view part : {propertyName, currentStripped})
    key = (key ^ std::hash<std::string_view>()(part)) * 0x100000001B3ull + 0x9E3779B9u;
  return key;
}

// Buckets stay in table order, so the first item of a bucket that matches is the first of
// the table.
void TLxTranslatorTable::Index(TLxTranslatorTableItem& item) {
  item.indexedKey_ = KeyOf(item.Control, item.PropertyName, item.CurrentStripped);
  item.stale_ = false;
  Bucket& bucket = index_[item.indexedKey_];
  const auto position =
      std::upper_bound(bucket.begin(), bucket.end(), item.sequence_,
                       [](std::uint64_t sequence, const TLxTranslatorTableItem* other) {
                         return sequence < other->sequence_;
                       });
  bucket.insert(position, &item);
}

void TLxTranslatorTable::Unindex(TLxTranslatorTableItem& item) {
  const auto found = index_.find(item.indexedKey_);
  if (found == index_.end()) return;
  std::erase(found->second, &item);
  if (found->second.empty()) index_.erase(found);
}

void TLxTranslatorTable::Reindex() {
  for (TLxTranslatorTableItem* item : stale_) {
    Unindex(*item);
    Index(*item);
  }
  stale_.clear();
}

}  // namespace lx::translator
