#include "screen/internal/InputSources.h"

#include <glib-unix.h>

#include "framework/runtime/MessageLoop.h"

namespace lx::screen {

namespace {

gboolean Readable(gint fd, GIOCondition, gpointer) {
  framework::RunInputHandler(fd);
  return G_SOURCE_CONTINUE;
}

}  // namespace

TInputSources::~TInputSources() {
  for (const auto& [fd, source] : sources_)
    g_source_remove(source);
}

void TInputSources::Watch(int fd, bool watched) {
  const auto found = sources_.find(fd);
  if (found != sources_.end()) {
    g_source_remove(found->second);
    sources_.erase(found);
  }
  if (watched) sources_[fd] = g_unix_fd_add(fd, G_IO_IN, Readable, nullptr);
}

}  // namespace lx::screen
