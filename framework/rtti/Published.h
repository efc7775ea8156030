// Declaring what a class publishes: one line per property, event, method or field, beside the
// class, with no code generator.
//
//   // Button.h
//   class TButton : public TWinControl {
//     LX_CLASS(TButton, TWinControl)
//    public:
//     explicit TButton(TComponent* owner);
//     const std::string& Caption() const;
//     void SetCaption(const std::string& value);
//     ...
//   };
//   // Button.cpp, in the class's namespace
//   LX_PUBLISHED(TButton,
//       Property("Caption", &TButton::Caption, &TButton::SetCaption),
//       Property("Default", &TButton::Default, &TButton::SetDefault, /*default*/ false),
//       Event("OnClick", &TButton::OnClick))
//
// The kind of a property follows from the value type of its accessors: std::string is a long
// string, std::u16string a wide string, char a character, char16_t a wide character, other
// integers of up to 32 bits an integer, signed 64-bit integers Int64, float and double a float,
// bool and LX_ENUM enumerations an enumeration, TSet over an LX_ENUM enumeration a set, a
// pointer to a TObject descendant a class, a std::function member an event (tkMethod). A
// reader is a const member function or a data member, a writer a member function taking the
// value or a data member; nullptr stands for a missing one. A fourth argument is the default.
// Methods published with Method() are what events stored by name are bound to; fields
// published with Field() follow the owned component of the same name. An integer property of
// a type with named constants says so with .Idents(map) (Font.Color with ColorIdents(), say).
//
// Inside LX_PUBLISHED the helpers are looked up from the class's scope first, so a class with
// a member named Property, Event, Method or Field writes them qualified. The class infos are
// built on first use. Include this header in source files only.
#pragma once

#include <any>
#include <concepts>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

#include "framework/core/Object.h"
#include "framework/core/Set.h"
#include "framework/rtti/Rtti.h"

namespace lx::framework {
namespace published {

// The failures of the accessors, kept out of line.
[[noreturn]] void RaiseForeignInstance(const std::string& property, const TObject& instance);
[[noreturn]] void RaiseWrongValue(const std::string& property);
[[noreturn]] void RaiseWrongClass(const std::string& property, const TObject& value);
/// The value checked to lie in low..high; raises EPropertyConvertError otherwise.
std::int64_t CheckedOrdinal(const TPropValue& value, std::int64_t low, std::int64_t high,
                            const std::string& property);
/// The published method that `method` names, checked to fit an event of `signature`.
const TMethodInfo& FindEventMethod(const TMethod& method, std::type_index signature,
                                   const std::string& property);

// A class that names itself with LX_CLASS has a class info of its own: asking it is much
// cheaper than a dynamic_cast, and as sure, since class infos follow the C++ derivation.
template <typename C>
concept OwnClassInfo = requires {
  typename C::published_class;
}
&&std::is_same_v<typename C::published_class, C>;

template <typename C>
const C& CastTo(const TObject& instance, const std::string& property) {
  if constexpr (std::is_same_v<C, TObject>) {
    return instance;
  } else if constexpr (OwnClassInfo<C>) {
    if (!instance.InheritsFrom(C::StaticClassInfo())) RaiseForeignInstance(property, instance);
    return static_cast<const C&>(instance);
  } else {
    const C* typed = dynamic_cast<const C*>(&instance);
    if (typed == nullptr) RaiseForeignInstance(property, instance);
    return *typed;
  }
}

template <typename C>
C& CastTo(TObject& instance, const std::string& property) {
  return const_cast<C&>(CastTo<C>(static_cast<const TObject&>(instance), property));
}

// CastTo, or without `checked` a plain cast where the class allows one.
template <typename C>
const C& CastTo(const TObject& instance, const std::string& property, bool checked) {
  if constexpr (OwnClassInfo<C>) {
    if (!checked) return static_cast<const C&>(instance);
  }
  return CastTo<C>(instance, property);
}

template <typename C>
C& CastTo(TObject& instance, const std::string& property, bool checked) {
  return const_cast<C&>(CastTo<C>(static_cast<const TObject&>(instance), property, checked));
}

template <typename A>
const A& Expect(const TPropValue& value, const std::string& property) {
  const A* held = std::get_if<A>(&value);
  if (held == nullptr) RaiseWrongValue(property);
  return *held;
}

// What an event holds when it is bound to a published method: the method's object and
// descriptor beside the call, so that the binding can be read back by name.
template <typename Sig>
struct MethodThunk;

template <typename R, typename... A>
struct MethodThunk<R(A...)> {
  TObject* data;
  const TMethodInfo* method;
  std::function<R(A...)> call;

  R operator()(A... args) const { return call(std::forward<A>(args)...); }
};

template <typename V>
concept PlainInteger = std::integral<V> && !std::same_as<V, bool> && !std::same_as<V, char> &&
                       !std::same_as<V, char8_t> && !std::same_as<V, char16_t> &&
                       !std::same_as<V, char32_t> && !std::same_as<V, wchar_t>;

template <typename E>
concept NamedEnum = std::is_enum_v<E> && requires(E* tag) {
  { EnumInfoOf(tag) } -> std::same_as<const TEnumInfo&>;
};

// How values of a published type become property values and back. A type without traits
// cannot be published.
template <typename V>
struct ValueTraits;

template <typename V, TTypeKind kind, std::int64_t low, std::int64_t high>
struct OrdinalTraits {
  static constexpr TTypeKind kKind = kind;
  static TPropValue To(V value) { return static_cast<std::int64_t>(value); }
  static V From(const TPropValue& value, const std::string& property) {
    return static_cast<V>(CheckedOrdinal(value, low, high, property));
  }
};

template <PlainInteger V>
requires(sizeof(V) <= 4) struct ValueTraits<V>
    : OrdinalTraits<V, tkInteger, std::numeric_limits<V>::min(), std::numeric_limits<V>::max()> {
};

template <PlainInteger V>
requires(sizeof(V) == 8 && std::is_signed_v<V>) struct ValueTraits<V> {
  static constexpr TTypeKind kKind = tkInt64;
  static TPropValue To(V value) { return static_cast<std::int64_t>(value); }
  static V From(const TPropValue& value, const std::string& property) {
    return Expect<std::int64_t>(value, property);
  }
};

template <>
struct ValueTraits<char> {
  static constexpr TTypeKind kKind = tkChar;
  static TPropValue To(char value) { return std::int64_t{static_cast<unsigned char>(value)}; }
  static char From(const TPropValue& value, const std::string& property) {
    return static_cast<char>(CheckedOrdinal(value, 0, 255, property));
  }
};

template <>
struct ValueTraits<char16_t> : OrdinalTraits<char16_t, tkWChar, 0, 0xFFFF> {};

template <>
struct ValueTraits<bool> : OrdinalTraits<bool, tkEnumeration, 0, 1> {
  static const TEnumInfo* Enum() { return &TEnumInfo::Boolean(); }
};

template <NamedEnum E>
struct ValueTraits<E> {
  static constexpr TTypeKind kKind = tkEnumeration;
  static const TEnumInfo* Enum() { return &EnumInfoOf(static_cast<E*>(nullptr)); }
  static TPropValue To(E value) { return static_cast<std::int64_t>(value); }
  static E From(const TPropValue& value, const std::string& property) {
    return static_cast<E>(CheckedOrdinal(value, 0, Enum()->Count() - 1, property));
  }
};

template <NamedEnum E, typename M>
struct ValueTraits<TSet<E, M>> {
  static constexpr TTypeKind kKind = tkSet;
  static const TEnumInfo* Enum() { return ValueTraits<E>::Enum(); }
  static TPropValue To(TSet<E, M> value) { return static_cast<std::int64_t>(value.ToMask()); }
  static TSet<E, M> From(const TPropValue& value, const std::string& property) {
    const int count = Enum()->Count();
    const std::int64_t all = count >= std::numeric_limits<M>::digits
                                 ? std::int64_t{std::numeric_limits<M>::max()}
                                 : (std::int64_t{1} << count) - 1;
    return TSet<E, M>::FromMask(static_cast<M>(CheckedOrdinal(value, 0, all, property)));
  }
};

template <std::floating_point V>
struct ValueTraits<V> {
  static constexpr TTypeKind kKind = tkFloat;
  static TPropValue To(V value) { return static_cast<double>(value); }
  static V From(const TPropValue& value, const std::string& property) {
    return static_cast<V>(Expect<double>(value, property));
  }
};

template <>
struct ValueTraits<std::string> {
  static constexpr TTypeKind kKind = tkLString;
  static TPropValue To(const std::string& value) { return value; }
  static std::string From(const TPropValue& value, const std::string& property) {
    return Expect<std::string>(value, property);
  }
};

template <>
struct ValueTraits<std::u16string> {
  static constexpr TTypeKind kKind = tkWString;
  static TPropValue To(const std::u16string& value) { return value; }
  static std::u16string From(const TPropValue& value, const std::string& property) {
    return Expect<std::u16string>(value, property);
  }
};

template <typename T>
requires std::is_base_of_v<TObject, T>
struct ValueTraits<T*> {
  static constexpr TTypeKind kKind = tkClass;
  static const TClassInfo& Class() { return T::StaticClassInfo(); }
  static TPropValue To(T* value) { return static_cast<TObject*>(value); }
  static T* From(const TPropValue& value, const std::string& property) {
    TObject* object = Expect<TObject*>(value, property);
    if (object == nullptr) return nullptr;
    T* typed = dynamic_cast<T*>(object);
    if (typed == nullptr) RaiseWrongClass(property, *object);
    return typed;
  }
};

template <typename R, typename... A>
struct ValueTraits<std::function<R(A...)>> {
  using Event = std::function<R(A...)>;
  using Thunk = MethodThunk<R(A...)>;

  static constexpr TTypeKind kKind = tkMethod;
  static TPropValue To(const Event& event) {
    if (const Thunk* bound = event.template target<Thunk>()) {
      return TMethod{bound->data, bound->method->Name()};
    }
    return TMethod{};
  }
  static Event From(const TPropValue& value, const std::string& property) {
    const TMethod& method = Expect<TMethod>(value, property);
    if (method.name.empty()) return Event();
    const TMethodInfo& info = FindEventMethod(method, typeid(R(A...)), property);
    return Thunk{method.data, &info, std::any_cast<Event>(info.Bind(*method.data))};
  }
};

// The class and value type of a reader (const member function or data member) and of a
// writer (member function taking the value, or data member).
template <typename F>
struct Reader;
template <typename C, typename R>
struct Reader<R (C::*)() const> {
  using Class = C;
  using Value = std::remove_cvref_t<R>;
};
template <typename C, typename R>
struct Reader<R (C::*)() const noexcept> : Reader<R (C::*)() const> {};
template <typename C, typename V>
requires(!std::is_function_v<V>) struct Reader<V C::*> {
  using Class = C;
  using Value = V;
};

template <typename F>
struct Writer;
template <typename C, typename R, typename P>
struct Writer<R (C::*)(P)> {
  using Class = C;
  using Value = std::remove_cvref_t<P>;
};
template <typename C, typename R, typename P>
struct Writer<R (C::*)(P) noexcept> : Writer<R (C::*)(P)> {};
template <typename C, typename V>
requires(!std::is_function_v<V>) struct Writer<V C::*> {
  using Class = C;
  using Value = V;
};

template <typename G, typename S>
auto ValueTypeOf() {
  if constexpr (std::is_null_pointer_v<G>) {
    return std::type_identity<typename Writer<S>::Value>{};
  } else {
    using V = typename Reader<G>::Value;
    if constexpr (!std::is_null_pointer_v<S>) {
      static_assert(std::is_same_v<V, typename Writer<S>::Value>,
                    "the reader and the writer of a property take different types");
    }
    return std::type_identity<V>{};
  }
}
template <typename G, typename S>
using ValueType = typename decltype(ValueTypeOf<G, S>())::type;

template <typename V, typename G>
TPropInfo::TGetter MakeGetter(G getter, const std::string& name) {
  if constexpr (std::is_null_pointer_v<G>) {
    return {};
  } else {
    using C = typename Reader<G>::Class;
    return [getter, name](const TObject& instance) -> TPropValue {
      return ValueTraits<V>::To(std::invoke(getter, CastTo<C>(instance, name)));
    };
  }
}

template <typename V, typename S>
TPropInfo::TSetter MakeSetter(S setter, const std::string& name) {
  if constexpr (std::is_null_pointer_v<S>) {
    return {};
  } else {
    using C = typename Writer<S>::Class;
    return [setter, name](TObject& instance, const TPropValue& value) {
      C& target = CastTo<C>(instance, name);
      V converted = ValueTraits<V>::From(value, name);
      if constexpr (std::is_member_function_pointer_v<S>) {
        std::invoke(setter, target, std::move(converted));
      } else {
        target.*setter = std::move(converted);
      }
    };
  }
}

// Long strings read through a reference (a reader returning const std::string&, or a data
// member) and written by a writer taking one are also reached directly, without a copy.
template <typename G>
TPropInfo::TStringReader MakeStringReader(G getter, const std::string& name) {
  if constexpr (std::is_null_pointer_v<G>) {
    return {};
  } else if constexpr (!std::is_lvalue_reference_v<
                           std::invoke_result_t<G, const typename Reader<G>::Class&>>) {
    return {};
  } else {
    using C = typename Reader<G>::Class;
    return [getter, name](const TObject& instance, bool checked) -> const std::string& {
      return std::invoke(getter, CastTo<C>(instance, name, checked));
    };
  }
}

template <typename S>
TPropInfo::TStringWriter MakeStringWriter(S setter, const std::string& name) {
  if constexpr (std::is_null_pointer_v<S>) {
    return {};
  } else {
    using C = typename Writer<S>::Class;
    return [setter, name](TObject& instance, const std::string& value, bool checked) {
      C& target = CastTo<C>(instance, name, checked);
      if constexpr (std::is_member_function_pointer_v<S>) {
        std::invoke(setter, target, value);
      } else {
        target.*setter = value;
      }
    };
  }
}

}  // namespace published

/// A property being declared: the descriptor and its declaration modifiers.
template <typename V>
class TPropDecl {
 public:
  explicit TPropDecl(TPropInfo info) : info_(std::move(info)) {}

  /// Not stored with the form when `stored` is false.
  TPropDecl Stored(bool stored) && {
    if (!stored) info_.SetStoredTest([](const TObject&) { return false; });
    return std::move(*this);
  }
  /// Stored when `test` answers true for the instance.
  template <typename C>
  TPropDecl Stored(bool (C::*test)() const) && {
    info_.SetStoredTest([test, name = info_.Name()](const TObject& instance) {
      return (published::CastTo<C>(instance, name).*test)();
    });
    return std::move(*this);
  }
  /// A short string (tkString): at most 255 characters; longer values are cut when written.
  TPropDecl ShortString() && requires std::same_as<V, std::string> {
    info_.SetKind(tkString);
    // Every write goes through the setter that cuts the text.
    info_.SetStringAccess({}, {});
    if (info_.IsWritable()) {
      info_.SetSetter([inner = info_.Setter()](TObject& instance, const TPropValue& value) {
        const auto* text = std::get_if<std::string>(&value);
        if (text != nullptr && text->size() > 255) {
          inner(instance, text->substr(0, 255));
        } else {
          inner(instance, value);
        }
      });
    }
    return std::move(*this);
  }

  /// An integer property whose type has named constants, stored by name where one exists.
  TPropDecl Idents(const TIdentMap& map) && requires(published::PlainInteger<V> && sizeof(V) <= 4) {
    info_.SetIdentMap(&map);
    return std::move(*this);
  }

  TPropInfo Build() && { return std::move(info_); }
  void SetDefault(TPropValue value) { info_.SetDefault(std::move(value)); }

 private:
  TPropInfo info_;
};

/// A published property read by `getter` and written by `setter` (either may be nullptr).
template <typename G, typename S>
TPropDecl<published::ValueType<G, S>> Property(std::string name, G getter, S setter) {
  using V = published::ValueType<G, S>;
  using Traits = published::ValueTraits<V>;
  TPropInfo info(name, Traits::kKind, published::MakeGetter<V>(getter, name),
                 published::MakeSetter<V>(setter, name));
  if constexpr (requires { Traits::Enum(); }) info.SetEnumType(Traits::Enum());
  if constexpr (requires { Traits::Class(); }) info.SetClassType(&Traits::Class);
  if constexpr (std::is_same_v<V, std::string>) {
    info.SetStringAccess(published::MakeStringReader(getter, name),
                         published::MakeStringWriter(setter, name));
  }
  return TPropDecl<V>(std::move(info));
}

/// A published property with the default value a writer compares with.
template <typename G, typename S, typename D>
TPropDecl<published::ValueType<G, S>> Property(std::string name, G getter, S setter,
                                               const D& defaultValue) {
  using V = published::ValueType<G, S>;
  using Traits = published::ValueTraits<V>;
  static_assert(Traits::kKind != tkClass && Traits::kKind != tkMethod,
                "objects and events have no default");
  auto decl = Property(std::move(name), getter, setter);
  decl.SetDefault(Traits::To(static_cast<V>(defaultValue)));
  return decl;
}

/// A published event: a std::function data member, read and written directly.
template <typename C, typename Sig>
TPropDecl<std::function<Sig>> Event(std::string name, std::function<Sig> C::*member) {
  return Property(std::move(name), member, member);
}

/// A published method, which events stored by name are bound to.
template <typename C, typename R, typename... A>
TMethodInfo Method(std::string name, R (C::*method)(A...)) {
  return TMethodInfo(name, typeid(R(A...)), [method, name](TObject& instance) -> std::any {
    C& target = published::CastTo<C>(instance, name);
    return std::function<R(A...)>(
        [&target, method](A... args) -> R { return (target.*method)(std::forward<A>(args)...); });
  });
}

/// A published field: a component reference of the owner that follows the owned component of
/// the same name.
template <typename C, typename T>
TFieldInfo Field(std::string name, T* C::*member) {
  static_assert(std::is_base_of_v<TObject, T>, "a published field refers to an object");
  return TFieldInfo(
      name, &T::StaticClassInfo,
      [member, name](const TObject& owner) -> TObject* {
        return published::CastTo<C>(owner, name).*member;
      },
      [member, name](TObject& owner, TObject* value) {
        published::CastTo<C>(owner, name).*member = dynamic_cast<T*>(value);
      },
      [](const TObject* value) { return value == nullptr || dynamic_cast<const T*>(value); });
}

namespace published {

struct Declarations {
  std::vector<TPropInfo> properties;
  std::vector<TMethodInfo> methods;
  std::vector<TFieldInfo> fields;
};

template <typename V>
void Collect(Declarations& into, TPropDecl<V>&& property) {
  into.properties.push_back(std::move(property).Build());
}
inline void Collect(Declarations& into, TMethodInfo&& method) {
  into.methods.push_back(std::move(method));
}
inline void Collect(Declarations& into, TFieldInfo&& field) {
  into.fields.push_back(std::move(field));
}

// Components are created with an owner, collection items in a collection, other classes
// plainly; abstract classes not at all.
template <typename T>
TFactory FactoryOf() {
  TFactory factory;
  if constexpr (!std::is_abstract_v<T>) {
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>) {
      factory.component = [](TComponent* owner) -> TComponent* { return new T(owner); };
    } else if constexpr (std::is_base_of_v<TCollectionItem, T> &&
                         std::is_constructible_v<T, TCollection*>) {
      factory.item = [](TCollection* collection) -> TCollectionItem* { return new T(collection); };
    } else if constexpr (std::is_default_constructible_v<T>) {
      factory.object = []() -> TObject* { return new T(); };
    }
  }
  return factory;
}

template <typename T, typename... Decls>
TClassInfo MakeClassInfo(const char* name, Decls&&... declarations) {
  static_assert(std::is_base_of_v<typename T::inherited, T>, "LX_CLASS names a wrong parent");
  Declarations lists;
  (Collect(lists, std::forward<Decls>(declarations)), ...);
  // TComponent's own Notification only passes the news on to what a component owns.
  constexpr bool declaresNotification =
      T::template LxDeclaresNotification<T>() && !std::is_same_v<T, TComponent>;
  return TClassInfo(name, &T::inherited::StaticClassInfo(), FactoryOf<T>(),
                    std::move(lists.properties), std::move(lists.methods), std::move(lists.fields),
                    declaresNotification);
}

}  // namespace published

/// Defines the class info of `Type` (named with LX_CLASS) with what it publishes, in order.
/// Use once, in the class's source file and namespace.
#define LX_PUBLISHED(Type, ...)                                                            \
  const ::lx::framework::TClassInfo& Type::StaticClassInfo() {                             \
    static const ::lx::framework::TClassInfo info =                                        \
        ::lx::framework::published::MakeClassInfo<Type>(#Type __VA_OPT__(, ) __VA_ARGS__); \
    return info;                                                                           \
  }

}  // namespace lx::framework
