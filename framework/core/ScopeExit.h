// Runs a piece of code when a scope ends, however it ends: the undo of a temporary change.
//
//   component.SetState(csReading, true);
//   TScopeExit notReading([&] { component.SetState(csReading, false); });
#pragma once

#include <utility>

namespace lx::framework {

template <typename F>
class TScopeExit {
 public:
  explicit TScopeExit(F action) : action_(std::move(action)) {}
  ~TScopeExit() { action_(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

 private:
  F action_;
};

}  // namespace lx::framework
