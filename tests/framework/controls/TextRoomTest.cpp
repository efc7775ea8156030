#include <gtest/gtest.h>

#include <memory>

#include "framework/controls/CheckLst.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/TextRoom.h"

namespace lx::framework {
namespace {

// Descendants lay out their texts as what they descend from; a memo is no edit, whose text
// scrolls and is never cut.
TEST(TextRoomTest, EachControlHasTheRoomOfItsKind) {
  struct Case {
    std::unique_ptr<TControl> control;
    TTextRoomKind kind;
  };
  Case cases[] = {
      {std::make_unique<TLabel>(nullptr), TTextRoomKind::Label},
      {std::make_unique<TButton>(nullptr), TTextRoomKind::Button},
      {std::make_unique<TRadioButton>(nullptr), TTextRoomKind::CheckBox},
      {std::make_unique<TCheckListBox>(nullptr), TTextRoomKind::ListBox},
      {std::make_unique<TComboBoxEx>(nullptr), TTextRoomKind::ComboBox},
      {std::make_unique<TMemo>(nullptr), TTextRoomKind::Memo},
      {std::make_unique<TEdit>(nullptr), TTextRoomKind::None},
      {std::make_unique<TPanel>(nullptr), TTextRoomKind::Panel},
      {std::make_unique<TGroupBox>(nullptr), TTextRoomKind::GroupBox},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TextRoomKindOf(*c.control), c.kind) << c.control->ClassName();
  // A button's padding is the style sheet's, inside its one-pixel border.
  EXPECT_EQ(TextInsetsOf(TTextRoomKind::Button).left, kButtonPaddingX + 1);
  EXPECT_EQ(TextInsetsOf(TTextRoomKind::None), TTextInsets{});
}

TEST(TextRoomTest, ACaptionShowsItsTextWithoutHotKeyMarks) {
  EXPECT_EQ(ShownCaption("&Help && more_"), "Help & more_");
  EXPECT_EQ(ShownCaption("End&"), "End");
}

}  // namespace
}  // namespace lx::framework
