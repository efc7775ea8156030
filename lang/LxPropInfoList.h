// TLxPropInfoList: the published properties of an object's class whose kinds the caller asks
// for, in the framework's order (declaration order, ancestors first). The translator walks
// these.
#pragma once

#include <vector>

#include "framework/core/Object.h"
#include "framework/rtti/Rtti.h"

namespace lx::lang {

class TLxPropInfoList : public framework::TObject {
  LX_CLASS(TLxPropInfoList, framework::TObject)

 public:
  /// The properties of `instance`'s class whose kind is selected by `kinds` (bit n for kind
  /// n). A null instance, a class without published properties or an empty mask give none.
  TLxPropInfoList(const framework::TObject* instance, framework::TTypeKinds kinds);

  int Count() const { return static_cast<int>(items_.size()); }
  /// The descriptor at `index`, which belongs to the framework; raises EListError
  /// "List index out of bounds (<index>)" outside 0..Count-1.
  const framework::TPropInfo* Items(int index) const;

 private:
  std::vector<const framework::TPropInfo*> items_;
};

}  // namespace lx::lang
