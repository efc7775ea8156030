#include <gtest/gtest.h>

#include "framework/controls/CheckLst.h"

namespace lx::framework {
namespace {

TEST(CheckLstTest, CheckMarksStayWithTheirItems) {
  TCheckListBox list(nullptr);
  for (const char* text : {"a", "b", "c"})
    list.Items()->Add(text);
  list.SetChecked(1, true);
  list.Items()->Insert(0, "z");
  EXPECT_FALSE(list.Checked(1));
  EXPECT_TRUE(list.Checked(2));

  // A replaced item comes back unchecked; selection and check marks are apart.
  list.SetMultiSelect(true);
  list.SetSelected(2, true);
  list.SetChecked(3, true);
  list.Items()->SetStrings(2, "B");
  EXPECT_FALSE(list.Checked(2));
  EXPECT_FALSE(list.Selected(2));
  EXPECT_TRUE(list.Checked(3));

  try {
    list.SetChecked(4, true);
    FAIL() << "no error";
  } catch (const platform::EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (4)");
  }
}

}  // namespace
}  // namespace lx::framework
