#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/Windows.h"

namespace lx::platform {
namespace {

struct SystemMenuItem {
  UINT id;
  UINT type;
  std::string text;
  friend bool operator==(const SystemMenuItem&, const SystemMenuItem&) = default;
};

std::vector<SystemMenuItem> ItemsOf(HMENU menu) {
  std::vector<SystemMenuItem> items;
  for (int position = 0; position < GetMenuItemCount(menu); ++position) {
    std::array<char, 256> buffer{};
    MENUITEMINFO info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = buffer.data();
    info.cch = buffer.size();
    EXPECT_TRUE(GetMenuItemInfo(menu, static_cast<UINT>(position), true, info));
    items.push_back({info.wID, info.fType, buffer.data()});
  }
  return items;
}

std::vector<HWND> ZOrder(HWND first) {
  std::vector<HWND> order;
  for (HWND window = GetWindow(first, GW_HWNDFIRST); window != 0;
       window = GetWindow(window, GW_HWNDNEXT))
    order.push_back(window);
  return order;
}

RECT RectOf(HWND window) {
  RECT rect;
  EXPECT_TRUE(GetWindowRect(window, rect));
  return rect;
}

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = CreateWindowEx(0, "TForm1", "Form1", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 50, 400,
                           300, 0);
    ASSERT_NE(form_, 0u);
  }
  void TearDown() override { DestroyWindow(form_); }

  HWND Child(int x, int y, int width, int height, HWND parent = 0) {
    return CreateWindowEx(0, "TButton", "", WS_CHILD | WS_VISIBLE, x, y, width, height,
                          parent == 0 ? form_ : parent);
  }

  HWND form_ = 0;
};

TEST_F(WindowsTest, CreatesAndDestroysWindowsWithTheirChildrenAndOwnedWindows) {
  const HWND button = Child(10, 20, 75, 25);
  const HWND inner = Child(1, 1, 5, 5, button);
  const HWND dialog = CreateWindowEx(0, "TDialog", "Owned", WS_POPUP, 0, 0, 10, 10, form_);
  EXPECT_TRUE(IsWindow(button) && IsWindow(inner) && IsWindow(dialog));
  EXPECT_EQ(GetParent(button), form_);
  EXPECT_EQ(GetParent(dialog), 0u) << "an owner is not a parent";
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), form_);
  EXPECT_EQ(GetWindow(form_, GW_CHILD), button);
  EXPECT_EQ(GetClassName(button), "TButton");
  EXPECT_EQ(GetWindowText(form_), "Form1");

  EXPECT_EQ(CreateWindowEx(0, "TButton", "", WS_CHILD, 0, 0, 1, 1, 0), 0u)
      << "a child window needs a parent";
  EXPECT_EQ(CreateWindowEx(0, "TButton", "", WS_CHILD, 0, 0, 1, 1, 0xDEAD), 0u);
  EXPECT_EQ(CreateWindowEx(0, "TForm", "", 0, 0, 0, 1, 1, 0xDEAD), 0u) << "nor an unknown owner";

  ASSERT_TRUE(DestroyWindow(form_));
  EXPECT_FALSE(IsWindow(form_) || IsWindow(button) || IsWindow(inner) || IsWindow(dialog));
  EXPECT_FALSE(DestroyWindow(form_));
  EXPECT_FALSE(SetWindowText(form_, "x"));
  EXPECT_EQ(GetSystemMenu(form_, false), 0u);
}

TEST_F(WindowsTest, SystemMenuHoldsTheStandardItemsUntilReverted) {
  const std::vector<SystemMenuItem> standard{
      {SC_RESTORE, MFT_STRING, "&Restore"},     {SC_MOVE, MFT_STRING, "&Move"},
      {SC_SIZE, MFT_STRING, "&Size"},           {SC_MINIMIZE, MFT_STRING, "Mi&nimize"},
      {SC_MAXIMIZE, MFT_STRING, "Ma&ximize"},   {0, MFT_SEPARATOR, ""},
      {SC_CLOSE, MFT_STRING, "&Close\tAlt+F4"},
  };
  const HMENU menu = GetSystemMenu(form_, false);
  ASSERT_NE(menu, 0u);
  EXPECT_EQ(ItemsOf(menu), standard);
  EXPECT_EQ(GetSystemMenu(form_, false), menu) << "the window keeps its copy";

  std::string text = "&Fermer\tAlt+F4";
  MENUITEMINFO info;
  info.fMask = MIIM_ID | MIIM_STRING;
  info.wID = SC_CLOSE;
  info.dwTypeData = text.data();
  ASSERT_TRUE(SetMenuItemInfo(menu, 6, true, info));
  EXPECT_EQ(ItemsOf(GetSystemMenu(form_, false)).back().text, text);

  const HWND other = CreateWindowEx(0, "TForm2", "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, 0);
  EXPECT_EQ(ItemsOf(GetSystemMenu(other, false)), standard) << "each window has its own copy";
  DestroyWindow(other);

  EXPECT_EQ(GetSystemMenu(form_, true), 0u);
  EXPECT_FALSE(IsMenu(menu));
  EXPECT_EQ(ItemsOf(GetSystemMenu(form_, false)), standard);
}

TEST_F(WindowsTest, SetWindowPosMovesSizesAndRefreshesTheFrame) {
  const HWND button = Child(10, 20, 75, 25);
  EXPECT_EQ(RectOf(button), (RECT{110, 70, 185, 95})) << "screen coordinates";
  ASSERT_TRUE(SetWindowPos(button, 0, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
  EXPECT_EQ(RectOf(button), (RECT{130, 90, 205, 115}));
  ASSERT_TRUE(SetWindowPos(button, 0, 0, 0, 50, -5, SWP_NOMOVE | SWP_NOZORDER));
  EXPECT_EQ(RectOf(button), (RECT{130, 90, 180, 90})) << "a negative size counts as 0";
  EXPECT_EQ(GetFrameRefreshCount(button), 0);

  // The frame refresh after a change of reading direction: no move, no size.
  ASSERT_TRUE(SetWindowPos(form_, 0, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED));
  ASSERT_TRUE(SetWindowPos(form_, 0, 0, 0, 0, 0, 0x23));
  EXPECT_EQ(GetFrameRefreshCount(form_), 2);
  EXPECT_EQ(RectOf(form_), (RECT{100, 50, 500, 350}));
  RECT client;
  ASSERT_TRUE(GetClientRect(form_, client));
  EXPECT_EQ(client, (RECT{0, 0, 400, 300}));

  EXPECT_FALSE(SetWindowPos(0xDEAD, 0, 0, 0, 0, 0, SWP_FRAMECHANGED));
  EXPECT_EQ(GetFrameRefreshCount(0xDEAD), 0);
}

TEST_F(WindowsTest, SetWindowPosOrdersShowsAndActivates) {
  const HWND a = Child(0, 0, 1, 1);
  const HWND b = Child(0, 0, 1, 1);
  const HWND c = Child(0, 0, 1, 1);
  EXPECT_EQ(ZOrder(a), (std::vector<HWND>{c, b, a})) << "new windows go on top";
  ASSERT_TRUE(SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  ASSERT_TRUE(SetWindowPos(a, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_EQ(ZOrder(a), (std::vector<HWND>{b, a, c}));
  ASSERT_TRUE(SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_EQ(ZOrder(a), (std::vector<HWND>{c, b, a}));
  ASSERT_TRUE(SetWindowPos(c, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER));
  EXPECT_EQ(ZOrder(a), (std::vector<HWND>{c, b, a})) << "SWP_NOZORDER keeps the order";

  // Only a sibling may be named; a refused call changes nothing.
  EXPECT_FALSE(SetWindowPos(a, form_, 5, 5, 0, 0, SWP_NOSIZE | SWP_FRAMECHANGED));
  EXPECT_EQ(RectOf(a).left, 100);
  EXPECT_EQ(GetFrameRefreshCount(a), 0);

  ASSERT_TRUE(SetWindowPos(b, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW));
  EXPECT_FALSE(IsWindowVisible(b));
  ASSERT_TRUE(SetWindowPos(b, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW));
  EXPECT_TRUE(IsWindowVisible(b));

  const HWND second = CreateWindowEx(0, "TForm2", "", WS_VISIBLE, 0, 0, 10, 10, 0);
  ASSERT_TRUE(SetWindowPos(second, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
  EXPECT_NE(GetActiveWindow(), second);
  ASSERT_TRUE(SetWindowPos(second, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_EQ(GetActiveWindow(), second);
  ASSERT_TRUE(SetWindowPos(a, 0, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
  EXPECT_EQ(GetActiveWindow(), second) << "child windows are never active";
  DestroyWindow(second);
  EXPECT_EQ(GetActiveWindow(), 0u);
}

TEST_F(WindowsTest, PlacementKeepsTheNormalRectangleAcrossStates) {
  const HWND client = Child(0, 0, 400, 300);
  const HWND child = Child(10, 10, 200, 100, client);
  ASSERT_TRUE(ShowWindow(child, SW_SHOWMAXIMIZED));
  EXPECT_TRUE(IsZoomed(child));
  EXPECT_TRUE((GetWindowLong(child, GWL_STYLE) & WS_MAXIMIZE) != 0);
  RECT rect;
  ASSERT_TRUE(GetClientRect(child, rect));
  EXPECT_EQ(rect, (RECT{0, 0, 400, 300})) << "a maximised child fills its parent";

  WINDOWPLACEMENT placement;
  ASSERT_TRUE(GetWindowPlacement(child, placement));
  EXPECT_EQ(placement.showCmd, SW_SHOWMAXIMIZED);
  EXPECT_EQ(placement.rcNormalPosition, (RECT{10, 10, 210, 110}));

  // Putting a remembered normal rectangle back keeps the window maximised.
  placement.rcNormalPosition = RECT{20, 30, 120, 90};
  ASSERT_TRUE(SetWindowPlacement(child, placement));
  EXPECT_TRUE(IsZoomed(child));
  ASSERT_TRUE(ShowWindow(child, SW_RESTORE));
  EXPECT_EQ(RectOf(child), (RECT{120, 80, 220, 140}));

  ASSERT_TRUE(ShowWindow(child, SW_SHOWMAXIMIZED));
  ASSERT_TRUE(ShowWindow(child, SW_MINIMIZE));
  EXPECT_TRUE(IsIconic(child));
  ASSERT_TRUE(GetWindowPlacement(child, placement));
  EXPECT_EQ(placement.showCmd, SW_SHOWMINIMIZED);
  EXPECT_EQ(placement.flags & WPF_RESTORETOMAXIMIZED, WPF_RESTORETOMAXIMIZED);
  ASSERT_TRUE(ShowWindow(child, SW_RESTORE));
  EXPECT_TRUE(IsZoomed(child)) << "restoring goes back to where minimising came from";

  placement.showCmd = SW_SHOWNORMAL;
  placement.rcNormalPosition = RECT{1, 2, 3, 4};
  ASSERT_TRUE(SetWindowPlacement(child, placement));
  EXPECT_FALSE(IsZoomed(child) || IsIconic(child));
  EXPECT_EQ(RectOf(child), (RECT{101, 52, 103, 54}));
  EXPECT_EQ(GetWindowLong(child, GWL_STYLE) & (WS_MAXIMIZE | WS_MINIMIZE), 0);
  EXPECT_FALSE(GetWindowPlacement(0xDEAD, placement));

  const HWND born = CreateWindowEx(0, "TChild", "", WS_CHILD | WS_MAXIMIZE, 5, 5, 50, 40, client);
  EXPECT_TRUE(IsZoomed(born));
  ASSERT_TRUE(GetWindowPlacement(born, placement));
  EXPECT_EQ(placement.rcNormalPosition, (RECT{5, 5, 55, 45}));
}

TEST_F(WindowsTest, ShowWindowReportsTheFormerVisibility) {
  const HWND hidden = CreateWindowEx(0, "TForm2", "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, 0);
  EXPECT_FALSE(ShowWindow(hidden, SW_SHOWNOACTIVATE));
  EXPECT_TRUE(IsWindowVisible(hidden));
  EXPECT_NE(GetActiveWindow(), hidden);
  EXPECT_TRUE(ShowWindow(hidden, SW_SHOW));
  EXPECT_EQ(GetActiveWindow(), hidden);
  EXPECT_TRUE(ShowWindow(hidden, SW_HIDE));
  EXPECT_EQ(GetActiveWindow(), 0u) << "a hidden window is not active";

  const HWND button = Child(0, 0, 1, 1);
  ShowWindow(form_, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(button)) << "visible only with its parent";
  DestroyWindow(hidden);
}

TEST_F(WindowsTest, ExtendedStylesCarryTheReadingDirection) {
  constexpr DWORD kRightToLeft = WS_EX_RIGHT | WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
  EXPECT_EQ(SetWindowLong(form_, GWL_EXSTYLE, kRightToLeft), 0);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLong(form_, GWL_EXSTYLE)), kRightToLeft);
  EXPECT_EQ(static_cast<DWORD>(SetWindowLong(form_, GWL_EXSTYLE, WS_EX_LAYOUTRTL)), kRightToLeft);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLong(form_, GWL_EXSTYLE)), WS_EX_LAYOUTRTL);

  // The parent link and the show state stay what they are.
  const HWND button = Child(0, 0, 1, 1);
  SetWindowLong(button, GWL_STYLE, static_cast<LONG>(WS_MAXIMIZE | WS_BORDER));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLong(button, GWL_STYLE)), WS_CHILD | WS_BORDER);
  EXPECT_FALSE(IsZoomed(button));

  EXPECT_EQ(GetWindowLong(form_, -4), 0);
  EXPECT_EQ(SetWindowLong(form_, -4, 1), 0);
  EXPECT_EQ(GetWindowLong(0xDEAD, GWL_EXSTYLE), 0);
}

}  // namespace
}  // namespace lx::platform
