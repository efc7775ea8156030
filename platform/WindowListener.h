// Observers of the windowing layer: whatever shows the windows on a screen
// learns from here what changed, and reads the new state back from
// platform/Windows.h and platform/Menus.h, which stay the one record of it.
//
// Listeners are told after each change, on the thread that made it. They may
// read the windows and menus but must not change them while being told, since
// a change may be half-way through (a window destroyed with its children).
// With no listener registered nothing is told and nothing else changes.
#pragma once

#include "platform/Menus.h"
#include "platform/Windows.h"

namespace lx::platform {

/// What a window or menu change is; one call per change.
class WindowListener {
 public:
  virtual ~WindowListener() = default;

  /// The window exists, with its parent or owner, text, styles and rectangle.
  virtual void WindowCreated(HWND /*window*/) {}
  /// The window is about to go; it can still be read. Children are told first.
  virtual void WindowDestroying(HWND /*window*/) {}
  /// The rectangle, z-order or show state changed (SetWindowPos, ShowWindow, placement).
  virtual void WindowMoved(HWND /*window*/) {}
  virtual void WindowTextChanged(HWND /*window*/) {}
  /// WS_VISIBLE was set or cleared.
  virtual void WindowShown(HWND /*window*/, bool /*visible*/) {}
  /// GWL_STYLE (visibility, WS_DISABLED, ...) or GWL_EXSTYLE (right-to-left reading and
  /// layout, ...) was written; `index` says which.
  virtual void WindowStyleChanged(HWND /*window*/, int /*index*/) {}
  /// Something drawn in the window changed (InvalidateRect): its content is to be shown anew.
  virtual void WindowInvalidated(HWND /*window*/) {}
  /// A menu was made, destroyed, or had an item added or changed.
  virtual void MenuChanged(HMENU /*menu*/) {}
};

/// Registers `listener` (not owned) for every later change; registering twice tells it once.
void AddWindowListener(WindowListener* listener);
/// Unregisters `listener`; unknown listeners are ignored. Safe while listeners are being told.
void RemoveWindowListener(WindowListener* listener);

namespace detail {
// Called by the windowing layer itself.
void NotifyWindowCreated(HWND window);
void NotifyWindowDestroying(HWND window);
void NotifyWindowMoved(HWND window);
void NotifyWindowTextChanged(HWND window);
void NotifyWindowShown(HWND window, bool visible);
void NotifyWindowStyleChanged(HWND window, int index);
void NotifyWindowInvalidated(HWND window);
void NotifyMenuChanged(HMENU menu);
}  // namespace detail

}  // namespace lx::platform
