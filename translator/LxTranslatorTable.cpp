#include "translator/LxTranslatorTable.h"

#include <algorithm>
#include <functional>

#include "framework/rtti/Published.h"
#include "platform/Exception.h"

namespace lx::translator {

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
  return added;
}

void TLxTranslatorTable::Clear() {
  index_.clear();
  items_.clear();
}

void TLxTranslatorTable::BeginPass() {
  ++pass_;
  passRunning_ = true;
}

TLxTranslatorTableItem* TLxTranslatorTable::Find(const framework::TObject* control,
                                                 std::string_view propertyName,
                                                 std::string_view currentStripped) {
  const auto found = index_.find(KeyOf(control, propertyName, currentStripped));
  if (found == index_.end()) return nullptr;
  for (TLxTranslatorTableItem* item : found->second) {
    if (passRunning_ && item->usedInPass_ == pass_) continue;
    if (item->Control == control && item->PropertyName == propertyName &&
        item->CurrentStripped == currentStripped) {
      if (passRunning_) item->usedInPass_ = pass_;
      return item;
    }
  }
  return nullptr;
}

void TLxTranslatorTable::SetCurrentStripped(TLxTranslatorTableItem& item, std::string value) {
  if (item.CurrentStripped == value) return;
  Unindex(item);
  item.CurrentStripped = std::move(value);
  Index(item);
}

void TLxTranslatorTable::RemoveHolder(const framework::TComponent* holder) {
  if (holder == nullptr) return;
  for (const auto& item : items_) {
    if (item->Holder == holder) Unindex(*item);
  }
  std::erase_if(items_, [holder](const auto& item) { return item->Holder == holder; });
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
  Bucket& bucket = index_[KeyOf(item.Control, item.PropertyName, item.CurrentStripped)];
  const auto position =
      std::upper_bound(bucket.begin(), bucket.end(), item.sequence_,
                       [](std::uint64_t sequence, const TLxTranslatorTableItem* other) {
                         return sequence < other->sequence_;
                       });
  bucket.insert(position, &item);
}

void TLxTranslatorTable::Unindex(TLxTranslatorTableItem& item) {
  const auto found = index_.find(KeyOf(item.Control, item.PropertyName, item.CurrentStripped));
  if (found == index_.end()) return;
  std::erase(found->second, &item);
  if (found->second.empty()) index_.erase(found);
}

}  // namespace lx::translator
