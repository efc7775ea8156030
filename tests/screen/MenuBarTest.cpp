#include <gtest/gtest.h>

#include "platform/Keyboard.h"
#include "screen/MenuBar.h"

namespace lx::screen {
namespace {

using framework::scAlt;
using framework::scCtrl;
using framework::scShift;

TEST(MenuBarTest, ShortcutsBecomeGdkAccelerators) {
  guint key = 0;
  GdkModifierType mods{};
  ASSERT_TRUE(ShortCutToAccelerator(scCtrl | 'Q', key, mods));
  EXPECT_EQ(key, static_cast<guint>(GDK_KEY_q));
  EXPECT_EQ(mods, GDK_CONTROL_MASK);
  ASSERT_TRUE(ShortCutToAccelerator(platform::VK_F1, key, mods));
  EXPECT_EQ(key, static_cast<guint>(GDK_KEY_F1));
  EXPECT_EQ(mods, 0);
  ASSERT_TRUE(ShortCutToAccelerator(scShift | scAlt | (platform::VK_F1 + 11), key, mods));
  EXPECT_EQ(key, static_cast<guint>(GDK_KEY_F12));
  EXPECT_EQ(mods, GDK_SHIFT_MASK | GDK_MOD1_MASK);
  ASSERT_TRUE(ShortCutToAccelerator(scCtrl | '0', key, mods));
  EXPECT_EQ(key, static_cast<guint>(GDK_KEY_0));
  ASSERT_TRUE(ShortCutToAccelerator(platform::VK_DELETE, key, mods));
  EXPECT_EQ(key, static_cast<guint>(GDK_KEY_Delete));
  EXPECT_FALSE(ShortCutToAccelerator(0, key, mods));
  EXPECT_FALSE(ShortCutToAccelerator(scCtrl | 0xFF, key, mods));
}

TEST(MenuBarTest, TheSignatureChangesWithWhatTheBarShows) {
  framework::TMainMenu menu(nullptr);
  auto* file = new framework::TMenuItem(&menu);
  file->SetCaption("&File");
  auto* exit = new framework::TMenuItem(&menu);
  exit->SetCaption("E&xit");
  menu.Items()->Add(file);
  file->Add(exit);
  const std::string before = MenuSignature(menu, 1252, false);
  EXPECT_EQ(MenuSignature(menu, 1252, false), before);
  EXPECT_NE(MenuSignature(menu, 1252, true), before);
  for (auto change : {+[](framework::TMenuItem& i) { i.SetCaption("E&nde"); },
                      +[](framework::TMenuItem& i) { i.SetShortCut(scCtrl | 'Q'); },
                      +[](framework::TMenuItem& i) { i.SetEnabled(false); },
                      +[](framework::TMenuItem& i) { i.SetChecked(true); },
                      +[](framework::TMenuItem& i) { i.SetVisible(false); }}) {
    const std::string previous = MenuSignature(menu, 1252, false);
    change(*exit);
    EXPECT_NE(MenuSignature(menu, 1252, false), previous);
  }
}

}  // namespace
}  // namespace lx::screen
