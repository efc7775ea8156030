#include "platform/Windows.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/WindowListener.h"

namespace lx::platform {

namespace {

// Where windows go that have no screen of their own to fill or park on.
constexpr RECT kScreen{0, 0, 1024, 768};
constexpr POINT kParkedPosition{-32000, -32000};
constexpr LONG kMinimizedWidth = 160;
constexpr LONG kMinimizedHeight = 28;

struct Window {
  HWND parent = 0;  // child windows only
  HWND owner = 0;   // top-level windows only
  std::string className;
  std::string text;
  DWORD style = 0;
  DWORD exStyle = 0;
  RECT rect;  // relative to the parent's client area
  WINDOWPLACEMENT placement;
  std::vector<HWND> children;  // z-order, topmost first
  HMENU systemMenu = 0;
  int frameRefreshes = 0;
};

struct WindowTable {
  std::unordered_map<HWND, Window> windows;  // found by handle on every call
  std::vector<HWND> topLevel;                // z-order, topmost first
  HWND active = 0;
  // Starts clear of the special insert-after values 0 and 1.
  HWND lastHandle = 0x100;
};

WindowTable& Table() {
  static WindowTable table;
  return table;
}

Window* Find(HWND window) {
  const auto found = Table().windows.find(window);
  return found == Table().windows.end() ? nullptr : &found->second;
}

bool IsChild(const Window& window) {
  return (window.style & WS_CHILD) != 0;
}

std::vector<HWND>& SiblingsOf(const Window& window) {
  return IsChild(window) ? Find(window.parent)->children : Table().topLevel;
}

LONG Width(const RECT& rect) {
  return rect.right - rect.left;
}

LONG Height(const RECT& rect) {
  return rect.bottom - rect.top;
}

RECT MakeRect(int x, int y, int width, int height) {
  return RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

RECT MaximizedRect(const Window& window) {
  if (!IsChild(window)) return kScreen;
  const RECT& parent = Find(window.parent)->rect;
  return RECT{0, 0, Width(parent), Height(parent)};
}

RECT MinimizedRect(const Window& window) {
  const POINT& wanted = window.placement.ptMinPosition;
  const POINT at = wanted == POINT{-1, -1} ? kParkedPosition : wanted;
  return RECT{at.x, at.y, at.x + kMinimizedWidth, at.y + kMinimizedHeight};
}

// Puts the window in a show state (SW_SHOWNORMAL, SW_SHOWMINIMIZED or
// SW_SHOWMAXIMIZED): its rectangle and its state style bits follow.
void EnterState(Window& window, UINT state) {
  if (state == SW_SHOWMINIMIZED && window.placement.showCmd == SW_SHOWMAXIMIZED) {
    window.placement.flags |= WPF_RESTORETOMAXIMIZED;
  } else if (state != SW_SHOWMINIMIZED) {
    window.placement.flags &= ~WPF_RESTORETOMAXIMIZED;
  }
  window.placement.showCmd = state;
  window.style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
  if (state == SW_SHOWMINIMIZED) {
    window.style |= WS_MINIMIZE;
    window.rect = MinimizedRect(window);
  } else if (state == SW_SHOWMAXIMIZED) {
    window.style |= WS_MAXIMIZE;
    window.rect = MaximizedRect(window);
  } else {
    window.rect = window.placement.rcNormalPosition;
  }
}

void SetVisible(HWND handle, Window& window, bool visible) {
  const bool was = (window.style & WS_VISIBLE) != 0;
  if (visible) {
    window.style |= WS_VISIBLE;
  } else {
    window.style &= ~WS_VISIBLE;
    if (Table().active == handle) Table().active = 0;
  }
  if (was != visible) detail::NotifyWindowShown(handle, visible);
}

void Activate(HWND handle, const Window& window) {
  if (!IsChild(window) && (window.style & WS_VISIBLE) != 0) Table().active = handle;
}

void Deactivate(HWND handle) {
  if (Table().active == handle) Table().active = 0;
}

void Unlink(HWND handle, const Window& window) {
  std::vector<HWND>& siblings = SiblingsOf(window);
  siblings.erase(std::find(siblings.begin(), siblings.end(), handle));
}

std::vector<HWND> OwnedBy(HWND owner) {
  std::vector<HWND> owned;
  for (const auto& [handle, window] : Table().windows)
    if (window.owner == owner) owned.push_back(handle);
  std::sort(owned.begin(), owned.end());  // oldest first
  return owned;
}

void Destroy(HWND handle) {
  Window* window = Find(handle);
  if (window == nullptr) return;
  for (HWND child : std::vector<HWND>(window->children))
    Destroy(child);
  for (HWND owned : OwnedBy(handle))
    Destroy(owned);
  detail::NotifyWindowDestroying(handle);
  window = Find(handle);
  if (window->systemMenu != 0) DestroyMenu(window->systemMenu);
  Unlink(handle, *window);
  Deactivate(handle);
  Table().windows.erase(handle);
}

bool IsSpecialInsertAfter(HWND insertAfter) {
  return insertAfter == HWND_TOP || insertAfter == HWND_BOTTOM || insertAfter == HWND_TOPMOST ||
         insertAfter == HWND_NOTOPMOST;
}

bool CanInsertAfter(const Window& window, HWND insertAfter) {
  if (IsSpecialInsertAfter(insertAfter)) return true;
  const std::vector<HWND>& siblings = SiblingsOf(window);
  return std::find(siblings.begin(), siblings.end(), insertAfter) != siblings.end();
}

void Reorder(HWND handle, Window& window, HWND insertAfter) {
  if (insertAfter == handle) return;
  std::vector<HWND>& siblings = SiblingsOf(window);
  siblings.erase(std::find(siblings.begin(), siblings.end(), handle));
  if (insertAfter == HWND_BOTTOM) {
    siblings.push_back(handle);
  } else if (IsSpecialInsertAfter(insertAfter)) {
    siblings.insert(siblings.begin(), handle);
  } else {
    siblings.insert(std::find(siblings.begin(), siblings.end(), insertAfter) + 1, handle);
  }
  if (IsChild(window)) return;
  if (insertAfter == HWND_TOPMOST) window.exStyle |= WS_EX_TOPMOST;
  if (insertAfter == HWND_NOTOPMOST || insertAfter == HWND_BOTTOM) window.exStyle &= ~WS_EX_TOPMOST;
}

void MoveAndSize(Window& window, int x, int y, int cx, int cy, UINT flags) {
  RECT rect = window.rect;
  if ((flags & SWP_NOMOVE) == 0) rect = MakeRect(x, y, Width(rect), Height(rect));
  if ((flags & SWP_NOSIZE) == 0) rect = MakeRect(rect.left, rect.top, cx, cy);
  window.rect = rect;
  if (window.placement.showCmd == SW_SHOWNORMAL) window.placement.rcNormalPosition = rect;
}

HWND Neighbour(const std::vector<HWND>& siblings, HWND handle, int step) {
  const auto at = std::find(siblings.begin(), siblings.end(), handle);
  const auto index = (at - siblings.begin()) + step;
  if (index < 0 || index >= static_cast<std::ptrdiff_t>(siblings.size())) return 0;
  return siblings[static_cast<std::size_t>(index)];
}

// The show state a command puts the window in; nothing for an unknown command.
std::optional<UINT> StateAfter(UINT command, const WINDOWPLACEMENT& placement) {
  const bool minimized = placement.showCmd == SW_SHOWMINIMIZED;
  const bool restoresMaximized = minimized && (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
  switch (command) {
    case SW_SHOWNORMAL:
    case SW_SHOWNOACTIVATE:
      return SW_SHOWNORMAL;
    case SW_RESTORE:
      return restoresMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      return SW_SHOWMINIMIZED;
    case SW_SHOWMAXIMIZED:
      return SW_SHOWMAXIMIZED;
    case SW_SHOW:
    case SW_SHOWNA:
      return placement.showCmd;
    default:
      return std::nullopt;
  }
}

bool Activates(UINT command) {
  return command != SW_SHOWNOACTIVATE && command != SW_SHOWNA && command != SW_MINIMIZE &&
         command != SW_SHOWMINNOACTIVE;
}

HMENU StandardSystemMenu() {
  const HMENU menu = CreatePopupMenu();
  AppendMenu(menu, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenu(menu, MF_STRING, SC_MOVE, "&Move");
  AppendMenu(menu, MF_STRING, SC_SIZE, "&Size");
  AppendMenu(menu, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenu(menu, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenu(menu, MF_SEPARATOR, 0, "");
  AppendMenu(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
  return menu;
}

}  // namespace

HWND CreateWindowEx(DWORD exStyle, std::string_view className, std::string_view windowName,
                    DWORD style, int x, int y, int width, int height, HWND parent) {
  const bool child = (style & WS_CHILD) != 0;
  const bool unknownParent = parent != 0 && Find(parent) == nullptr;
  if (unknownParent || (child && parent == 0)) return 0;
  WindowTable& table = Table();
  const HWND handle = ++table.lastHandle;
  Window& window = table.windows[handle];
  (child ? window.parent : window.owner) = parent;
  window.className = std::string(className);
  window.text = std::string(windowName);
  window.style = style & ~(WS_MINIMIZE | WS_MAXIMIZE);
  window.exStyle = exStyle;
  window.placement.rcNormalPosition = MakeRect(x, y, width, height);
  SiblingsOf(window).insert(SiblingsOf(window).begin(), handle);
  const bool minimized = (style & WS_MINIMIZE) != 0;
  const bool maximized = (style & WS_MAXIMIZE) != 0;
  EnterState(window, minimized ? SW_SHOWMINIMIZED : maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  detail::NotifyWindowCreated(handle);
  return handle;
}

bool DestroyWindow(HWND window) {
  if (Find(window) == nullptr) return false;
  Destroy(window);
  return true;
}

bool IsWindow(HWND window) {
  return Find(window) != nullptr;
}

HWND GetParent(HWND window) {
  const Window* found = Find(window);
  return found == nullptr ? 0 : found->parent;
}

HWND GetWindow(HWND window, UINT relation) {
  const Window* found = Find(window);
  if (found == nullptr) return 0;
  const std::vector<HWND>& siblings = SiblingsOf(*found);
  switch (relation) {
    case GW_HWNDFIRST:
      return siblings.front();
    case GW_HWNDLAST:
      return siblings.back();
    case GW_HWNDNEXT:
      return Neighbour(siblings, window, 1);
    case GW_HWNDPREV:
      return Neighbour(siblings, window, -1);
    case GW_OWNER:
      return found->owner;
    case GW_CHILD:
      return found->children.empty() ? 0 : found->children.front();
    default:
      return 0;
  }
}

std::string GetClassName(HWND window) {
  const Window* found = Find(window);
  return found == nullptr ? std::string() : found->className;
}

std::string GetWindowText(HWND window) {
  const Window* found = Find(window);
  return found == nullptr ? std::string() : found->text;
}

bool SetWindowText(HWND window, std::string_view text) {
  Window* found = Find(window);
  if (found == nullptr) return false;
  if (found->text == text) return true;
  found->text = std::string(text);
  detail::NotifyWindowTextChanged(window);
  return true;
}

bool GetWindowRect(HWND window, RECT& rect) {
  const Window* found = Find(window);
  if (found == nullptr) return false;
  RECT origin;
  if (IsChild(*found)) GetWindowRect(found->parent, origin);
  rect = found->rect;
  rect.left += origin.left;
  rect.right += origin.left;
  rect.top += origin.top;
  rect.bottom += origin.top;
  return true;
}

bool GetClientRect(HWND window, RECT& rect) {
  const Window* found = Find(window);
  if (found == nullptr) return false;
  rect = RECT{0, 0, Width(found->rect), Height(found->rect)};
  return true;
}

bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* found = Find(window);
  if (found == nullptr) return false;
  const bool reorders = (flags & SWP_NOZORDER) == 0;
  if (reorders && !CanInsertAfter(*found, insertAfter)) return false;
  MoveAndSize(*found, x, y, cx, cy, flags);
  if (reorders) Reorder(window, *found, insertAfter);
  if ((flags & SWP_SHOWWINDOW) != 0) SetVisible(window, *found, true);
  if ((flags & SWP_HIDEWINDOW) != 0) SetVisible(window, *found, false);
  if ((flags & SWP_FRAMECHANGED) != 0) ++found->frameRefreshes;
  if ((flags & SWP_NOACTIVATE) == 0) Activate(window, *found);
  detail::NotifyWindowMoved(window);
  return true;
}

bool ShowWindow(HWND window, UINT command) {
  Window* found = Find(window);
  if (found == nullptr) return false;
  const bool wasVisible = (found->style & WS_VISIBLE) != 0;
  if (command == SW_HIDE) {
    SetVisible(window, *found, false);
    return wasVisible;
  }
  const std::optional<UINT> state = StateAfter(command, found->placement);
  if (!state) return wasVisible;
  if (*state != found->placement.showCmd) {
    EnterState(*found, *state);
    detail::NotifyWindowMoved(window);
  }
  SetVisible(window, *found, true);
  if (Activates(command)) {
    Activate(window, *found);
  } else if (*state == SW_SHOWMINIMIZED) {
    Deactivate(window);
  }
  return wasVisible;
}

bool IsWindowVisible(HWND window) {
  const Window* found = Find(window);
  if (found == nullptr || (found->style & WS_VISIBLE) == 0) return false;
  return !IsChild(*found) || IsWindowVisible(found->parent);
}

bool IsIconic(HWND window) {
  const Window* found = Find(window);
  return found != nullptr && found->placement.showCmd == SW_SHOWMINIMIZED;
}

bool IsZoomed(HWND window) {
  const Window* found = Find(window);
  return found != nullptr && found->placement.showCmd == SW_SHOWMAXIMIZED;
}

bool GetWindowPlacement(HWND window, WINDOWPLACEMENT& placement) {
  const Window* found = Find(window);
  if (found == nullptr) return false;
  placement = found->placement;
  return true;
}

bool SetWindowPlacement(HWND window, const WINDOWPLACEMENT& placement) {
  Window* found = Find(window);
  if (found == nullptr) return false;
  found->placement.ptMinPosition = placement.ptMinPosition;
  found->placement.ptMaxPosition = placement.ptMaxPosition;
  found->placement.rcNormalPosition = placement.rcNormalPosition;
  // Re-enter the current state first, so that the rectangle follows the new
  // positions even when the show command keeps the state.
  EnterState(*found, found->placement.showCmd);
  found->placement.flags = placement.flags;
  detail::NotifyWindowMoved(window);
  ShowWindow(window, placement.showCmd);
  return true;
}

LONG GetWindowLong(HWND window, int index) {
  const Window* found = Find(window);
  if (found == nullptr) return 0;
  if (index == GWL_STYLE) return static_cast<LONG>(found->style);
  if (index == GWL_EXSTYLE) return static_cast<LONG>(found->exStyle);
  return 0;
}

LONG SetWindowLong(HWND window, int index, LONG value) {
  Window* found = Find(window);
  if (found == nullptr) return 0;
  const auto bits = static_cast<DWORD>(value);
  if (index == GWL_EXSTYLE) {
    const DWORD old = found->exStyle;
    found->exStyle = bits;
    if (old != bits) detail::NotifyWindowStyleChanged(window, index);
    return static_cast<LONG>(old);
  }
  if (index != GWL_STYLE) return 0;
  // The parent link and the show state are not style bits to be rewritten.
  constexpr DWORD kKept = WS_CHILD | WS_MINIMIZE | WS_MAXIMIZE;
  const DWORD old = found->style;
  found->style = (bits & ~kKept) | (old & kKept);
  if ((found->style & WS_VISIBLE) == 0) Deactivate(window);
  if (found->style != old) detail::NotifyWindowStyleChanged(window, index);
  if (((found->style ^ old) & WS_VISIBLE) != 0)
    detail::NotifyWindowShown(window, (found->style & WS_VISIBLE) != 0);
  return static_cast<LONG>(old);
}

bool InvalidateRect(HWND window) {
  if (Find(window) == nullptr) return false;
  detail::NotifyWindowInvalidated(window);
  return true;
}

HWND GetActiveWindow() {
  return Table().active;
}

int GetFrameRefreshCount(HWND window) {
  const Window* found = Find(window);
  return found == nullptr ? 0 : found->frameRefreshes;
}

HMENU GetSystemMenu(HWND window, bool revert) {
  Window* found = Find(window);
  if (found == nullptr) return 0;
  if (revert) {
    if (found->systemMenu != 0) DestroyMenu(found->systemMenu);
    found->systemMenu = 0;
    return 0;
  }
  if (found->systemMenu == 0 || !IsMenu(found->systemMenu))
    found->systemMenu = StandardSystemMenu();
  return found->systemMenu;
}

}  // namespace lx::platform
