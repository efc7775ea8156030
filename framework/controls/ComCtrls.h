// TComboBoxEx: a combo box whose items are a collection (ItemsEx), each with a caption and an
// image. Items shows the captions of ItemsEx, in order, and follows every change of it.
#pragma once

#include <string>

#include "framework/controls/StdCtrls.h"
#include "framework/core/Collection.h"

namespace lx::framework {

class TComboExItem : public TCollectionItem {
  LX_CLASS(TComboExItem, TCollectionItem)

 public:
  explicit TComboExItem(TCollection* collection) : TCollectionItem(collection) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);

  void Assign(const TPersistent* source) override;

 private:
  std::string caption_;
  int imageIndex_ = -1;
};

class TComboBoxEx;

class TComboExItems : public TCollection {
  LX_CLASS(TComboExItems, TCollection)

 public:
  explicit TComboExItems(TComboBoxEx* comboBox);

  TComboExItem* Items(int index) const {
    return static_cast<TComboExItem*>(TCollection::Items(index));
  }
  /// A new item at the end.
  TComboExItem* AddItem(const std::string& caption, int imageIndex = -1);

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TComboBoxEx* comboBox_;
};

class TComboBoxEx : public TCustomComboBox {
  LX_CLASS(TComboBoxEx, TCustomComboBox)
  friend class TComboExItems;

 public:
  explicit TComboBoxEx(TComponent* owner);
  ~TComboBoxEx() override;

  TComboExItems* ItemsEx() const { return itemsEx_.get(); }
  void SetItemsEx(TComboExItems* value);

 private:
  void ItemsExChanged();

  std::unique_ptr<TComboExItems> itemsEx_;
};

}  // namespace lx::framework
