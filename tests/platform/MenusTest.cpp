#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/Menus.h"

namespace lx::platform {
namespace {

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    menu_ = CreatePopupMenu();
    ASSERT_TRUE(AppendMenu(menu_, MF_STRING, 100, "&Open"));
    ASSERT_TRUE(AppendMenu(menu_, MF_SEPARATOR, 0, "ignored"));
    ASSERT_TRUE(AppendMenu(menu_, MF_STRING, 200, "&Close\tAlt+F4"));
  }
  void TearDown() override { DestroyMenu(menu_); }

  std::string TextAt(UINT position) {
    std::array<char, 256> buffer{};
    const int length = GetMenuString(menu_, position, buffer, MF_BYPOSITION);
    return std::string(buffer.data(), static_cast<std::size_t>(length));
  }

  HMENU menu_ = 0;
};

TEST_F(MenusTest, ReadsItemsByPositionAndByCommand) {
  EXPECT_EQ(GetMenuItemCount(menu_), 3);
  std::array<char, 32> buffer{};
  MENUITEMINFO info;
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
  info.dwTypeData = buffer.data();
  info.cch = buffer.size();
  ASSERT_TRUE(GetMenuItemInfo(menu_, 2, true, info));
  EXPECT_EQ(info.wID, 200u);
  EXPECT_EQ(info.fType, MFT_STRING);
  EXPECT_STREQ(buffer.data(), "&Close\tAlt+F4");
  EXPECT_EQ(info.cch, 13u);

  info.fMask = MIIM_ID | MIIM_TYPE;
  info.dwTypeData = buffer.data();
  info.cch = buffer.size();
  ASSERT_TRUE(GetMenuItemInfo(menu_, 100, false, info));
  EXPECT_EQ(info.wID, 100u);
  EXPECT_STREQ(buffer.data(), "&Open");
  EXPECT_EQ(GetMenuItemID(menu_, 0), 100u);
}

TEST_F(MenusTest, SeparatorsHaveNoTextAndNoCommand) {
  std::array<char, 8> buffer{'x'};
  MENUITEMINFO info;
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
  info.dwTypeData = buffer.data();
  info.cch = buffer.size();
  ASSERT_TRUE(GetMenuItemInfo(menu_, 1, true, info));
  EXPECT_EQ(info.fType, MFT_SEPARATOR);
  EXPECT_EQ(info.wID, 0u);
  EXPECT_EQ(info.cch, 0u);
  EXPECT_STREQ(buffer.data(), "");
  EXPECT_EQ(GetMenuItemID(menu_, 1), 0xFFFFFFFFu);
  EXPECT_EQ(TextAt(1), "");
  // A separator is not found by its (zero) command.
  EXPECT_FALSE(GetMenuItemInfo(menu_, 0, false, info));
}

TEST_F(MenusTest, BadPositionsAndHandlesFailWithoutTouchingTheCaller) {
  MENUITEMINFO info;
  info.fMask = MIIM_ID | MIIM_FTYPE;
  info.wID = 7;
  EXPECT_FALSE(GetMenuItemInfo(menu_, 3, true, info));
  EXPECT_FALSE(GetMenuItemInfo(menu_, 0xFFFFFFFF, true, info));
  EXPECT_FALSE(GetMenuItemInfo(menu_, 999, false, info));
  EXPECT_EQ(info.wID, 7u);
  EXPECT_FALSE(SetMenuItemInfo(menu_, 3, true, info));
  EXPECT_EQ(GetMenuItemID(menu_, -1), 0xFFFFFFFFu);
  std::array<char, 4> buffer{'x', 'x', 'x', 'x'};
  EXPECT_EQ(GetMenuString(menu_, 5, buffer, MF_BYPOSITION), 0);
  EXPECT_EQ(buffer[0], '\0');

  const HMENU stale = CreatePopupMenu();
  ASSERT_TRUE(DestroyMenu(stale));
  EXPECT_FALSE(IsMenu(stale));
  EXPECT_FALSE(DestroyMenu(stale));
  EXPECT_EQ(GetMenuItemCount(stale), -1);
  EXPECT_FALSE(AppendMenu(stale, MF_STRING, 1, "x"));
  EXPECT_FALSE(GetMenuItemInfo(stale, 0, true, info));
  const HMENU fresh = CreatePopupMenu();
  EXPECT_NE(fresh, stale) << "handles are never reused";
  DestroyMenu(fresh);
}

TEST_F(MenusTest, TextsAreCutToTheCallersBuffer) {
  std::array<char, 6> small{};
  EXPECT_EQ(GetMenuString(menu_, 2, small, MF_BYPOSITION), 5);
  EXPECT_STREQ(small.data(), "&Clos");
  std::array<char, 1> one{'x'};
  EXPECT_EQ(GetMenuString(menu_, 2, one, MF_BYPOSITION), 0);
  EXPECT_EQ(one[0], '\0');
  EXPECT_EQ(GetMenuString(menu_, 2, std::span<char>(), MF_BYPOSITION), 13) << "length query";
  EXPECT_EQ(GetMenuString(menu_, 200, small, MF_BYCOMMAND), 5);

  MENUITEMINFO info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = small.data();
  info.cch = 4;
  ASSERT_TRUE(GetMenuItemInfo(menu_, 0, true, info));
  EXPECT_STREQ(small.data(), "&Op");
  EXPECT_EQ(info.cch, 3u);
  info.dwTypeData = nullptr;
  ASSERT_TRUE(GetMenuItemInfo(menu_, 0, true, info));
  EXPECT_EQ(info.cch, 5u) << "without a buffer only the length comes back";
}

TEST_F(MenusTest, WritesIdentifiersAndTexts) {
  std::string text =
      "&Schlie\xdf"
      "en\tAlt+F4";
  MENUITEMINFO info;
  info.fMask = MIIM_ID | MIIM_STRING;
  info.wID = 300;
  info.dwTypeData = text.data();
  ASSERT_TRUE(SetMenuItemInfo(menu_, 2, true, info));
  EXPECT_EQ(GetMenuItemID(menu_, 2), 300u);
  EXPECT_EQ(TextAt(2), text);

  info.fMask = MIIM_STRING;
  info.dwTypeData = nullptr;
  ASSERT_TRUE(SetMenuItemInfo(menu_, 300, false, info));
  EXPECT_EQ(TextAt(2), "");
  EXPECT_EQ(GetMenuItemID(menu_, 2), 300u) << "only the named members change";

  // A text written to a separator turns it into a text item; a type written
  // with it keeps it a separator.
  std::string label = "Label";
  info.dwTypeData = label.data();
  info.fMask = MIIM_STRING;
  ASSERT_TRUE(SetMenuItemInfo(menu_, 1, true, info));
  EXPECT_EQ(TextAt(1), "Label");
  info.fMask = MIIM_FTYPE | MIIM_STRING;
  info.fType = MFT_SEPARATOR;
  ASSERT_TRUE(SetMenuItemInfo(menu_, 1, true, info));
  EXPECT_EQ(TextAt(1), "");
  EXPECT_EQ(GetMenuItemCount(menu_), 3);
}

}  // namespace
}  // namespace lx::platform
