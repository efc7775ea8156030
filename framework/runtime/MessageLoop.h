// The message loop of an on-screen backend, as the application drives it.
//
// Headless, the application only carries out the actions posted to it. A backend that shows
// windows installs a loop here; the application then waits in it for the user's input (a
// click, a key, a closed window) between its own passes over the posted actions. The
// framework never names the toolkit behind it.
#pragma once

namespace lx::framework {

class TMessageLoop {
 public:
  virtual ~TMessageLoop() = default;
  /// Waits until input arrives or Wake is called, and dispatches what arrived.
  virtual void HandleMessage() = 0;
  /// Makes a waiting HandleMessage return soon: an action was posted.
  virtual void Wake() = 0;
};

/// Installs `loop` (not owned; null for none, headless) and returns the one it replaces.
TMessageLoop* SetMessageLoop(TMessageLoop* loop);
/// The installed loop, or null.
TMessageLoop* MessageLoop();

}  // namespace lx::framework
