#include "translator/LxTranslatorTable.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>

#include "framework/rtti/Published.h"
#include "platform/Exception.h"
#include "platform/TextUtils.h"

namespace lx::translator {

namespace {

// Up to this many texts of one object are compared one by one rather than through the index.
constexpr std::size_t kDirectSearch = 8;
// How many texts ahead a pass asks for the items it will take, and how much of an item it reads.
constexpr std::size_t kReadAhead = 8;
constexpr std::size_t kHotBytes = 128;

}  // namespace

LX_PUBLISHED(TLxTranslatorTableItem)
LX_PUBLISHED(TLxTranslatorTable)

TLxTranslatorTable::~TLxTranslatorTable() = default;

TLxTranslatorTableItem& TLxTranslatorTable::Items(int index) const {
  if (index < 0 || index >= Count()) {
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  Compact();
  return *items_[static_cast<std::size_t>(index)];
}

TLxTranslatorTableItem& TLxTranslatorTable::Add(std::unique_ptr<TLxTranslatorTableItem> item) {
  item->sequence_ = nextSequence_++;
  if (passRunning_) item->usedInPass_ = pass_;
  TLxTranslatorTableItem& added = *items_.emplace_back(std::move(item));
  if (added.Holder != nullptr) held_[added.Holder].push_back(&added);
  Group* group = FindGroup(added.Control, added.PropertyName);
  if (group == nullptr) {
    group = &groups_[added.Control].groups.emplace_back();
    group->propertyName = added.PropertyName;
  }
  group->items.push_back(&added);
  added.first_ = group->items.size() == 1;
  // Only groups searched through the index are in it, with every item of theirs.
  if (group->items.size() == kDirectSearch + 1) {
    for (TLxTranslatorTableItem* member : group->items) {
      if (!member->indexed_) Index(*member);
    }
  } else if (group->items.size() > kDirectSearch) {
    Index(added);
  }
  if (passRunning_) Take(added);
  return added;
}

void TLxTranslatorTable::Clear() {
  index_.clear();
  stale_.clear();
  groups_.clear();
  lastControl_ = nullptr;
  lastGroups_ = nullptr;
  taken_.clear();
  nextTaken_ = 0;
  taking_.clear();
  held_.clear();
  Retire(items_.begin(), items_.end());
  items_.clear();
  dropped_ = 0;
}

void TLxTranslatorTable::BeginPass() {
  ++pass_;
  passRunning_ = true;
  nextTaken_ = 0;
  taking_.clear();
}

void TLxTranslatorTable::EndPass() {
  if (!passRunning_) return;
  passRunning_ = false;
  taken_.swap(taking_);
  takenPass_ = pass_;
  taking_.clear();
  retired_.clear();
}

void TLxTranslatorTable::Retire(ItemList::iterator first, ItemList::iterator last) const {
  if (passRunning_) std::move(first, last, std::back_inserter(retired_));
}

// A dropped item stays in the orders as an empty entry, so that the places of the others hold.
void TLxTranslatorTable::ForgetOrder(TLxTranslatorTableItem& item) {
  if (item.orderPass_ == 0) return;
  if (item.orderPass_ == takenPass_) {
    taken_[item.orderIndex_] = {};
  } else if (passRunning_ && item.orderPass_ == pass_) {
    taking_[item.orderIndex_] = {};
  }
  item.orderPass_ = 0;
}

// Takes the item in this pass: it goes into this pass's order, and the search in the last
// pass's order goes on after it.
inline void TLxTranslatorTable::Take(TLxTranslatorTableItem& item) {
  item.usedInPass_ = pass_;
  if (item.orderPass_ == takenPass_ && takenPass_ != 0) nextTaken_ = item.orderIndex_ + 1;
  item.orderPass_ = pass_;
  item.orderIndex_ = static_cast<std::uint32_t>(taking_.size());
  taking_.push_back({item.Control, &item});
  // The items lie all over the heap: what the pass reads of the one it will take a few texts
  // later is asked for now, so that it has arrived by then.
  if (nextTaken_ + kReadAhead < taken_.size()) {
    if (const TLxTranslatorTableItem* ahead = taken_[nextTaken_ + kReadAhead].item) {
      const char* hot = reinterpret_cast<const char*>(ahead);
      __builtin_prefetch(hot);
      __builtin_prefetch(hot + 64);
      __builtin_prefetch(hot + kHotBytes - 1);
    }
  }
}

bool TLxTranslatorTable::Matches(const TLxTranslatorTableItem& item,
                                 const framework::TObject* control, std::string_view propertyName,
                                 std::string_view currentStripped) {
  return item.Control == control && platform::SameBytes(item.PropertyName, propertyName) &&
         platform::SameBytes(item.CurrentStripped, currentStripped);
}

bool TLxTranslatorTable::Available(const TLxTranslatorTableItem& item) const {
  return !passRunning_ || item.usedInPass_ != pass_;
}

TLxTranslatorTableItem* TLxTranslatorTable::Find(const framework::TObject* control,
                                                 std::string_view propertyName,
                                                 std::string_view currentStripped) {
  TLxTranslatorTableItem* item =
      passRunning_ ? FindInOrder(control, propertyName, currentStripped) : nullptr;
  if (item == nullptr) {
    Group* group = FindGroup(control, propertyName);
    if (group == nullptr) return nullptr;
    if (passRunning_) item = FindNext(*group, currentStripped);
    if (item == nullptr) item = FindInGroup(*group, control, propertyName, currentStripped);
  }
  if (item != nullptr && passRunning_) Take(*item);
  return item;
}

// The item the last pass took next, when it is the first of its object and property and
// matches: no other item can come before it. Reads nothing but the item itself.
inline TLxTranslatorTableItem* TLxTranslatorTable::FindInOrder(const framework::TObject* control,
                                                               std::string_view propertyName,
                                                               std::string_view currentStripped) {
  if (nextTaken_ >= taken_.size()) return nullptr;
  const Taken& next = taken_[nextTaken_];
  TLxTranslatorTableItem* item = next.item;
  if (item == nullptr || next.control != control || !item->first_ || item->usedInPass_ == pass_ ||
      !platform::SameBytes(item->PropertyName, propertyName) ||
      !platform::SameBytes(item->CurrentStripped, currentStripped)) {
    return nullptr;
  }
  return item;
}

// Every item of the object before its cursor was taken in this pass, so the item at the
// cursor, when it matches, is the first one that matches. Items taken meanwhile by the order
// of the last pass are passed over.
inline TLxTranslatorTableItem* TLxTranslatorTable::FindNext(Group& group,
                                                            std::string_view currentStripped) {
  if (group.pass != pass_) {
    group.pass = pass_;
    group.cursor = 0;
  }
  while (group.cursor < group.items.size() && !Available(*group.items[group.cursor]))
    ++group.cursor;
  if (group.cursor >= group.items.size()) return nullptr;
  // The group holds only items of this control and property: the text decides.
  TLxTranslatorTableItem* item = group.items[group.cursor];
  if (!platform::SameBytes(item->CurrentStripped, currentStripped)) return nullptr;
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
  std::string& current = item.CurrentStripped;
  // A switch between languages mostly writes a text no longer than the last: it is copied in
  // place. The text may lie in the item's own (then it is not longer).
  if (value.size() <= current.size()) {
    std::memmove(current.data(), value.data(), value.size());
    current.resize(value.size());
  } else {
    current.assign(value);
  }
  if (item.indexed_ && !item.stale_) {
    item.stale_ = true;
    stale_.push_back(&item);
  }
}

void TLxTranslatorTable::RemoveHolder(const framework::TComponent* holder) {
  const auto found = holder == nullptr ? held_.end() : held_.find(holder);
  if (found == held_.end()) return;
  const std::vector<TLxTranslatorTableItem*> items = std::move(found->second);
  held_.erase(found);
  Reindex();
  std::vector<Group*> groups;
  for (TLxTranslatorTableItem* item : items) {
    if (item->dropped_) continue;
    item->dropped_ = true;
    ++dropped_;
    if (item->indexed_) Unindex(*item);
    ForgetOrder(*item);
    if (Group* group = FindGroup(item->Control, item->PropertyName)) groups.push_back(group);
  }
  Ungroup(groups);
  if (dropped_ * 2 > items_.size()) Compact();
}

// The dropped items leave their groups, each group in one sweep (a list's lines go together).
void TLxTranslatorTable::Ungroup(std::vector<Group*>& groups) {
  std::sort(groups.begin(), groups.end());
  groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
  for (Group* group : groups) {
    std::erase_if(group->items, [](const TLxTranslatorTableItem* item) { return item->dropped_; });
    group->pass = 0;  // the cursor starts again
    if (!group->items.empty()) group->items.front()->first_ = true;
  }
}

void TLxTranslatorTable::Compact() const {
  if (dropped_ == 0) return;
  const auto kept = std::stable_partition(items_.begin(), items_.end(),
                                          [](const auto& item) { return !item->dropped_; });
  Retire(kept, items_.end());
  items_.erase(kept, items_.end());
  dropped_ = 0;
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
  item.indexed_ = true;
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
