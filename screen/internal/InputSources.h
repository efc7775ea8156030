// The framework's input watches (framework/runtime/MessageLoop.h) as GLib sources: GTK's
// loop wakes when a watched descriptor can be read and runs its handler.
#pragma once

#include <glib.h>

#include <map>

#pragma GCC visibility push(hidden)

namespace lx::screen {

class TInputSources {
 public:
  TInputSources() = default;
  /// Removes every source it added.
  ~TInputSources();
  TInputSources(const TInputSources&) = delete;
  TInputSources& operator=(const TInputSources&) = delete;

  /// Adds (watched) or removes the source of `fd`.
  void Watch(int fd, bool watched);

 private:
  std::map<int, guint> sources_;
};

}  // namespace lx::screen
#pragma GCC visibility pop
