#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/WindowListener.h"

namespace lx::platform {
namespace {

// Writes each change as one line, with what the window holds at that moment.
class Recorder : public WindowListener {
 public:
  std::vector<std::string> log;

  void WindowCreated(HWND window) override { Add("created " + GetWindowText(window)); }
  void WindowDestroying(HWND window) override {
    Add("destroying " + GetWindowText(window) + (IsWindow(window) ? "" : " (gone)"));
  }
  void WindowMoved(HWND window) override {
    RECT rect;
    GetWindowRect(window, rect);
    Add("moved " + GetWindowText(window) + " " + std::to_string(rect.left) + "," +
        std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
        std::to_string(rect.bottom));
  }
  void WindowTextChanged(HWND window) override { Add("text " + GetWindowText(window)); }
  void WindowShown(HWND window, bool visible) override {
    Add((visible ? "shown " : "hidden ") + GetWindowText(window));
  }
  void WindowStyleChanged(HWND window, int index) override {
    Add((index == GWL_EXSTYLE ? "exstyle " : "style ") + GetWindowText(window));
  }
  void WindowInvalidated(HWND window) override { Add("invalidated " + GetWindowText(window)); }
  void MenuChanged(HMENU menu) override { Add("menu " + std::to_string(GetMenuItemCount(menu))); }

 private:
  void Add(std::string line) { log.push_back(std::move(line)); }
};

class WindowListenerTest : public ::testing::Test {
 protected:
  void SetUp() override { AddWindowListener(&recorder_); }
  void TearDown() override { RemoveWindowListener(&recorder_); }

  std::vector<std::string> Take() { return std::exchange(recorder_.log, {}); }

  Recorder recorder_;
};

TEST_F(WindowListenerTest, CreationAndDestructionAreToldChildrenFirstWhileReadable) {
  const HWND form = CreateWindowEx(0, "TForm", "Form", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, 0);
  const HWND button = CreateWindowEx(0, "TButton", "OK", WS_CHILD, 5, 5, 50, 20, form);
  const HWND owned = CreateWindowEx(0, "TForm", "Owned", 0, 0, 0, 10, 10, form);
  ASSERT_NE(button, 0u);
  EXPECT_EQ(Take(), (std::vector<std::string>{"created Form", "created OK", "created Owned"}));

  DestroyWindow(form);
  EXPECT_EQ(Take(),
            (std::vector<std::string>{"destroying OK", "destroying Owned", "destroying Form"}));
  EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowListenerTest, PlacementTextAndStylesAreToldOnlyWhenTheyChange) {
  const HWND form = CreateWindowEx(0, "TForm", "Form", 0, 0, 0, 200, 100, 0);
  const HWND edit = CreateWindowEx(0, "TEdit", "", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, form);
  Take();

  SetWindowPos(edit, 0, 145, 5, 50, 20, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowText(edit, "abc");
  SetWindowText(edit, "abc");
  SetWindowLong(edit, GWL_EXSTYLE, static_cast<LONG>(WS_EX_RTLREADING));
  SetWindowLong(edit, GWL_EXSTYLE, static_cast<LONG>(WS_EX_RTLREADING));
  SetWindowLong(edit, GWL_STYLE, static_cast<LONG>(WS_CHILD | WS_VISIBLE | WS_DISABLED));
  EXPECT_EQ(Take(), (std::vector<std::string>{"moved  145,5,195,25", "text abc", "exstyle abc",
                                              "style abc"}));

  ShowWindow(form, SW_SHOW);
  ShowWindow(form, SW_SHOW);
  SetWindowPos(form, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW);
  SetWindowLong(form, GWL_STYLE, static_cast<LONG>(WS_VISIBLE));
  EXPECT_EQ(Take(), (std::vector<std::string>{"shown Form", "hidden Form", "moved Form 0,0,200,100",
                                              "style Form", "shown Form"}));

  ShowWindow(form, SW_SHOWMAXIMIZED);
  EXPECT_EQ(Take(), (std::vector<std::string>{"moved Form 0,0,1024,768"}));
  EXPECT_TRUE(InvalidateRect(edit));
  EXPECT_EQ(Take(), (std::vector<std::string>{"invalidated abc"}));
  DestroyWindow(form);
}

TEST_F(WindowListenerTest, FailedCallsTellNothing) {
  const HWND stale = CreateWindowEx(0, "TForm", "Gone", 0, 0, 0, 10, 10, 0);
  DestroyWindow(stale);
  Take();
  SetWindowPos(stale, 0, 1, 1, 1, 1, 0);
  SetWindowText(stale, "x");
  ShowWindow(stale, SW_SHOW);
  SetWindowLong(stale, GWL_STYLE, 0);
  EXPECT_FALSE(InvalidateRect(stale));
  DestroyWindow(stale);
  EXPECT_EQ(CreateWindowEx(0, "TButton", "", WS_CHILD, 0, 0, 1, 1, 0), 0u);
  AppendMenu(0, MF_STRING, 1, "x");
  EXPECT_TRUE(Take().empty());
}

TEST_F(WindowListenerTest, MenuChangesAreTold) {
  const HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, 1, "&Open");
  MENUITEMINFO info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<char*>("&Ouvrir");
  SetMenuItemInfo(menu, 0, true, info);
  DestroyMenu(menu);
  EXPECT_EQ(Take(), (std::vector<std::string>{"menu 0", "menu 1", "menu 1", "menu -1"}));
}

// A listener that leaves while being told; the others are still told, it is not told again.
class Leaver : public WindowListener {
 public:
  int told = 0;
  void WindowCreated(HWND) override {
    ++told;
    RemoveWindowListener(this);
  }
};

TEST_F(WindowListenerTest, AListenerMayLeaveWhileBeingToldAndIsAddedOnce) {
  Leaver leaver;
  AddWindowListener(&leaver);
  AddWindowListener(&leaver);
  AddWindowListener(&recorder_);
  const HWND first = CreateWindowEx(0, "TForm", "One", 0, 0, 0, 1, 1, 0);
  const HWND second = CreateWindowEx(0, "TForm", "Two", 0, 0, 0, 1, 1, 0);
  EXPECT_EQ(leaver.told, 1);
  EXPECT_EQ(Take(), (std::vector<std::string>{"created One", "created Two"}));
  DestroyWindow(first);
  DestroyWindow(second);
}

TEST(WindowListenerNone, WithoutListenersWindowsBehaveAsBefore) {
  const HWND form = CreateWindowEx(0, "TForm", "Form", 0, 0, 0, 20, 10, 0);
  EXPECT_TRUE(SetWindowText(form, "New"));
  EXPECT_EQ(GetWindowText(form), "New");
  EXPECT_TRUE(DestroyWindow(form));
}

}  // namespace
}  // namespace lx::platform
