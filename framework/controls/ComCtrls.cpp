#include "framework/controls/ComCtrls.h"

#include "framework/internal/ControlProperties.h"

namespace lx::framework {

LX_PUBLISHED(TComboExItem, Property("Caption", &TComboExItem::Caption, &TComboExItem::SetCaption),
             Property("ImageIndex", &TComboExItem::ImageIndex, &TComboExItem::SetImageIndex, -1))

LX_PUBLISHED(TComboExItems)

LX_PUBLISHED(TComboBoxEx, LX_CONTROL_APPEARANCE,
             Property("ItemsEx", &TComboBoxEx::ItemsEx, &TComboBoxEx::SetItemsEx),
             Property("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex, -1),
             Property("Text", &TControl::Text, &TControl::SetText),
             Event("OnChange", &TCustomComboBox::OnChange))

void TComboExItem::SetCaption(const std::string& value) {
  if (value == caption_) return;
  caption_ = value;
  Changed(false);
}

void TComboExItem::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Changed(false);
}

void TComboExItem::Assign(const TPersistent* source) {
  if (const auto* item = dynamic_cast<const TComboExItem*>(source)) {
    caption_ = item->caption_;
    imageIndex_ = item->imageIndex_;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

TComboExItems::TComboExItems(TComboBoxEx* comboBox)
    : TCollection(TComboExItem::StaticClassInfo(), comboBox), comboBox_(comboBox) {}

TComboExItem* TComboExItems::AddItem(const std::string& caption, int imageIndex) {
  auto* item = static_cast<TComboExItem*>(Add());
  item->SetCaption(caption);
  item->SetImageIndex(imageIndex);
  return item;
}

void TComboExItems::Update(TCollectionItem*) {
  comboBox_->ItemsExChanged();
}

TComboBoxEx::TComboBoxEx(TComponent* owner)
    : TCustomComboBox(owner), itemsEx_(std::make_unique<TComboExItems>(this)) {}

TComboBoxEx::~TComboBoxEx() {
  // The items go first, while the box they report to is still whole.
  itemsEx_.reset();
}

void TComboBoxEx::SetItemsEx(TComboExItems* value) {
  itemsEx_->Assign(value);
}

// The captions are mirrored in Items; the chosen item stays chosen when its caption changes.
void TComboBoxEx::ItemsExChanged() {
  if (itemsEx_ == nullptr) return;
  const int chosen = ItemIndex();
  TStrings* items = Items();
  items->BeginUpdate();
  items->Clear();
  for (int i = 0; i < itemsEx_->Count(); ++i) {
    // An item being made reports its arrival before it is whole.
    const auto* item = dynamic_cast<const TComboExItem*>(itemsEx_->TCollection::Items(i));
    items->Add(item != nullptr ? item->Caption() : std::string());
  }
  items->EndUpdate();
  if (chosen < items->Count()) SetItemIndex(chosen);
}

}  // namespace lx::framework
