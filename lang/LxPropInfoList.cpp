#include "lang/LxPropInfoList.h"

#include <string>

#include "framework/rtti/Published.h"

namespace lx::lang {

LX_PUBLISHED(TLxPropInfoList)

TLxPropInfoList::TLxPropInfoList(const framework::TObject* instance, framework::TTypeKinds kinds) {
  if (instance == nullptr || kinds == 0) return;
  for (const framework::TPropInfo* property : instance->ClassInfo().Properties()) {
    if (framework::KindInMask(property->Kind(), kinds)) items_.push_back(property);
  }
}

const framework::TPropInfo* TLxPropInfoList::Items(int index) const {
  if (index < 0 || index >= Count()) {
    throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return items_[static_cast<std::size_t>(index)];
}

}  // namespace lx::lang
