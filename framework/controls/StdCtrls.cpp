#include "framework/controls/StdCtrls.h"

#include "framework/controls/Forms.h"
#include "framework/internal/ControlProperties.h"

namespace lx::framework {

LX_PUBLISHED(TLabel, LX_CONTROL_APPEARANCE, LX_CONTROL_CAPTION)

LX_PUBLISHED(TButton, LX_CONTROL_APPEARANCE, LX_CONTROL_CAPTION,
             Property("Cancel", &TButton::Cancel, &TButton::SetCancel, false),
             Property("Default", &TButton::Default, &TButton::SetDefault, false),
             Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, 0),
             Event("OnClick", &TButton::OnClick))

LX_PUBLISHED(TCheckBox, LX_CONTROL_APPEARANCE, LX_CONTROL_CAPTION,
             Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked, false),
             Event("OnClick", &TCheckBox::OnClick))

LX_PUBLISHED(TRadioButton, LX_CONTROL_APPEARANCE, LX_CONTROL_CAPTION,
             Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false),
             Event("OnClick", &TRadioButton::OnClick))

LX_PUBLISHED(TCustomEdit)

LX_PUBLISHED(TEdit, LX_CONTROL_APPEARANCE, Property("Text", &TControl::Text, &TControl::SetText),
             Event("OnChange", &TCustomEdit::OnChange))

LX_PUBLISHED(TCustomMemo)

LX_PUBLISHED(TMemo, LX_CONTROL_APPEARANCE,
             Property("Lines", &TCustomMemo::Lines, &TCustomMemo::SetLines),
             Event("OnChange", &TCustomEdit::OnChange))

LX_PUBLISHED(TGroupBox, LX_CONTROL_APPEARANCE, LX_CONTROL_CAPTION)

LX_PUBLISHED(TItemStrings)

LX_PUBLISHED(TCustomListBox)

LX_PUBLISHED(TListBox, LX_CONTROL_APPEARANCE,
             Property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect,
                      false),
             Property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems),
             Property("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex, -1))

LX_PUBLISHED(TCustomComboBox)

LX_PUBLISHED(TComboBox, LX_CONTROL_APPEARANCE,
             Property("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems),
             Property("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex, -1),
             Property("Text", &TControl::Text, &TControl::SetText),
             Event("OnChange", &TCustomComboBox::OnChange))

// ---- TLabel, TButton, edits ----

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 17);
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 75, 25);
}

void TButton::Click() {
  if (modalResult_ != 0) {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  }
  if (OnClick) OnClick(this);
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 97, 17);
}

void TCheckBox::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Invalidate();
  if (OnClick && !ComponentState().Contains(csLoading)) OnClick(this);
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Invalidate();
  if (!value) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
      if (sibling != nullptr && sibling != this) sibling->SetChecked(false);
    }
  }
  if (OnClick && !ComponentState().Contains(csLoading)) OnClick(this);
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::TextChanged() {
  TWinControl::TextChanged();
  if (OnChange) OnChange(this);
}

TCustomMemo::TCustomMemo(TComponent* owner)
    : TCustomEdit(owner), lines_(std::make_unique<TStringList>()) {
  SetBounds(0, 0, 185, 89);
  lines_->OnChange = [this](TObject*) { TextChanged(); };
}

TCustomMemo::~TCustomMemo() {
  lines_->OnChange = nullptr;
}

void TCustomMemo::SetLines(TStrings* value) {
  lines_->Assign(value);
}

std::string TCustomMemo::Text() const {
  std::string text;
  for (int i = 0; i < lines_->Count(); ++i)
    text += lines_->Strings(i) + "\r\n";
  return text;
}

void TCustomMemo::SetText(const std::string& value) {
  lines_->SetText(value);
}

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 185, 105);
}

// ---- TItemStrings ----

TItemStrings::TItemStrings(TListener listener) : listener_(std::move(listener)) {}

void TItemStrings::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) IndexError(index);
}

std::string TItemStrings::Strings(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].text;
}

void TItemStrings::SetStrings(int index, const std::string& value) {
  CheckIndex(index);
  TItem& item = items_[static_cast<std::size_t>(index)];
  item.text = value;
  item.selected = false;
  item.checked = false;
  listener_(TChange::Replaced, index);
}

TObject* TItemStrings::Objects(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].object;
}

void TItemStrings::SetObjects(int index, TObject* object) {
  CheckIndex(index);
  items_[static_cast<std::size_t>(index)].object = object;
}

void TItemStrings::Insert(int index, const std::string& value) {
  InsertObject(index, value, nullptr);
}

void TItemStrings::InsertObject(int index, const std::string& value, TObject* object) {
  if (index < 0 || index > Count()) IndexError(index);
  items_.insert(items_.begin() + index, TItem{value, object});
  listener_(TChange::Inserted, index);
}

void TItemStrings::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
  listener_(TChange::Deleted, index);
}

void TItemStrings::Clear() {
  items_.clear();
  listener_(TChange::Cleared, -1);
}

bool TItemStrings::ItemSelected(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].selected;
}

void TItemStrings::SetItemSelected(int index, bool value) {
  CheckIndex(index);
  items_[static_cast<std::size_t>(index)].selected = value;
}

bool TItemStrings::ItemChecked(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)].checked;
}

void TItemStrings::SetItemChecked(int index, bool value) {
  CheckIndex(index);
  items_[static_cast<std::size_t>(index)].checked = value;
}

void TItemStrings::UnselectAll() {
  for (TItem& item : items_)
    item.selected = false;
}

namespace {

// Where the selected index goes when the items change around it.
int FollowChange(int selected, TItemStrings::TChange change, int index) {
  using TChange = TItemStrings::TChange;
  if (selected < 0) return selected;
  switch (change) {
    case TChange::Inserted:
      return selected >= index ? selected + 1 : selected;
    case TChange::Deleted:
      if (selected == index) return -1;
      return selected > index ? selected - 1 : selected;
    case TChange::Replaced:
      return selected;
    case TChange::Cleared:
      return -1;
  }
  return selected;
}

}  // namespace

// ---- TCustomListBox ----

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner),
      items_(std::make_unique<TItemStrings>(
          [this](TItemStrings::TChange change, int index) { ItemsChanged(change, index); })) {
  SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

TStrings* TCustomListBox::Items() const {
  return items_.get();
}

void TCustomListBox::SetItems(TStrings* value) {
  items_->Assign(value);
}

void TCustomListBox::ItemsChanged(TItemStrings::TChange change, int index) {
  itemIndex_ = FollowChange(itemIndex_, change, index);
  Invalidate();
}

void TCustomListBox::SetItemIndex(int value) {
  itemIndex_ = value >= 0 && value < items_->Count() ? value : -1;
  Invalidate();
}

void TCustomListBox::SetMultiSelect(bool value) {
  if (value == multiSelect_) return;
  multiSelect_ = value;
  if (!value) items_->UnselectAll();
}

bool TCustomListBox::Selected(int index) const {
  if (multiSelect_) return items_->ItemSelected(index);
  if (index < 0 || index >= items_->Count()) items_->ItemSelected(index);
  return index == itemIndex_;
}

void TCustomListBox::SetSelected(int index, bool value) {
  Invalidate();
  if (multiSelect_) {
    items_->SetItemSelected(index, value);
    return;
  }
  items_->ItemSelected(index);  // checks the index
  if (value) {
    itemIndex_ = index;
  } else if (itemIndex_ == index) {
    itemIndex_ = -1;
  }
}

int TCustomListBox::SelCount() const {
  if (!multiSelect_) return -1;
  int count = 0;
  for (int i = 0; i < items_->Count(); ++i)
    count += items_->ItemSelected(i) ? 1 : 0;
  return count;
}

// ---- TCustomComboBox ----

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner),
      items_(std::make_unique<TItemStrings>(
          [this](TItemStrings::TChange change, int index) { ItemsChanged(change, index); })) {
  SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() = default;

TStrings* TCustomComboBox::Items() const {
  return items_.get();
}

void TCustomComboBox::SetItems(TStrings* value) {
  items_->Assign(value);
}

// A replaced item is a new one: the box no longer shows it as chosen.
void TCustomComboBox::ItemsChanged(TItemStrings::TChange change, int index) {
  Invalidate();
  if (change == TItemStrings::TChange::Replaced && itemIndex_ == index) {
    itemIndex_ = -1;
    return;
  }
  itemIndex_ = FollowChange(itemIndex_, change, index);
}

void TCustomComboBox::SetItemIndex(int value) {
  itemIndex_ = value >= 0 && value < items_->Count() ? value : -1;
  Invalidate();
  if (itemIndex_ >= 0) SetText(items_->Strings(itemIndex_));
}

}  // namespace lx::framework
