#include "framework/rtti/TypInfo.h"

#include <variant>

namespace lx::framework {

namespace {

void RequireKind(const TPropInfo& property, bool fits, const char* what) {
  if (!fits) throw EPropertyConvertError("Property " + property.Name() + " is not " + what);
}

void RequireOrdinal(const TPropInfo& property) {
  RequireKind(property, IsOrdinalKind(property.Kind()), "an ordinal property");
}
void RequireEnumeration(const TPropInfo& property) {
  RequireKind(property, property.Kind() == tkEnumeration, "an enumeration property");
}
void RequireSet(const TPropInfo& property) {
  RequireKind(property, property.Kind() == tkSet, "a set property");
}
void RequireString(const TPropInfo& property) {
  RequireKind(property, property.Kind() == tkLString || property.Kind() == tkString,
              "a string property");
}
void RequireWideString(const TPropInfo& property) {
  RequireKind(property, property.Kind() == tkWString, "a wide string property");
}
void RequireFloat(const TPropInfo& property) {
  RequireKind(property, property.Kind() == tkFloat, "a float property");
}
void RequireInt64(const TPropInfo& property) {
  RequireKind(property, property.Kind() == tkInt64, "an Int64 property");
}
void RequireObject(const TPropInfo& property) {
  RequireKind(property, property.Kind() == tkClass, "an object property");
}
void RequireMethod(const TPropInfo& property) {
  RequireKind(property, property.Kind() == tkMethod, "a method property");
}

template <typename A>
A Read(const TObject& instance, const TPropInfo& property) {
  return std::get<A>(property.GetValue(instance));
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

[[noreturn]] void RaiseInvalidElement(std::string_view element) {
  throw EPropertyConvertError("Invalid property element: " + std::string(element));
}

bool IsEmptyValue(const TPropValue& value) {
  return std::visit(
      [](const auto& held) {
        using A = std::decay_t<decltype(held)>;
        if constexpr (std::is_same_v<A, TMethod>) {
          return held.name.empty();
        } else if constexpr (std::is_same_v<A, TObject*>) {
          return held == nullptr;
        } else if constexpr (std::is_arithmetic_v<A>) {
          return held == 0;
        } else {
          return held.empty();
        }
      },
      value);
}

}  // namespace

const TPropInfo* GetPropInfo(const TObject& instance, std::string_view name) {
  return instance.ClassInfo().FindProperty(name);
}

const TPropInfo* GetPropInfo(const TClassInfo& classInfo, std::string_view name) {
  return classInfo.FindProperty(name);
}

const TPropInfo& FindPropInfo(const TObject& instance, std::string_view name) {
  const TPropInfo* property = GetPropInfo(instance, name);
  if (property == nullptr) {
    throw EPropertyError("Property " + std::string(name) + " does not exist");
  }
  return *property;
}

bool IsPublishedProp(const TObject& instance, std::string_view name) {
  return GetPropInfo(instance, name) != nullptr;
}

const std::vector<const TPropInfo*>& GetPropList(const TObject& instance) {
  return instance.ClassInfo().Properties();
}

bool IsStoredProp(const TObject& instance, const TPropInfo& property) {
  return property.IsStored(instance);
}

bool IsDefaultPropValue(const TObject& instance, const TPropInfo& property) {
  const TPropValue value = property.GetValue(instance);
  if (property.Default().has_value()) return value == *property.Default();
  if (IsOrdinalKind(property.Kind())) return false;
  return IsEmptyValue(value);
}

std::int64_t GetOrdProp(const TObject& instance, const TPropInfo& property) {
  RequireOrdinal(property);
  return Read<std::int64_t>(instance, property);
}

std::int64_t GetOrdProp(const TObject& instance, std::string_view name) {
  return GetOrdProp(instance, FindPropInfo(instance, name));
}

void SetOrdProp(TObject& instance, const TPropInfo& property, std::int64_t value) {
  RequireOrdinal(property);
  property.SetValue(instance, value);
}

void SetOrdProp(TObject& instance, std::string_view name, std::int64_t value) {
  SetOrdProp(instance, FindPropInfo(instance, name), value);
}

std::string GetEnumProp(const TObject& instance, const TPropInfo& property) {
  RequireEnumeration(property);
  const auto value = Read<std::int64_t>(instance, property);
  return property.EnumType()->NameOf(static_cast<int>(value));
}

std::string GetEnumProp(const TObject& instance, std::string_view name) {
  return GetEnumProp(instance, FindPropInfo(instance, name));
}

void SetEnumProp(TObject& instance, const TPropInfo& property, std::string_view value) {
  RequireEnumeration(property);
  const int ordinal = property.EnumType()->ValueOf(TrimBlanks(value));
  if (ordinal < 0) RaiseInvalidElement(value);
  property.SetValue(instance, std::int64_t{ordinal});
}

void SetEnumProp(TObject& instance, std::string_view name, std::string_view value) {
  SetEnumProp(instance, FindPropInfo(instance, name), value);
}

std::string SetToString(const TEnumInfo& elements, std::uint64_t mask, bool brackets) {
  std::string text;
  for (int value = 0; value < elements.Count() && value < 64; ++value) {
    if (((mask >> value) & 1u) == 0) continue;
    if (!text.empty()) text += ',';
    text += elements.NameOf(value);
  }
  return brackets ? "[" + text + "]" : text;
}

std::uint64_t StringToSet(const TEnumInfo& elements, std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']') {
    text = TrimBlanks(text.substr(1, text.size() - 2));
  }
  std::uint64_t mask = 0;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    const std::string_view element = TrimBlanks(text.substr(0, comma));
    const int value = elements.ValueOf(element);
    if (value < 0 || value >= 64) RaiseInvalidElement(element);
    mask |= std::uint64_t{1} << value;
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
    if (TrimBlanks(text).empty()) RaiseInvalidElement(text);
  }
  return mask;
}

std::string GetSetProp(const TObject& instance, const TPropInfo& property, bool brackets) {
  RequireSet(property);
  const auto mask = static_cast<std::uint64_t>(Read<std::int64_t>(instance, property));
  return SetToString(*property.EnumType(), mask, brackets);
}

std::string GetSetProp(const TObject& instance, std::string_view name, bool brackets) {
  return GetSetProp(instance, FindPropInfo(instance, name), brackets);
}

void SetSetProp(TObject& instance, const TPropInfo& property, std::string_view value) {
  RequireSet(property);
  const std::uint64_t mask = StringToSet(*property.EnumType(), value);
  property.SetValue(instance, static_cast<std::int64_t>(mask));
}

void SetSetProp(TObject& instance, std::string_view name, std::string_view value) {
  SetSetProp(instance, FindPropInfo(instance, name), value);
}

std::string GetStrProp(const TObject& instance, const TPropInfo& property) {
  RequireString(property);
  if (const std::string* held = property.StringRef(instance)) return *held;
  return Read<std::string>(instance, property);
}

std::string GetStrProp(const TObject& instance, std::string_view name) {
  return GetStrProp(instance, FindPropInfo(instance, name));
}

void SetStrProp(TObject& instance, const TPropInfo& property, const std::string& value) {
  RequireString(property);
  property.SetString(instance, value);
}

void SetStrProp(TObject& instance, std::string_view name, const std::string& value) {
  SetStrProp(instance, FindPropInfo(instance, name), value);
}

std::u16string GetWideStrProp(const TObject& instance, const TPropInfo& property) {
  RequireWideString(property);
  return Read<std::u16string>(instance, property);
}

std::u16string GetWideStrProp(const TObject& instance, std::string_view name) {
  return GetWideStrProp(instance, FindPropInfo(instance, name));
}

void SetWideStrProp(TObject& instance, const TPropInfo& property, const std::u16string& value) {
  RequireWideString(property);
  property.SetValue(instance, value);
}

void SetWideStrProp(TObject& instance, std::string_view name, const std::u16string& value) {
  SetWideStrProp(instance, FindPropInfo(instance, name), value);
}

double GetFloatProp(const TObject& instance, const TPropInfo& property) {
  RequireFloat(property);
  return Read<double>(instance, property);
}

double GetFloatProp(const TObject& instance, std::string_view name) {
  return GetFloatProp(instance, FindPropInfo(instance, name));
}

void SetFloatProp(TObject& instance, const TPropInfo& property, double value) {
  RequireFloat(property);
  property.SetValue(instance, value);
}

void SetFloatProp(TObject& instance, std::string_view name, double value) {
  SetFloatProp(instance, FindPropInfo(instance, name), value);
}

std::int64_t GetInt64Prop(const TObject& instance, const TPropInfo& property) {
  RequireInt64(property);
  return Read<std::int64_t>(instance, property);
}

std::int64_t GetInt64Prop(const TObject& instance, std::string_view name) {
  return GetInt64Prop(instance, FindPropInfo(instance, name));
}

void SetInt64Prop(TObject& instance, const TPropInfo& property, std::int64_t value) {
  RequireInt64(property);
  property.SetValue(instance, value);
}

void SetInt64Prop(TObject& instance, std::string_view name, std::int64_t value) {
  SetInt64Prop(instance, FindPropInfo(instance, name), value);
}

TObject* GetObjectProp(const TObject& instance, const TPropInfo& property) {
  RequireObject(property);
  return Read<TObject*>(instance, property);
}

TObject* GetObjectProp(const TObject& instance, std::string_view name) {
  return GetObjectProp(instance, FindPropInfo(instance, name));
}

void SetObjectProp(TObject& instance, const TPropInfo& property, TObject* value) {
  RequireObject(property);
  property.SetValue(instance, value);
}

void SetObjectProp(TObject& instance, std::string_view name, TObject* value) {
  SetObjectProp(instance, FindPropInfo(instance, name), value);
}

TMethod GetMethodProp(const TObject& instance, const TPropInfo& property) {
  RequireMethod(property);
  return Read<TMethod>(instance, property);
}

TMethod GetMethodProp(const TObject& instance, std::string_view name) {
  return GetMethodProp(instance, FindPropInfo(instance, name));
}

void SetMethodProp(TObject& instance, const TPropInfo& property, const TMethod& value) {
  RequireMethod(property);
  property.SetValue(instance, value);
}

void SetMethodProp(TObject& instance, std::string_view name, const TMethod& value) {
  SetMethodProp(instance, FindPropInfo(instance, name), value);
}

}  // namespace lx::framework
