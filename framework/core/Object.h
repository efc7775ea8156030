// The root of the framework's classes.
//
// Objects are reference-like: they are not copied (TPersistent::Assign copies content), and
// each knows its class at run time through its class info (framework/rtti/Rtti.h).
#pragma once

#include <functional>
#include <string>

#include "framework/rtti/Rtti.h"

namespace lx::framework {

class TObject {
 public:
  TObject() = default;
  virtual ~TObject();
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  static const TClassInfo& StaticClassInfo();
  /// The class info of the object's own class.
  virtual const TClassInfo& ClassInfo() const;

  const std::string& ClassName() const { return ClassInfo().Name(); }
  /// The class info of the parent class; null for TObject itself.
  const TClassInfo* ClassParent() const { return ClassInfo().Parent(); }
  /// True when the object's class is `ancestor` or descends from it.
  bool InheritsFrom(const TClassInfo& ancestor) const { return ClassInfo().InheritsFrom(ancestor); }
};

/// The framework's plain event: something happened to `sender`.
using TNotifyEvent = std::function<void(TObject* sender)>;

}  // namespace lx::framework
