#include "framework/streaming/StandIns.h"

#include <utility>

#include "framework/streaming/Filer.h"
#include "framework/streaming/Streams.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

bool IsStringValue(std::uint8_t kind) {
  return kind == vaString || kind == vaLString || kind == vaWString || kind == vaUTF8String;
}
bool IsWideValue(std::uint8_t kind) {
  return kind == vaWString || kind == vaUTF8String;
}

// "Items.Strings": the list of the sub-object "Items".
std::string ListOwnerName(const std::string& path) {
  const std::size_t dot = path.find('.');
  if (dot == std::string::npos || dot == 0 || path.find('.', dot + 1) != std::string::npos)
    return {};
  return platform::SameTextAscii(path.substr(dot + 1), "Strings") ? path.substr(0, dot) : "";
}

// A list of strings only, or none.
std::optional<std::vector<std::string>> StringItems(const std::vector<std::uint8_t>& value) {
  if (value.empty() || value.front() != vaList) return std::nullopt;
  TReadOnlyMemoryStream stream(value);
  TReader reader(stream, 4096);
  reader.ReadListBegin();
  std::vector<std::string> items;
  while (!reader.EndOfList()) {
    if (!IsStringValue(reader.NextValue())) return std::nullopt;
    items.push_back(reader.ReadString());
  }
  return items;
}

}  // namespace

// A value as it was stored, and what it shows as a property when it is a text, a list of
// texts or a collection.
struct TStoredValues::TEntry {
  enum class TKind { Raw, Text, WideText, Strings, Collection };
  TKind kind = TKind::Raw;
  std::string path;
  std::string name;  // the published property's name for the kinds beyond Raw
  std::vector<std::uint8_t> stored;
  std::string text, storedText;
  std::u16string wide, storedWide;
  std::unique_ptr<TStringList> list;
  std::vector<std::string> storedList;
  std::unique_ptr<TStandInCollection> collection;

  bool Unchanged() const {
    switch (kind) {
      case TKind::Text:
        return text == storedText;
      case TKind::WideText:
        return wide == storedWide;
      case TKind::Strings: {
        if (list->Count() != static_cast<int>(storedList.size())) return false;
        for (int i = 0; i < list->Count(); ++i)
          if (list->Strings(i) != storedList[static_cast<std::size_t>(i)]) return false;
        return true;
      }
      default:
        return kind == TKind::Raw;
    }
  }
};

TStoredValues::TStoredValues() = default;
TStoredValues::~TStoredValues() = default;

const std::string& TStoredValues::Path(int index) const {
  return entries_.at(static_cast<std::size_t>(index))->path;
}

void TStoredValues::Take(const std::string& path, const std::vector<std::uint8_t>& value) {
  auto entry = std::make_unique<TEntry>();
  entry->path = path;
  entry->stored = value;
  const std::uint8_t kind = value.empty() ? 0 : value.front();
  TReadOnlyMemoryStream stream(value);
  TReader reader(stream, 4096);
  const std::string listOwner = ListOwnerName(path);
  if (IsStringValue(kind) && path.find('.') == std::string::npos) {
    entry->name = path;
    if (IsWideValue(kind)) {
      entry->kind = TEntry::TKind::WideText;
      entry->wide = entry->storedWide = reader.ReadWideString();
    } else {
      entry->kind = TEntry::TKind::Text;
      entry->text = entry->storedText = reader.ReadString();
    }
  } else if (auto items = listOwner.empty() ? std::nullopt : StringItems(value)) {
    entry->kind = TEntry::TKind::Strings;
    entry->name = listOwner;
    entry->list = std::make_unique<TStringList>();
    for (const std::string& item : *items)
      entry->list->Add(item);
    entry->storedList = std::move(*items);
  } else if (kind == vaCollection && path.find('.') == std::string::npos) {
    entry->kind = TEntry::TKind::Collection;
    entry->name = path;
    entry->collection = std::make_unique<TStandInCollection>();
    entry->collection->Take(value);
  }
  for (auto& existing : entries_) {
    if (platform::SameTextAscii(existing->path, path)) {
      existing = std::move(entry);
      changed_ = true;
      return;
    }
  }
  entries_.push_back(std::move(entry));
  changed_ = true;
}

void TStoredValues::WriteEntry(TWriter& writer, const TEntry& entry) const {
  if (entry.kind == TEntry::TKind::Collection) return entry.collection->WriteValue(writer);
  if (entry.Unchanged()) {
    return writer.Write(entry.stored.data(), static_cast<std::int64_t>(entry.stored.size()));
  }
  switch (entry.kind) {
    case TEntry::TKind::Text:
      return writer.WriteString(entry.text);
    case TEntry::TKind::WideText:
      return writer.WriteWideString(entry.wide);
    default:
      break;
  }
  writer.WriteListBegin();
  for (int i = 0; i < entry.list->Count(); ++i)
    writer.WriteString(entry.list->Strings(i));
  writer.WriteListEnd();
}

void TStoredValues::Define(TFiler& filer) const {
  for (const auto& entry : entries_) {
    const TEntry* stored = entry.get();
    filer.DefineProperty(
        stored->path, nullptr, [this, stored](TWriter& writer) { WriteEntry(writer, *stored); },
        true);
  }
}

void TStoredValues::WriteAll(TWriter& writer) const {
  for (const auto& entry : entries_) {
    writer.WriteStr(entry->path);
    WriteEntry(writer, *entry);
  }
}

// The texts are published but not stored: the defined properties store every value in order.
const TClassInfo& TStoredValues::ClassInfoOf(const std::string& className,
                                             const TClassInfo& parent) const {
  if (!changed_ && !infos_.empty()) return *infos_.back();
  std::vector<TPropInfo> properties;
  for (const auto& entry : entries_) {
    TEntry* e = entry.get();
    switch (e->kind) {
      case TEntry::TKind::Text:
        properties.emplace_back(
            e->name, tkLString, [e](const TObject&) { return TPropValue(e->text); },
            [e](TObject&, const TPropValue& value) { e->text = std::get<std::string>(value); });
        break;
      case TEntry::TKind::WideText:
        properties.emplace_back(
            e->name, tkWString, [e](const TObject&) { return TPropValue(e->wide); },
            [e](TObject&, const TPropValue& value) { e->wide = std::get<std::u16string>(value); });
        break;
      case TEntry::TKind::Strings:
        properties.emplace_back(
            e->name, tkClass, [e](const TObject&) { return TPropValue(e->list.get()); },
            [e](TObject&, const TPropValue& value) {
              e->list->Assign(dynamic_cast<TPersistent*>(std::get<TObject*>(value)));
            });
        properties.back().SetClassType(&TStringList::StaticClassInfo);
        break;
      case TEntry::TKind::Collection:
        properties.emplace_back(
            e->name, tkClass, [e](const TObject&) { return TPropValue(e->collection.get()); },
            [](TObject&, const TPropValue&) {});
        properties.back().SetClassType(&TCollection::StaticClassInfo);
        break;
      case TEntry::TKind::Raw:
        continue;
    }
    properties.back().SetStoredTest([](const TObject&) { return false; });
  }
  infos_.push_back(std::make_unique<TClassInfo>(className, &parent, TFactory{},
                                                std::move(properties), std::vector<TMethodInfo>{},
                                                std::vector<TFieldInfo>{}));
  infos_.back()->SetPerObject(true);
  changed_ = false;
  return *infos_.back();
}

// ---- TStandInComponent

TStandInComponent::TStandInComponent(std::string className, TComponent* owner)
    : TComponent(owner), className_(std::move(className)) {}

TStandInComponent::~TStandInComponent() = default;

const TClassInfo& TStandInComponent::ClassInfo() const {
  return values_.ClassInfoOf(className_, TComponent::StaticClassInfo());
}

void TStandInComponent::AddChild(TComponent* child) {
  if (child == nullptr || child == this) return;
  children_.push_back(child);
  FreeNotification(child);
  if (auto* standIn = dynamic_cast<TStandInComponent*>(child)) standIn->parent_ = this;
}

// Left and Top of a stand-in are stored values like any other, kept in their place.
void TStandInComponent::DefineProperties(TFiler& filer) {
  TPersistent::DefineProperties(filer);
  values_.Define(filer);
}

TComponent* TStandInComponent::GetChildOwner() {
  return ComponentState().Contains(csInline) ? this : nullptr;
}

void TStandInComponent::GetChildren(const TGetChildProc& proc, TComponent*) {
  for (TComponent* child : children_)
    proc(child);
}

void TStandInComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove) {
    std::erase(children_, component);
    if (component == parent_) parent_ = nullptr;
  }
  TComponent::Notification(component, operation);
}

// ---- TStandInItem

TStandInItem::TStandInItem(TCollection* collection) : TCollectionItem(collection) {}

const TClassInfo& TStandInItem::StaticClassInfo() {
  static const TClassInfo info(
      "TStandInItem", &TCollectionItem::StaticClassInfo(),
      TFactory{nullptr, [](TCollection* c) -> TCollectionItem* { return new TStandInItem(c); },
               nullptr},
      {}, {}, {});
  return info;
}

const TClassInfo& TStandInItem::ClassInfo() const {
  return values_.ClassInfoOf("TStandInItem", StaticClassInfo());
}

// ---- TStandInCollection

TStandInCollection::TStandInCollection() : TCollection(TStandInItem::StaticClassInfo()) {}

void TStandInCollection::Take(const std::vector<std::uint8_t>& value) {
  TReadOnlyMemoryStream stream(value);
  TReader reader(stream, 4096);
  reader.CheckValue(vaCollection);
  while (!reader.EndOfList()) {
    auto* item = static_cast<TStandInItem*>(Add());
    const TValueType next = reader.NextValue();
    if (next == vaInt8 || next == vaInt16 || next == vaInt32)
      item->SetStoredIndex(reader.ReadInteger());
    reader.ReadListBegin();
    while (!reader.EndOfList()) {
      const std::string path = reader.ReadStr();
      const std::int64_t start = reader.Position();
      reader.SkipValue();
      const auto from = value.begin() + start;
      item->Values().Take(path, std::vector<std::uint8_t>(from, value.begin() + reader.Position()));
    }
    reader.ReadListEnd();
  }
  reader.ReadListEnd();
}

void TStandInCollection::WriteValue(TWriter& writer) const {
  writer.WriteValue(vaCollection);
  for (int i = 0; i < Count(); ++i) {
    auto* item = static_cast<TStandInItem*>(Items(i));
    if (item->StoredIndex() >= 0) writer.WriteInteger(item->StoredIndex());
    writer.WriteListBegin();
    item->Values().WriteAll(writer);
    writer.WriteListEnd();
  }
  writer.WriteListEnd();
}

}  // namespace lx::framework
