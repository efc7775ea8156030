#include <gtest/gtest.h>

#include "platform/Keyboard.h"

namespace lx::platform {
namespace {

TEST(KeyboardTest, NamesKeysAsAUsKeyboardLabelsThem) {
  EXPECT_EQ(GetKeyNameText('A'), "A");
  EXPECT_EQ(GetKeyNameText('7'), "7");
  EXPECT_EQ(GetKeyNameText(VK_NUMPAD0 + 3), "Num 3");
  EXPECT_EQ(GetKeyNameText(VK_F1), "F1");
  EXPECT_EQ(GetKeyNameText(VK_F24), "F24");
  EXPECT_EQ(GetKeyNameText(VK_CAPITAL), "Caps Lock");
  EXPECT_EQ(GetKeyNameText(VK_ADD), "Num +");
  EXPECT_EQ(GetKeyNameText(VK_OEM_1), ";");
  EXPECT_EQ(GetKeyNameText(VK_OEM_5), "\\");
  EXPECT_EQ(GetKeyNameText(VK_OEM_7), "'");
  EXPECT_EQ(GetKeyNameText(0), "");
  EXPECT_EQ(GetKeyNameText(0xE0), "");
  EXPECT_EQ(GetKeyNameText(0xFF), "");
  EXPECT_EQ(GetKeyNameText(0x141), "");
}

}  // namespace
}  // namespace lx::platform
