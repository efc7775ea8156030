// TCheckListBox: a list box with a check mark beside each item.
#pragma once

#include "framework/controls/StdCtrls.h"

namespace lx::framework {

class TCheckListBox : public TCustomListBox {
  LX_CLASS(TCheckListBox, TCustomListBox)

 public:
  explicit TCheckListBox(TComponent* owner) : TCustomListBox(owner) {}

  /// Whether item `index` is checked; raises EListError "List index out of bounds (<index>)".
  bool Checked(int index) const;
  void SetChecked(int index, bool value);
};

}  // namespace lx::framework
