#include "framework/controls/CheckLst.h"

#include "framework/internal/ControlProperties.h"

namespace lx::framework {

LX_PUBLISHED(TCheckListBox, LX_CONTROL_APPEARANCE,
             Property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect,
                      false),
             Property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems),
             Property("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex, -1))

bool TCheckListBox::Checked(int index) const {
  return ItemList().ItemChecked(index);
}

void TCheckListBox::SetChecked(int index, bool value) {
  ItemList().SetItemChecked(index, value);
}

}  // namespace lx::framework
