// TPersistent: objects whose content can be copied into one another and stored with a form.
#pragma once

#include "framework/core/Object.h"

namespace lx::framework {

class TFiler;

class TPersistent : public TObject {
  LX_CLASS(TPersistent, TObject)

 public:
  TPersistent() = default;

  /// Copies the content of `source` into this object. The base asks the source (AssignTo);
  /// when neither side knows the other, raises EConvertError "Cannot assign a <source class>
  /// to a <own class>", with "nil" for a missing source. Assigning an object to itself does
  /// nothing.
  virtual void Assign(const TPersistent* source);
  /// The object that owns this one, for name paths and ancestry; null by default.
  virtual TPersistent* GetOwner() const { return nullptr; }
  /// Declares the stored values that are not published properties; called by the filers.
  virtual void DefineProperties(TFiler& filer);

 protected:
  /// Copies this object's content into `dest`; the base raises the assignment error.
  virtual void AssignTo(TPersistent* dest) const;

 private:
  [[noreturn]] void AssignError(const TPersistent* source) const;
};

}  // namespace lx::framework
