// The message loop of an on-screen backend, as the application drives it.
//
// Headless, the application only carries out the actions posted to it. A backend that shows
// windows installs a loop here; the application then waits in it for the user's input (a
// click, a key, a closed window) between its own passes over the posted actions. The
// framework never names the toolkit behind it.
//
// Descriptors that bring input of their own (a followed file) are watched through
// WatchInput: the installed loop waits on them with its own input, and headless programs and
// tests wait on them through DispatchInput. Their handlers run on the user-interface thread.
#pragma once

#include <functional>

namespace lx::framework {

class TMessageLoop {
 public:
  virtual ~TMessageLoop() = default;
  /// Waits until input arrives or Wake is called, and dispatches what arrived.
  virtual void HandleMessage() = 0;
  /// Makes a waiting HandleMessage return soon: an action was posted.
  virtual void Wake() = 0;
  /// Descriptor `fd` is to be watched (true) or no more (false); once it can be read while
  /// the loop waits, the loop calls RunInputHandler(fd). Loops that watch nothing keep it.
  virtual void InputWatched(int /*fd*/, bool /*watched*/) {}
};

/// Installs `loop` (not owned; null for none, headless) and returns the one it replaces.
TMessageLoop* SetMessageLoop(TMessageLoop* loop);
/// The installed loop, or null.
TMessageLoop* MessageLoop();

/// Runs `handler` whenever `fd` can be read; the handler reads the descriptor itself (or the
/// watch ends: a descriptor left readable would call it again at once). Watching a
/// descriptor again replaces its handler.
void WatchInput(int fd, std::function<void()> handler);
void UnwatchInput(int fd);
/// Runs the handler of `fd`, when it is watched; an exception goes to the application's
/// HandleException.
void RunInputHandler(int fd);
/// Without a loop to wait in: waits up to `timeoutMs` (-1: as long as it takes) for a
/// watched descriptor and runs the handlers of those that can be read. False when none
/// could (or nothing is watched).
bool DispatchInput(int timeoutMs);

}  // namespace lx::framework
