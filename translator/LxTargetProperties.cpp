#include "translator/LxTargetProperties.h"

#include <algorithm>

#include "framework/rtti/Published.h"
#include "framework/streaming/Filer.h"
#include "lang/LxDictionary.h"
#include "platform/Exception.h"
#include "platform/TextUtils.h"

namespace lx::translator {

LX_PUBLISHED(TLxTargetProperty)
LX_PUBLISHED(TLxTargetProperties)

namespace {

constexpr int kTargetsDataVersion = 1;
constexpr std::string_view kAnyName = "*";

std::string StoredName(const std::string& name) {
  return name.empty() ? std::string(kAnyName) : name;
}

std::string LoadedName(std::string name) {
  return name == kAnyName ? std::string() : name;
}

}  // namespace

// ---- TLxTargetProperty

TLxTargetProperty::TLxTargetProperty(std::string targetClass, std::uint8_t exclude,
                                     std::string targetProperty)
    : TargetClass(std::move(targetClass)),
      TargetProperty(std::move(targetProperty)),
      Exclude(exclude) {}

bool TLxTargetProperty::SameAs(const TLxTargetProperty& other) const {
  return TargetClass == other.TargetClass && TargetProperty == other.TargetProperty &&
         Exclude == other.Exclude;
}

bool TLxTargetProperty::Matches(std::string_view className, std::string_view propertyName) const {
  const bool classMatches = platform::SameTextAscii(TargetClass, className);
  if (TargetProperty.empty()) return classMatches && !TargetClass.empty();
  return (TargetClass.empty() || classMatches) &&
         platform::SameTextAscii(TargetProperty, propertyName);
}

// ---- TLxTargetProperties

TLxTargetProperty& TLxTargetProperties::Items(int index) const {
  if (index < 0 || index >= Count()) {
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return *items_[static_cast<std::size_t>(index)];
}

void TLxTargetProperties::Add(std::unique_ptr<TLxTargetProperty> entry) {
  if (entry->Exclude == 1) ++excludeCount_;
  items_.push_back(std::move(entry));
}

void TLxTargetProperties::Add(const std::string& targetClass, std::uint8_t exclude,
                              const std::string& targetProperty) {
  Add(std::make_unique<TLxTargetProperty>(targetClass, exclude, targetProperty));
}

void TLxTargetProperties::AddDefaults() {
  for (const char* property :
       {"Caption", "Hint", "Title", "Items", "Lines", "Hints", "Tabs", "Filter"})
    Add("", 0, property);
  Add("TMemo", 0, "Text");
  Add("TStringGrid", 0, "Cells");
}

int TLxTargetProperties::IndexOf(const TLxTargetProperty& entry) const {
  for (int i = 0; i < Count(); ++i) {
    if (items_[static_cast<std::size_t>(i)]->SameAs(entry)) return i;
  }
  return -1;
}

void TLxTargetProperties::Clear() {
  items_.clear();
  excludeCount_ = 0;
}

void TLxTargetProperties::Assign(const framework::TPersistent* source) {
  const auto* other = dynamic_cast<const TLxTargetProperties*>(source);
  if (other == nullptr) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  Clear();
  for (const auto& entry : other->items_)
    Add(entry->TargetClass, entry->Exclude, entry->TargetProperty);
}

bool TLxTargetProperties::SameAs(const TLxTargetProperties& other) const {
  if (Count() != other.Count()) return false;
  return std::all_of(items_.begin(), items_.end(),
                     [&](const auto& entry) { return other.IndexOf(*entry) >= 0; });
}

bool TLxTargetProperties::IsExcluded(std::string_view className,
                                     std::string_view propertyName) const {
  if (excludeCount_ == 0) return false;
  return std::any_of(items_.begin(), items_.end(), [&](const auto& entry) {
    return entry->Exclude == 1 && entry->Matches(className, propertyName);
  });
}

bool TLxTargetProperties::IsTarget(std::string_view className,
                                   std::string_view propertyName) const {
  if (IsExcluded(className, propertyName)) return false;
  return std::any_of(items_.begin(), items_.end(), [&](const auto& entry) {
    return entry->Exclude == 0 && entry->Matches(className, propertyName);
  });
}

bool TLxTargetProperties::IsClassTarget(std::string_view className) const {
  const auto wholeClass = [&](const auto& entry, std::uint8_t exclude) {
    return entry->Exclude == exclude && entry->TargetProperty.empty() &&
           platform::SameTextAscii(entry->TargetClass, className);
  };
  if (std::any_of(items_.begin(), items_.end(), [&](const auto& e) { return wholeClass(e, 1); }))
    return false;
  return std::any_of(items_.begin(), items_.end(), [&](const auto& e) { return wholeClass(e, 0); });
}

// ---- Stored form

void TLxTargetProperties::ReadTargetsData(framework::TReader& reader) {
  reader.ReadListBegin();
  const int version = reader.ReadInteger();
  if (version > kTargetsDataVersion) {
    throw lang::ELxPoly("Unknown target properties data version: " + std::to_string(version));
  }
  const int count = reader.ReadInteger();
  for (int i = 0; i < count; ++i) {
    reader.ReadListBegin();
    auto entry = std::make_unique<TLxTargetProperty>();
    entry->TargetClass = LoadedName(reader.ReadString());
    entry->TargetProperty = LoadedName(reader.ReadString());
    entry->Exclude = static_cast<std::uint8_t>(reader.ReadInteger());
    reader.ReadListEnd();
    if (IndexOf(*entry) < 0) Add(std::move(entry));
  }
  reader.ReadListEnd();
}

void TLxTargetProperties::WriteTargetsData(framework::TWriter& writer,
                                           const TLxTargetProperties* ancestor) const {
  std::vector<const TLxTargetProperty*> entries;
  for (const auto& entry : items_) {
    if (ancestor == nullptr || ancestor->IndexOf(*entry) < 0) entries.push_back(entry.get());
  }
  writer.WriteListBegin();
  writer.WriteInteger(kTargetsDataVersion);
  writer.WriteInteger(static_cast<std::int64_t>(entries.size()));
  for (const TLxTargetProperty* entry : entries) {
    writer.WriteListBegin();
    writer.WriteString(StoredName(entry->TargetClass));
    writer.WriteString(StoredName(entry->TargetProperty));
    writer.WriteInteger(entry->Exclude);
    writer.WriteListEnd();
  }
  writer.WriteListEnd();
}

bool TLxTargetProperties::HasTargetsData(const TLxTargetProperties* ancestor) const {
  if (items_.empty()) return false;
  return ancestor == nullptr || !SameAs(*ancestor);
}

void TLxTargetProperties::DefineProperties(framework::TFiler& filer) {
  TPersistent::DefineProperties(filer);
  filer.DefineProperty(
      "Data", [this](framework::TReader& reader) { ReadLegacyData(reader); }, nullptr, false);
}

void TLxTargetProperties::ReadLegacyData(framework::TReader& reader) {
  Clear();
  reader.ReadListBegin();
  const int count = reader.ReadInteger();
  for (int i = 0; i < count; ++i) {
    std::string targetClass = reader.ReadString();
    std::string targetProperty = reader.ReadString();
    Add(targetClass, 0, targetProperty);
  }
  reader.ReadListEnd();
}

}  // namespace lx::translator
