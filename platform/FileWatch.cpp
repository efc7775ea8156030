#include "platform/FileWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/Exception.h"

namespace lx::platform {

namespace {

[[noreturn]] void CannotFollow(const std::string& path, int error) {
  throw Exception("cannot follow " + path + ": " + std::strerror(error));
}

}  // namespace

TFileWatch::TFileWatch(const std::string& path) : path_(path) {
  const std::filesystem::path file(path);
  name_ = file.filename().string();
  std::string folder = file.parent_path().string();
  if (folder.empty()) folder = ".";
  if (name_.empty()) CannotFollow(path, EISDIR);
  descriptor_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (descriptor_ < 0) CannotFollow(path, errno);
  // Closing after writing and moving in are the ends of a write; IN_MODIFY would fire
  // while the file is still half written.
  if (inotify_add_watch(descriptor_, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
    const int error = errno;
    close(descriptor_);
    CannotFollow(path, error);
  }
}

TFileWatch::~TFileWatch() {
  if (descriptor_ >= 0) close(descriptor_);
}

bool TFileWatch::TakeChanges() {
  bool changed = false;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t count = read(descriptor_, buffer, sizeof buffer);
    if (count <= 0) break;
    for (ssize_t at = 0; at < count;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if (event->len > 0 && name_ == event->name) changed = true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  return changed;
}

}  // namespace lx::platform
