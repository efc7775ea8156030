// Run-time type information of published classes: type kinds, enumeration names, and the
// descriptors of published properties, methods and fields gathered in one class info per class.
//
// A class joins by naming itself with LX_CLASS in its body and listing what it publishes with
// LX_PUBLISHED in its source file (framework/rtti/Published.h). Class infos are built on first use,
// so nothing depends on the order in which translation units are initialised. Streaming finds
// classes by name through the registry of framework/rtti/ClassRegistry.h; the values of properties
// are read and written through framework/rtti/TypInfo.h.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <variant>
#include <vector>

#include "platform/Exception.h"

namespace lx::framework {

class TObject;
class TComponent;
class TCollection;
class TCollectionItem;
class TClassInfo;

/// A class name that the registry does not know ("Class TFoo not found").
class EClassNotFound : public platform::EFilerError {
 public:
  using EFilerError::EFilerError;
};
/// A published property that does not exist or cannot be read or written.
class EPropertyError : public platform::Exception {
 public:
  using Exception::Exception;
};
/// A property value of the wrong type, out of range, or naming an unknown element.
class EPropertyConvertError : public platform::Exception {
 public:
  using Exception::Exception;
};
/// An instance asked of a class that cannot create one ("Cannot create an instance of TFoo").
class EAbstractError : public platform::Exception {
 public:
  using Exception::Exception;
};

/// The type kinds of published properties. The numbering is fixed: stored masks select kind n
/// with bit n.
enum TTypeKind : std::uint8_t {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,  // short string, at most 255 characters
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkArray,
  tkRecord,
  tkInterface,
  tkInt64,
  tkDynArray,
  tkUString,
};

/// A set of type kinds as a 32-bit mask: bit n selects kind n.
using TTypeKinds = std::uint32_t;

constexpr TTypeKinds TypeKindMask(std::initializer_list<TTypeKind> kinds) {
  TTypeKinds mask = 0;
  for (TTypeKind kind : kinds)
    mask |= TTypeKinds{1} << kind;
  return mask;
}
/// Whether `mask` selects `kind`; kinds numbered 32 or above are never selected.
constexpr bool KindInMask(int kind, TTypeKinds mask) {
  return kind >= 0 && kind < 32 && ((mask >> kind) & 1u) != 0;
}
/// The kinds read and written as ordinals: integers, characters, enumerations and sets.
constexpr bool IsOrdinalKind(TTypeKind kind) {
  return kind == tkInteger || kind == tkChar || kind == tkEnumeration || kind == tkSet ||
         kind == tkWChar;
}

/// The names of an enumeration's values, in value order from 0.
class TEnumInfo {
 public:
  /// `names` is the comma-separated list of the value names, as LX_ENUM spells it.
  TEnumInfo(std::string typeName, std::string_view names);

  const std::string& TypeName() const { return typeName_; }
  int Count() const { return static_cast<int>(names_.size()); }
  /// The name of `value`; empty when the value is out of range.
  const std::string& NameOf(int value) const;
  /// The value named `name` (ASCII case-insensitive), or -1.
  int ValueOf(std::string_view name) const;

  /// False and True.
  static const TEnumInfo& Boolean();

 private:
  std::string typeName_;
  std::vector<std::string> names_;
};

/// One named constant of an integer type.
struct TIdentMapEntry {
  std::int32_t value;
  std::string_view name;
};

/// The named constants of an integer type (colours, character sets, cursors): a stored form
/// carries a value that has a name by that name, and any other value as a number.
class TIdentMap {
 public:
  /// `entries` must outlive the map (a static table); the first of two names for one value
  /// is the one written.
  TIdentMap(std::string typeName, std::span<const TIdentMapEntry> entries)
      : typeName_(std::move(typeName)), entries_(entries) {}

  const std::string& TypeName() const { return typeName_; }
  /// The name of `value`; empty when it has none.
  std::string_view NameOf(std::int64_t value) const;
  /// The value named `name` (ASCII case-insensitive); none when no constant is so named.
  std::optional<std::int32_t> ValueOf(std::string_view name) const;

 private:
  std::string typeName_;
  std::span<const TIdentMapEntry> entries_;
};

/// Declares a published enumeration: the enumeration itself (values from 0, one byte) and its
/// name table, found by argument-dependent lookup through `EnumInfoOf(static_cast<Type*>(0))`.
/// Use at namespace scope: LX_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)
#define LX_ENUM(Type, ...)                                             \
  enum Type : std::uint8_t { __VA_ARGS__ };                            \
  inline const ::lx::framework::TEnumInfo& EnumInfoOf(Type*) {         \
    static const ::lx::framework::TEnumInfo info(#Type, #__VA_ARGS__); \
    return info;                                                       \
  }

/// A published method bound to an object: the value of an event property. An event set in code
/// to anything but a published method has no name, and is not stored.
struct TMethod {
  TObject* data = nullptr;
  std::string name;

  friend bool operator==(const TMethod&, const TMethod&) = default;
};

/// A property value as the descriptors carry it: ordinals, sets (as masks) and Int64 values as
/// int64, floats as double, long and short strings, wide strings, objects, methods.
using TPropValue =
    std::variant<std::int64_t, double, std::string, std::u16string, TObject*, TMethod>;

/// Gives a class info on demand, so that classes may refer to each other in any order.
using TClassResolver = const TClassInfo& (*)();

/// The descriptor of one published property.
class TPropInfo {
 public:
  using TGetter = std::function<TPropValue(const TObject&)>;
  using TSetter = std::function<void(TObject&, const TPropValue&)>;
  using TStoredTest = std::function<bool(const TObject&)>;
  // Direct access to long strings, without a TPropValue in between; `checked` false skips
  // the check that the instance is of the publishing class.
  using TStringReader = std::function<const std::string&(const TObject&, bool checked)>;
  using TStringWriter = std::function<void(TObject&, const std::string&, bool checked)>;

  /// A property of `kind`; an absent getter or setter makes it write-only or read-only.
  TPropInfo(std::string name, TTypeKind kind, TGetter getter, TSetter setter);

  const std::string& Name() const { return name_; }
  TTypeKind Kind() const { return kind_; }
  /// tkEnumeration: the values; tkSet: the elements. Null for other kinds.
  const TEnumInfo* EnumType() const { return enumType_; }
  /// tkInteger: the named constants of the property's type, or null when it has none.
  const TIdentMap* IdentMap() const { return identMap_; }
  /// tkClass: the class the property holds. Null for other kinds.
  const TClassInfo* ClassType() const;
  bool IsReadable() const { return static_cast<bool>(getter_); }
  bool IsWritable() const { return static_cast<bool>(setter_); }
  /// The value a writer compares with; none means "no default" (an ordinal is then always
  /// stored, other kinds when they are not empty or zero).
  const std::optional<TPropValue>& Default() const { return default_; }
  /// Whether the property is stored for `instance` (false when declared not stored).
  bool IsStored(const TObject& instance) const;

  /// The raw accessors; framework/rtti/TypInfo.h checks kinds and gives typed access.
  TPropValue GetValue(const TObject& instance) const;
  void SetValue(TObject& instance, const TPropValue& value) const;
  /// A long string read by a reader that returns a reference: the text the instance holds,
  /// valid until it changes; null for any other property (read it with GetValue then).
  const std::string* StringRef(const TObject& instance) const;
  /// Writes a string value, straight to the writer when the property has a direct one.
  void SetString(TObject& instance, const std::string& value) const;
  /// StringRef and SetString for an instance the caller knows to be of a class that
  /// publishes this property (it found the property in the instance's class info), so its
  /// class is not checked again.
  const std::string* StringRefUnchecked(const TObject& instance) const;
  void SetStringUnchecked(TObject& instance, const std::string& value) const;

  // Used by the registration helpers while the descriptor is declared.
  void SetKind(TTypeKind kind) { kind_ = kind; }
  void SetEnumType(const TEnumInfo* type) { enumType_ = type; }
  void SetClassType(TClassResolver resolver) { classType_ = resolver; }
  void SetIdentMap(const TIdentMap* map) { identMap_ = map; }
  void SetDefault(TPropValue value) { default_ = std::move(value); }
  void SetStoredTest(TStoredTest test) { stored_ = std::move(test); }
  void SetSetter(TSetter setter) { setter_ = std::move(setter); }
  const TSetter& Setter() const { return setter_; }
  void SetStringAccess(TStringReader reader, TStringWriter writer) {
    stringReader_ = std::move(reader);
    stringWriter_ = std::move(writer);
  }

 private:
  std::string name_;
  TTypeKind kind_;
  const TEnumInfo* enumType_ = nullptr;
  const TIdentMap* identMap_ = nullptr;
  TClassResolver classType_ = nullptr;
  TGetter getter_;
  TSetter setter_;
  TStringReader stringReader_;
  TStringWriter stringWriter_;
  std::optional<TPropValue> default_;
  TStoredTest stored_;
};

/// The descriptor of one published method: what an event stored by name is bound to.
class TMethodInfo {
 public:
  using TBinder = std::function<std::any(TObject&)>;

  /// `signature` is the function type, e.g. typeid(void(TObject*)); `binder` gives a
  /// std::function of that type calling the method on the given instance.
  TMethodInfo(std::string name, std::type_index signature, TBinder binder);

  const std::string& Name() const { return name_; }
  std::type_index Signature() const { return signature_; }
  std::any Bind(TObject& instance) const { return binder_(instance); }

 private:
  std::string name_;
  std::type_index signature_;
  TBinder binder_;
};

/// The descriptor of one published field: a component reference of the owner that follows the
/// owned component of the same name.
class TFieldInfo {
 public:
  using TGetter = std::function<TObject*(const TObject&)>;
  using TSetter = std::function<void(TObject&, TObject*)>;
  using TAccepts = std::function<bool(const TObject*)>;

  TFieldInfo(std::string name, TClassResolver fieldClass, TGetter getter, TSetter setter,
             TAccepts accepts);

  const std::string& Name() const { return name_; }
  const TClassInfo& FieldClass() const { return fieldClass_(); }
  TObject* Get(const TObject& owner) const { return getter_(owner); }
  /// Whether the field can hold `value` (nil always fits).
  bool Accepts(const TObject* value) const { return accepts_(value); }
  /// Stores `value`; raises EPropertyConvertError when the field cannot hold it.
  void Set(TObject& owner, TObject* value) const;

 private:
  std::string name_;
  TClassResolver fieldClass_;
  TGetter getter_;
  TSetter setter_;
  TAccepts accepts_;
};

/// How a class creates instances: components with an owner, collection items in a collection,
/// other objects plainly. Abstract classes have none.
struct TFactory {
  TComponent* (*component)(TComponent* owner) = nullptr;
  TCollectionItem* (*item)(TCollection* collection) = nullptr;
  TObject* (*object)() = nullptr;
};

/// Everything the framework knows of a class at run time.
class TClassInfo {
 public:
  /// `declaresNotification`: the class overrides TComponent's Notification itself.
  TClassInfo(std::string name, const TClassInfo* parent, TFactory factory,
             std::vector<TPropInfo> properties, std::vector<TMethodInfo> methods,
             std::vector<TFieldInfo> fields, bool declaresNotification = false);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const std::string& Name() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  /// True for this class and its descendants.
  bool InheritsFrom(const TClassInfo& ancestor) const;

  /// The published properties in declaration order, ancestors first. A property published
  /// again by a descendant keeps its ancestor's place.
  const std::vector<const TPropInfo*>& Properties() const { return properties_; }
  /// Searches are ASCII case-insensitive and include the ancestors; null when absent.
  const TPropInfo* FindProperty(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  const TFieldInfo* FindField(std::string_view name) const;

  /// A new component owned by `owner` (which may be null).
  TComponent* CreateComponent(TComponent* owner) const;
  /// A new item added to `collection`.
  TCollectionItem* CreateItem(TCollection* collection) const;
  /// A new object of a class created without owner.
  std::unique_ptr<TObject> CreateObject() const;
  const TFactory& Factory() const { return factory_; }
  /// True when the class or an ancestor overrides TComponent's Notification: its
  /// components are told what their owner is told.
  bool HearsNotifications() const { return hearsNotifications_; }
  /// True for a class info made at run time for one object (a stand-in of a stored class):
  /// objects of one C++ type may then have class infos of their own.
  bool PerObject() const { return perObject_; }
  void SetPerObject(bool value) { perObject_ = value; }

 private:
  [[noreturn]] void CannotCreate() const;

  std::string name_;
  const TClassInfo* parent_;
  TFactory factory_;
  std::vector<TPropInfo> ownProperties_;
  std::vector<const TPropInfo*> properties_;
  std::vector<TMethodInfo> methods_;
  std::vector<TFieldInfo> fields_;
  bool hearsNotifications_ = false;
  bool perObject_ = false;
};

namespace published {
template <typename Pointer>
struct MemberClassOf {
  using type = void;
};
template <typename R, typename C, typename... A>
struct MemberClassOf<R (C::*)(A...)> {
  using type = C;
};
}  // namespace published

/// Names a class inside its body: its class info, the `inherited` alias and the virtual
/// `ClassInfo`. Leaves the access at private. The list of what the class publishes is given
/// once in its source file with LX_PUBLISHED.
#define LX_CLASS(Type, Parent)                                                                     \
 public:                                                                                           \
  using inherited = Parent;                                                                        \
  using published_class = Type;                                                                    \
  static const ::lx::framework::TClassInfo& StaticClassInfo();                                     \
  const ::lx::framework::TClassInfo& ClassInfo() const override {                                  \
    static_assert(std::is_same_v<std::remove_cvref_t<decltype(*this)>, Type>,                      \
                  "LX_CLASS names another class");                                                 \
    return StaticClassInfo();                                                                      \
  }                                                                                                \
  /* Whether this very class overrides Notification (read where it is                              \
     protected). */                                                                                \
  template <typename Self = Type>                                                                  \
  static constexpr bool LxDeclaresNotification() {                                                 \
    if constexpr (requires { &Self::Notification; }) {                                             \
      return std::is_same_v<                                                                       \
          typename ::lx::framework::published::MemberClassOf<decltype(&Self::Notification)>::type, \
          Self>;                                                                                   \
    } else {                                                                                       \
      return false;                                                                                \
    }                                                                                              \
  }                                                                                                \
                                                                                                   \
 private:

}  // namespace lx::framework
