// Windows of the windowing layer: handles, parents and z-order, position and
// size, show state and placement, styles, and the system menu of a window.
//
// The calls keep the shape and the rules of their Windows namesakes. Every
// state the engine and the framework read or write is kept here, so that it
// can be checked whether or not anything is drawn; frame refreshes are
// counted for the same reason. Positions of child windows are relative to
// their parent's client area, those of top-level windows to the screen.
// A window here has no frame of its own: its client area is its whole size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Menus.h"

namespace lx::platform {

using LONG = std::int32_t;
using DWORD = std::uint32_t;
/// A window; 0 is no window. Handles are never reused, so a stale one just fails.
using HWND = std::uintptr_t;

struct POINT {
  LONG x = 0;
  LONG y = 0;
  friend bool operator==(const POINT&, const POINT&) = default;
};

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
  friend bool operator==(const RECT&, const RECT&) = default;
};

// Window styles (GWL_STYLE).
inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_MINIMIZE = 0x20000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_MAXIMIZE = 0x01000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Extended window styles (GWL_EXSTYLE); the last four make up right-to-left layout.
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
inline constexpr DWORD WS_EX_MDICHILD = 0x00000040;
inline constexpr DWORD WS_EX_LEFT = 0x00000000;
inline constexpr DWORD WS_EX_LTRREADING = 0x00000000;
inline constexpr DWORD WS_EX_RIGHTSCROLLBAR = 0x00000000;
inline constexpr DWORD WS_EX_RIGHT = 0x00001000;
inline constexpr DWORD WS_EX_RTLREADING = 0x00002000;
inline constexpr DWORD WS_EX_LEFTSCROLLBAR = 0x00004000;
inline constexpr DWORD WS_EX_LAYOUTRTL = 0x00400000;

// Indexes of GetWindowLong and SetWindowLong.
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;

// Show commands (ShowWindow, WINDOWPLACEMENT::showCmd).
inline constexpr UINT SW_HIDE = 0;
inline constexpr UINT SW_SHOWNORMAL = 1;
inline constexpr UINT SW_NORMAL = 1;
inline constexpr UINT SW_SHOWMINIMIZED = 2;
inline constexpr UINT SW_SHOWMAXIMIZED = 3;
inline constexpr UINT SW_MAXIMIZE = 3;
inline constexpr UINT SW_SHOWNOACTIVATE = 4;
inline constexpr UINT SW_SHOW = 5;
inline constexpr UINT SW_MINIMIZE = 6;
inline constexpr UINT SW_SHOWMINNOACTIVE = 7;
inline constexpr UINT SW_SHOWNA = 8;
inline constexpr UINT SW_RESTORE = 9;

// SetWindowPos flags.
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOREDRAW = 0x0008;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_DRAWFRAME = SWP_FRAMECHANGED;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline constexpr UINT SWP_NOCOPYBITS = 0x0100;
inline constexpr UINT SWP_NOOWNERZORDER = 0x0200;
inline constexpr UINT SWP_NOREPOSITION = SWP_NOOWNERZORDER;
inline constexpr UINT SWP_NOSENDCHANGING = 0x0400;

// Insert-after values of SetWindowPos besides a sibling's handle.
inline constexpr HWND HWND_TOP = 0;
inline constexpr HWND HWND_BOTTOM = 1;
inline constexpr HWND HWND_TOPMOST = static_cast<HWND>(-1);
inline constexpr HWND HWND_NOTOPMOST = static_cast<HWND>(-2);

// Relations of GetWindow.
inline constexpr UINT GW_HWNDFIRST = 0;
inline constexpr UINT GW_HWNDLAST = 1;
inline constexpr UINT GW_HWNDNEXT = 2;
inline constexpr UINT GW_HWNDPREV = 3;
inline constexpr UINT GW_OWNER = 4;
inline constexpr UINT GW_CHILD = 5;

// Commands of the system menu.
inline constexpr UINT SC_SIZE = 0xF000;
inline constexpr UINT SC_MOVE = 0xF010;
inline constexpr UINT SC_MINIMIZE = 0xF020;
inline constexpr UINT SC_ICON = SC_MINIMIZE;
inline constexpr UINT SC_MAXIMIZE = 0xF030;
inline constexpr UINT SC_ZOOM = SC_MAXIMIZE;
inline constexpr UINT SC_NEXTWINDOW = 0xF040;
inline constexpr UINT SC_PREVWINDOW = 0xF050;
inline constexpr UINT SC_CLOSE = 0xF060;
inline constexpr UINT SC_VSCROLL = 0xF070;
inline constexpr UINT SC_HSCROLL = 0xF080;
inline constexpr UINT SC_MOUSEMENU = 0xF090;
inline constexpr UINT SC_KEYMENU = 0xF100;
inline constexpr UINT SC_ARRANGE = 0xF110;
inline constexpr UINT SC_RESTORE = 0xF120;
inline constexpr UINT SC_TASKLIST = 0xF130;
inline constexpr UINT SC_SCREENSAVE = 0xF140;
inline constexpr UINT SC_HOTKEY = 0xF150;
inline constexpr UINT SC_DEFAULT = 0xF160;
inline constexpr UINT SC_MONITORPOWER = 0xF170;

// WINDOWPLACEMENT flags.
inline constexpr UINT WPF_SETMINPOSITION = 0x0001;
inline constexpr UINT WPF_RESTORETOMAXIMIZED = 0x0002;  // restoring from minimised maximises

/// A window's show state and the positions it takes in each state.
/// `rcNormalPosition` is where the window is when neither minimised nor
/// maximised; it survives minimising and maximising.
struct WINDOWPLACEMENT {
  UINT flags = 0;
  UINT showCmd = SW_SHOWNORMAL;  // SW_SHOWNORMAL, SW_SHOWMINIMIZED or SW_SHOWMAXIMIZED
  POINT ptMinPosition{-1, -1};
  POINT ptMaxPosition{-1, -1};
  RECT rcNormalPosition;
};

/// Creates a window. A WS_CHILD window needs an existing `parent` and lives in
/// its client area; any other window is top-level, and a `parent` given for it
/// is its owner, with which it is destroyed. Returns 0 when the parent or owner
/// is not a window, or a child window has none. WS_MAXIMIZE or WS_MINIMIZE in
/// `style` creates the window in that state, with the given rectangle as its
/// normal position.
HWND CreateWindowEx(DWORD exStyle, std::string_view className, std::string_view windowName,
                    DWORD style, int x, int y, int width, int height, HWND parent);

/// Destroys the window, its children and the windows it owns; false for a
/// handle that is not a window.
bool DestroyWindow(HWND window);
bool IsWindow(HWND window);

/// The parent of a child window; 0 for a top-level window or a bad handle.
HWND GetParent(HWND window);
/// A related window in z-order (first is topmost), the first child, or the owner; 0 when none.
HWND GetWindow(HWND window, UINT relation);
/// The class name given at creation; empty for a bad handle.
std::string GetClassName(HWND window);

std::string GetWindowText(HWND window);
bool SetWindowText(HWND window, std::string_view text);

/// The window's rectangle in screen coordinates.
bool GetWindowRect(HWND window, RECT& rect);
/// The client area: (0, 0, width, height).
bool GetClientRect(HWND window, RECT& rect);

/// Moves, sizes and orders the window and changes its visibility. `x` and `y`
/// are relative to the parent's client area; sizes below 0 count as 0. Without
/// SWP_NOZORDER the window goes behind `insertAfter`, a sibling, or to the top
/// (HWND_TOP, HWND_TOPMOST, HWND_NOTOPMOST) or the bottom (HWND_BOTTOM).
/// Without SWP_NOACTIVATE a top-level window becomes the active window.
/// SWP_FRAMECHANGED refreshes the frame. False for a bad handle or an
/// `insertAfter` that is not a sibling; nothing then changes.
bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

/// Shows, hides, minimises, maximises or restores the window; returns whether
/// it was visible before. A maximised window fills its parent's client area,
/// or the screen for a top-level window.
bool ShowWindow(HWND window, UINT command);
/// True when the window and all its ancestors are visible.
bool IsWindowVisible(HWND window);
bool IsIconic(HWND window);
bool IsZoomed(HWND window);

bool GetWindowPlacement(HWND window, WINDOWPLACEMENT& placement);
/// Sets the normal position, the minimised and maximised positions and the
/// show state; the window's rectangle follows the state it is put in.
bool SetWindowPlacement(HWND window, const WINDOWPLACEMENT& placement);

/// GWL_STYLE or GWL_EXSTYLE; 0 for a bad handle or index.
LONG GetWindowLong(HWND window, int index);
/// Sets GWL_STYLE or GWL_EXSTYLE and returns the old value; 0 (and no change)
/// for a bad handle or index. Changed frame styles show after a frame refresh.
LONG SetWindowLong(HWND window, int index, LONG value);

/// Asks for the window's content to be drawn anew; headless nothing is drawn, and only the
/// listeners (platform/WindowListener.h) are told. False for a bad handle.
bool InvalidateRect(HWND window);

/// The top-level window that SetWindowPos or ShowWindow activated last; 0 when none.
HWND GetActiveWindow();

/// How often the window's frame was refreshed (SWP_FRAMECHANGED); 0 for a bad handle.
int GetFrameRefreshCount(HWND window);

/// The window's own copy of the system menu, made from the standard items on
/// first use: "&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", a
/// separator and "&Close" + tab + "Alt+F4". With `revert` the copy is dropped,
/// so that the next call gives the standard menu again, and 0 is returned.
/// 0 for a bad handle.
HMENU GetSystemMenu(HWND window, bool revert);

}  // namespace lx::platform
