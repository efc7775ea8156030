#include "platform/WindowListener.h"

#include <algorithm>
#include <vector>

namespace lx::platform {

namespace {

std::vector<WindowListener*>& Listeners() {
  static std::vector<WindowListener*> listeners;
  return listeners;
}

// A copy, so that a listener may unregister itself (or another) while being told; one
// unregistered meanwhile is skipped.
template <typename Call>
void TellAll(Call call) {
  if (Listeners().empty()) return;
  const std::vector<WindowListener*> listeners = Listeners();
  for (WindowListener* listener : listeners) {
    const auto& now = Listeners();
    if (std::find(now.begin(), now.end(), listener) != now.end()) call(*listener);
  }
}

}  // namespace

void AddWindowListener(WindowListener* listener) {
  auto& listeners = Listeners();
  if (listener == nullptr) return;
  if (std::find(listeners.begin(), listeners.end(), listener) == listeners.end())
    listeners.push_back(listener);
}

void RemoveWindowListener(WindowListener* listener) {
  std::erase(Listeners(), listener);
}

namespace detail {

void NotifyWindowCreated(HWND window) {
  TellAll([window](WindowListener& l) { l.WindowCreated(window); });
}

void NotifyWindowDestroying(HWND window) {
  TellAll([window](WindowListener& l) { l.WindowDestroying(window); });
}

void NotifyWindowMoved(HWND window) {
  TellAll([window](WindowListener& l) { l.WindowMoved(window); });
}

void NotifyWindowTextChanged(HWND window) {
  TellAll([window](WindowListener& l) { l.WindowTextChanged(window); });
}

void NotifyWindowShown(HWND window, bool visible) {
  TellAll([window, visible](WindowListener& l) { l.WindowShown(window, visible); });
}

void NotifyWindowStyleChanged(HWND window, int index) {
  TellAll([window, index](WindowListener& l) { l.WindowStyleChanged(window, index); });
}

void NotifyWindowInvalidated(HWND window) {
  TellAll([window](WindowListener& l) { l.WindowInvalidated(window); });
}

void NotifyMenuChanged(HMENU menu) {
  TellAll([menu](WindowListener& l) { l.MenuChanged(menu); });
}

}  // namespace detail

}  // namespace lx::platform
