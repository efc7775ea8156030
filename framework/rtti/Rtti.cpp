#include "framework/rtti/Rtti.h"

#include <algorithm>
#include <stdexcept>

#include "framework/core/Object.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

bool IsIdentifierChar(char c, bool first) {
  const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  return letter || (!first && c >= '0' && c <= '9');
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  return text;
}

// The names of LX_ENUM are plain identifiers; anything else (an explicit value) is a mistake
// of the declaration, found as soon as the enumeration is first used.
std::string CheckedName(std::string_view name, const std::string& typeName) {
  const bool valid =
      !name.empty() && IsIdentifierChar(name.front(), true) &&
      std::all_of(name.begin(), name.end(), [](char c) { return IsIdentifierChar(c, false); });
  if (!valid) throw std::logic_error("bad value name in enumeration " + typeName);
  return std::string(name);
}

template <typename Info>
const Info* FindByName(const std::vector<Info>& infos, std::string_view name) {
  for (const Info& info : infos) {
    if (platform::SameTextAscii(info.Name(), name)) return &info;
  }
  return nullptr;
}

}  // namespace

TEnumInfo::TEnumInfo(std::string typeName, std::string_view names)
    : typeName_(std::move(typeName)) {
  while (!names.empty()) {
    const std::size_t comma = names.find(',');
    names_.push_back(CheckedName(Trim(names.substr(0, comma)), typeName_));
    names.remove_prefix(comma == std::string_view::npos ? names.size() : comma + 1);
  }
}

const std::string& TEnumInfo::NameOf(int value) const {
  static const std::string none;
  return value >= 0 && value < Count() ? names_[static_cast<std::size_t>(value)] : none;
}

int TEnumInfo::ValueOf(std::string_view name) const {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (platform::SameTextAscii(names_[i], name)) return static_cast<int>(i);
  }
  return -1;
}

const TEnumInfo& TEnumInfo::Boolean() {
  static const TEnumInfo info("Boolean", "False, True");
  return info;
}

std::string_view TIdentMap::NameOf(std::int64_t value) const {
  for (const TIdentMapEntry& entry : entries_) {
    if (entry.value == value) return entry.name;
  }
  return {};
}

std::optional<std::int32_t> TIdentMap::ValueOf(std::string_view name) const {
  for (const TIdentMapEntry& entry : entries_) {
    if (platform::SameTextAscii(entry.name, name)) return entry.value;
  }
  return std::nullopt;
}

TPropInfo::TPropInfo(std::string name, TTypeKind kind, TGetter getter, TSetter setter)
    : name_(std::move(name)), kind_(kind), getter_(std::move(getter)), setter_(std::move(setter)) {}

const TClassInfo* TPropInfo::ClassType() const {
  return classType_ != nullptr ? &classType_() : nullptr;
}

bool TPropInfo::IsStored(const TObject& instance) const {
  return !stored_ || stored_(instance);
}

TPropValue TPropInfo::GetValue(const TObject& instance) const {
  if (!getter_) throw EPropertyError("Property " + name_ + " is write-only");
  return getter_(instance);
}

void TPropInfo::SetValue(TObject& instance, const TPropValue& value) const {
  if (!setter_) throw EPropertyError("Property " + name_ + " is read-only");
  setter_(instance, value);
}

const std::string* TPropInfo::StringRef(const TObject& instance) const {
  return stringReader_ ? &stringReader_(instance, true) : nullptr;
}

void TPropInfo::SetString(TObject& instance, const std::string& value) const {
  if (stringWriter_) {
    stringWriter_(instance, value, true);
  } else {
    SetValue(instance, value);
  }
}

const std::string* TPropInfo::StringRefUnchecked(const TObject& instance) const {
  return stringReader_ ? &stringReader_(instance, false) : nullptr;
}

void TPropInfo::SetStringUnchecked(TObject& instance, const std::string& value) const {
  if (stringWriter_) {
    stringWriter_(instance, value, false);
  } else {
    SetValue(instance, value);
  }
}

TMethodInfo::TMethodInfo(std::string name, std::type_index signature, TBinder binder)
    : name_(std::move(name)), signature_(signature), binder_(std::move(binder)) {}

TFieldInfo::TFieldInfo(std::string name, TClassResolver fieldClass, TGetter getter, TSetter setter,
                       TAccepts accepts)
    : name_(std::move(name)),
      fieldClass_(fieldClass),
      getter_(std::move(getter)),
      setter_(std::move(setter)),
      accepts_(std::move(accepts)) {}

void TFieldInfo::Set(TObject& owner, TObject* value) const {
  if (!Accepts(value)) {
    throw EPropertyConvertError("Field " + name_ + " cannot hold a " + value->ClassName());
  }
  setter_(owner, value);
}

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, TFactory factory,
                       std::vector<TPropInfo> properties, std::vector<TMethodInfo> methods,
                       std::vector<TFieldInfo> fields, bool declaresNotification)
    : name_(std::move(name)),
      parent_(parent),
      factory_(factory),
      ownProperties_(std::move(properties)),
      methods_(std::move(methods)),
      fields_(std::move(fields)),
      hearsNotifications_(declaresNotification ||
                          (parent != nullptr && parent->hearsNotifications_)) {
  if (parent_ != nullptr) properties_ = parent_->properties_;
  for (const TPropInfo& property : ownProperties_) {
    auto same = std::find_if(properties_.begin(), properties_.end(), [&](const TPropInfo* p) {
      return platform::SameTextAscii(p->Name(), property.Name());
    });
    if (same != properties_.end()) {
      *same = &property;
    } else {
      properties_.push_back(&property);
    }
  }
}

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    if (c == &ancestor) return true;
  }
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TPropInfo* property : properties_) {
    if (platform::SameTextAscii(property->Name(), name)) return property;
  }
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    if (const TMethodInfo* method = FindByName(c->methods_, name)) return method;
  }
  return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    if (const TFieldInfo* field = FindByName(c->fields_, name)) return field;
  }
  return nullptr;
}

void TClassInfo::CannotCreate() const {
  throw EAbstractError("Cannot create an instance of " + name_);
}

TComponent* TClassInfo::CreateComponent(TComponent* owner) const {
  if (factory_.component == nullptr) CannotCreate();
  return factory_.component(owner);
}

TCollectionItem* TClassInfo::CreateItem(TCollection* collection) const {
  if (factory_.item == nullptr) CannotCreate();
  return factory_.item(collection);
}

std::unique_ptr<TObject> TClassInfo::CreateObject() const {
  if (factory_.object == nullptr) CannotCreate();
  return std::unique_ptr<TObject>(factory_.object());
}

}  // namespace lx::framework
