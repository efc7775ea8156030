// Reading and writing published properties by name or by descriptor.
//
// Each accessor checks the property's kind: ordinals (integers, characters, enumerations and
// sets as bit masks) go through GetOrdProp/SetOrdProp, long and short strings through
// GetStrProp/SetStrProp, and so on. Failures raise EPropertyError ("Property X does not
// exist", "Property X is read-only") or EPropertyConvertError (a value of the wrong kind, out
// of range, or naming an unknown element: "Invalid property element: X").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Object.h"
#include "framework/rtti/Rtti.h"

namespace lx::framework {

/// The published property `name` of the instance's class, or null.
const TPropInfo* GetPropInfo(const TObject& instance, std::string_view name);
const TPropInfo* GetPropInfo(const TClassInfo& classInfo, std::string_view name);
/// The published property `name`; raises "Property <name> does not exist" when absent.
const TPropInfo& FindPropInfo(const TObject& instance, std::string_view name);
bool IsPublishedProp(const TObject& instance, std::string_view name);
/// The published properties of the instance's class, ancestors first.
const std::vector<const TPropInfo*>& GetPropList(const TObject& instance);

/// Whether the writer stores the property of `instance` at all (its stored declaration).
bool IsStoredProp(const TObject& instance, const TPropInfo& property);
/// Whether the value equals the declared default. Without one, ordinals are never default;
/// strings, floats, Int64 and objects are when empty or zero, events when not bound by name.
bool IsDefaultPropValue(const TObject& instance, const TPropInfo& property);

/// Ordinals: integers, characters, enumerations by value, sets as bit masks.
std::int64_t GetOrdProp(const TObject& instance, const TPropInfo& property);
std::int64_t GetOrdProp(const TObject& instance, std::string_view name);
void SetOrdProp(TObject& instance, const TPropInfo& property, std::int64_t value);
void SetOrdProp(TObject& instance, std::string_view name, std::int64_t value);

/// Enumerations by value name (ASCII case-insensitive when written).
std::string GetEnumProp(const TObject& instance, const TPropInfo& property);
std::string GetEnumProp(const TObject& instance, std::string_view name);
void SetEnumProp(TObject& instance, const TPropInfo& property, std::string_view value);
void SetEnumProp(TObject& instance, std::string_view name, std::string_view value);

/// Sets as text: element names in value order, separated by commas ("fsBold,fsItalic"),
/// in brackets when asked. Written text may carry brackets and blanks around the names.
std::string GetSetProp(const TObject& instance, const TPropInfo& property, bool brackets = false);
std::string GetSetProp(const TObject& instance, std::string_view name, bool brackets = false);
void SetSetProp(TObject& instance, const TPropInfo& property, std::string_view value);
void SetSetProp(TObject& instance, std::string_view name, std::string_view value);
std::string SetToString(const TEnumInfo& elements, std::uint64_t mask, bool brackets = false);
std::uint64_t StringToSet(const TEnumInfo& elements, std::string_view text);

/// Long and short strings.
std::string GetStrProp(const TObject& instance, const TPropInfo& property);
std::string GetStrProp(const TObject& instance, std::string_view name);
void SetStrProp(TObject& instance, const TPropInfo& property, const std::string& value);
void SetStrProp(TObject& instance, std::string_view name, const std::string& value);

/// Wide strings.
std::u16string GetWideStrProp(const TObject& instance, const TPropInfo& property);
std::u16string GetWideStrProp(const TObject& instance, std::string_view name);
void SetWideStrProp(TObject& instance, const TPropInfo& property, const std::u16string& value);
void SetWideStrProp(TObject& instance, std::string_view name, const std::u16string& value);

double GetFloatProp(const TObject& instance, const TPropInfo& property);
double GetFloatProp(const TObject& instance, std::string_view name);
void SetFloatProp(TObject& instance, const TPropInfo& property, double value);
void SetFloatProp(TObject& instance, std::string_view name, double value);

std::int64_t GetInt64Prop(const TObject& instance, const TPropInfo& property);
std::int64_t GetInt64Prop(const TObject& instance, std::string_view name);
void SetInt64Prop(TObject& instance, const TPropInfo& property, std::int64_t value);
void SetInt64Prop(TObject& instance, std::string_view name, std::int64_t value);

/// Objects; a value must be nil or of the property's class.
TObject* GetObjectProp(const TObject& instance, const TPropInfo& property);
TObject* GetObjectProp(const TObject& instance, std::string_view name);
void SetObjectProp(TObject& instance, const TPropInfo& property, TObject* value);
void SetObjectProp(TObject& instance, std::string_view name, TObject* value);

/// Events as (object, published method name). Setting a named method binds the event to that
/// method of the object; an empty name clears the event.
TMethod GetMethodProp(const TObject& instance, const TPropInfo& property);
TMethod GetMethodProp(const TObject& instance, std::string_view name);
void SetMethodProp(TObject& instance, const TPropInfo& property, const TMethod& value);
void SetMethodProp(TObject& instance, std::string_view name, const TMethod& value);

}  // namespace lx::framework
