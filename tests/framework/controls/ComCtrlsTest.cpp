#include <gtest/gtest.h>

#include "framework/controls/ComCtrls.h"
#include "framework/rtti/TypInfo.h"

namespace lx::framework {
namespace {

TEST(ComCtrlsTest, ItemsShowTheCaptionsOfItemsEx) {
  TComboBoxEx combo(nullptr);
  combo.ItemsEx()->AddItem("Open", 1);
  combo.ItemsEx()->AddItem("Save", 2);
  ASSERT_EQ(combo.Items()->Count(), 2);
  combo.SetItemIndex(1);

  combo.ItemsEx()->Items(1)->SetCaption("Guardar");
  EXPECT_EQ(combo.Items()->Strings(1), "Guardar");
  EXPECT_EQ(combo.ItemIndex(), 1);

  combo.ItemsEx()->Delete(0);
  ASSERT_EQ(combo.Items()->Count(), 1);
  EXPECT_EQ(combo.Items()->Strings(0), "Guardar");

  // The collection is what is published; its items carry their captions.
  EXPECT_EQ(GetObjectProp(combo, "ItemsEx"), combo.ItemsEx());
  EXPECT_EQ(GetPropInfo(combo, "Items"), nullptr);
  EXPECT_EQ(GetStrProp(*combo.ItemsEx()->Items(0), "Caption"), "Guardar");
  EXPECT_EQ(combo.ItemsEx()->Items(0)->ImageIndex(), 2);
}

TEST(ComCtrlsTest, AssigningItemsExCopiesThem) {
  TComboBoxEx source(nullptr);
  TComboBoxEx target(nullptr);
  source.ItemsEx()->AddItem("One");
  source.ItemsEx()->AddItem("Two", 4);
  target.SetItemsEx(source.ItemsEx());
  ASSERT_EQ(target.Items()->Count(), 2);
  EXPECT_EQ(target.ItemsEx()->Items(1)->ImageIndex(), 4);
  EXPECT_NE(target.ItemsEx()->Items(1), source.ItemsEx()->Items(1));
}

}  // namespace
}  // namespace lx::framework
