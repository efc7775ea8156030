#include "framework/core/Object.h"

namespace lx::framework {

TObject::~TObject() = default;

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info("TObject", nullptr,
                               TFactory{.object = []() -> TObject* { return new TObject(); }}, {},
                               {}, {});
  return info;
}

const TClassInfo& TObject::ClassInfo() const {
  return StaticClassInfo();
}

}  // namespace lx::framework
