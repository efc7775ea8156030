#include <gtest/gtest.h>

#include "framework/controls/CheckLst.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/Grids.h"
#include "framework/controls/StdCtrls.h"
#include "screen/internal/ControlWidgets.h"

namespace lx::screen {
namespace {

using namespace framework;

// Descendants show as what they descend from; a memo is no single-line edit.
TEST(ControlWidgetsTest, EachKindOfControlHasItsWidget) {
  EXPECT_EQ(KindOf(TMemo(nullptr)), TWidgetKind::Memo);
  EXPECT_EQ(KindOf(TEdit(nullptr)), TWidgetKind::Edit);
  EXPECT_EQ(KindOf(TCheckListBox(nullptr)), TWidgetKind::ListBox);
  EXPECT_EQ(KindOf(TComboBoxEx(nullptr)), TWidgetKind::ComboBox);
  EXPECT_EQ(KindOf(TCheckBox(nullptr)), TWidgetKind::CheckBox);
  EXPECT_EQ(KindOf(TRadioButton(nullptr)), TWidgetKind::RadioButton);
  EXPECT_EQ(KindOf(TStringGrid(nullptr)), TWidgetKind::Container);
  EXPECT_EQ(KindOf(TGraphicControl(nullptr)), TWidgetKind::None);
}

}  // namespace
}  // namespace lx::screen
