// The standard controls: labels, buttons, edit boxes, memos, group boxes, list boxes and
// combo boxes.
//
// The items of list and combo boxes are held as the control's window would hold them: an item
// whose text is replaced is a new item, so it loses its selection and its check mark (a list
// box keeps its ItemIndex; a combo box whose selected item is replaced has none selected).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/Controls.h"
#include "framework/core/Strings.h"

namespace lx::framework {

/// A text drawn on its parent.
class TLabel : public TGraphicControl {
  LX_CLASS(TLabel, TGraphicControl)

 public:
  explicit TLabel(TComponent* owner);
};

/// A push button. Clicking a button with a ModalResult sets it on its form, which ends the
/// form's ShowModal.
class TButton : public TWinControl {
  LX_CLASS(TButton, TWinControl)

 public:
  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool value) { default_ = value; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  /// What a modal form answers when the button closes it; 0 for none.
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }

  TNotifyEvent OnClick;
  /// Fires OnClick, as a press of the button does.
  void Click();

 private:
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
};

/// A box with a caption that is checked or not; a click toggles it.
class TCheckBox : public TWinControl {
  LX_CLASS(TCheckBox, TWinControl)

 public:
  explicit TCheckBox(TComponent* owner);

  bool Checked() const { return checked_; }
  /// Fires OnClick when the state changes.
  void SetChecked(bool value);

  TNotifyEvent OnClick;
  /// Toggles Checked, as a click on the box does.
  void Click() { SetChecked(!checked_); }

 private:
  bool checked_ = false;
};

/// One choice of a group: checking it unchecks the other radio buttons of its parent.
class TRadioButton : public TWinControl {
  LX_CLASS(TRadioButton, TWinControl)

 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return checked_; }
  /// Fires OnClick when the button becomes checked.
  void SetChecked(bool value);

  TNotifyEvent OnClick;
  /// Checks the button, as a click on it does.
  void Click() { SetChecked(true); }

 private:
  bool checked_ = false;
};

/// A single-line edit box; its Text is its content.
class TCustomEdit : public TWinControl {
  LX_CLASS(TCustomEdit, TWinControl)

 public:
  explicit TCustomEdit(TComponent* owner);

  TNotifyEvent OnChange;

 protected:
  void TextChanged() override;
};

class TEdit : public TCustomEdit {
  LX_CLASS(TEdit, TCustomEdit)

 public:
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

/// A multi-line edit box. Its Text is every line followed by a carriage return and a line
/// feed; writing Text splits it into Lines at CR, LF or CR LF.
class TCustomMemo : public TCustomEdit {
  LX_CLASS(TCustomMemo, TCustomEdit)

 public:
  explicit TCustomMemo(TComponent* owner);
  ~TCustomMemo() override;

  TStrings* Lines() const { return lines_.get(); }
  void SetLines(TStrings* value);
  std::string Text() const override;
  void SetText(const std::string& value) override;

 private:
  std::unique_ptr<TStringList> lines_;
};

class TMemo : public TCustomMemo {
  LX_CLASS(TMemo, TCustomMemo)

 public:
  explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

/// A frame with a caption around other controls.
class TGroupBox : public TWinControl {
  LX_CLASS(TGroupBox, TWinControl)

 public:
  explicit TGroupBox(TComponent* owner);
};

/// The items of a list or combo box: texts with their objects and, per item, whether it is
/// selected and checked. Tells its control of every change.
class TItemStrings : public TStrings {
  LX_CLASS(TItemStrings, TStrings)

 public:
  enum class TChange { Inserted, Deleted, Replaced, Cleared };
  using TListener = std::function<void(TChange change, int index)>;

  explicit TItemStrings(TListener listener);

  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Strings(int index) const override;
  /// Replaces the item by a new one with the same object, neither selected nor checked.
  void SetStrings(int index, const std::string& value) override;
  TObject* Objects(int index) const override;
  void SetObjects(int index, TObject* object) override;
  void Insert(int index, const std::string& value) override;
  void InsertObject(int index, const std::string& value, TObject* object) override;
  void Delete(int index) override;
  void Clear() override;

  /// Per-item flags; raise EListError "List index out of bounds (<index>)".
  bool ItemSelected(int index) const;
  void SetItemSelected(int index, bool value);
  bool ItemChecked(int index) const;
  void SetItemChecked(int index, bool value);
  /// Clears the selection of every item.
  void UnselectAll();

 private:
  struct TItem {
    std::string text;
    TObject* object = nullptr;
    bool selected = false;
    bool checked = false;
  };

  void CheckIndex(int index) const;

  std::vector<TItem> items_;
  TListener listener_;
};

/// A list of texts to choose from, one (ItemIndex) or, with MultiSelect, several (Selected).
class TCustomListBox : public TWinControl {
  LX_CLASS(TCustomListBox, TWinControl)

 public:
  explicit TCustomListBox(TComponent* owner);
  ~TCustomListBox() override;

  TStrings* Items() const;
  /// Takes the strings of `value`.
  void SetItems(TStrings* value);
  /// The selected item, the focused one with MultiSelect; -1 for none. An index outside the
  /// items selects none.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);
  /// Switching MultiSelect off forgets the selection of every item.
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  /// Whether item `index` is selected; without MultiSelect, whether it is ItemIndex. Raises
  /// EListError "List index out of bounds (<index>)".
  bool Selected(int index) const;
  void SetSelected(int index, bool value);
  /// The number of selected items; -1 without MultiSelect.
  int SelCount() const;

 protected:
  TItemStrings& ItemList() const { return *items_; }

 private:
  void ItemsChanged(TItemStrings::TChange change, int index);

  std::unique_ptr<TItemStrings> items_;
  int itemIndex_ = -1;
  bool multiSelect_ = false;
};

class TListBox : public TCustomListBox {
  LX_CLASS(TListBox, TCustomListBox)

 public:
  explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

/// An edit box with a list of texts to choose from. Choosing an item puts its text into Text.
class TCustomComboBox : public TWinControl {
  LX_CLASS(TCustomComboBox, TWinControl)

 public:
  explicit TCustomComboBox(TComponent* owner);
  ~TCustomComboBox() override;

  TStrings* Items() const;
  void SetItems(TStrings* value);
  /// The chosen item, -1 for none; an index outside the items chooses none.
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value);

  TNotifyEvent OnChange;

 protected:
  TItemStrings& ItemList() const { return *items_; }

 private:
  void ItemsChanged(TItemStrings::TChange change, int index);

  std::unique_ptr<TItemStrings> items_;
  int itemIndex_ = -1;
};

class TComboBox : public TCustomComboBox {
  LX_CLASS(TComboBox, TCustomComboBox)

 public:
  explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

}  // namespace lx::framework
