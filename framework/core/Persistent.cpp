#include "framework/core/Persistent.h"

#include "framework/rtti/Published.h"

namespace lx::framework {

LX_PUBLISHED(TPersistent)

void TPersistent::Assign(const TPersistent* source) {
  if (source == this) return;
  if (source == nullptr) AssignError(nullptr);
  source->AssignTo(this);
}

void TPersistent::DefineProperties(TFiler&) {}

void TPersistent::AssignTo(TPersistent* dest) const {
  dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const {
  const std::string sourceName = source != nullptr ? source->ClassName() : "nil";
  throw platform::EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

}  // namespace lx::framework
