// Following one file for replacements and rewrites (inotify).
//
// The watch is on the file's folder, so that a file replaced by a rename (a temporary file
// moved over it, as the tools write) is seen as well as one written in place. Only finished
// writes count: a file closed after writing, or moved to the name. A file still being
// written, or only opened, reports nothing.
#pragma once

#include <string>

namespace lx::platform {

class TFileWatch {
 public:
  /// Starts following `path`. Raises Exception "cannot follow <path>: <reason>" when the
  /// folder cannot be watched.
  explicit TFileWatch(const std::string& path);
  ~TFileWatch();
  TFileWatch(const TFileWatch&) = delete;
  TFileWatch& operator=(const TFileWatch&) = delete;

  /// The descriptor that becomes readable when something happened in the folder; a message
  /// loop waits on it and then calls TakeChanges.
  int Descriptor() const { return descriptor_; }
  /// Reads what happened so far, without waiting: true when the file was written and closed,
  /// or something was moved to its name.
  bool TakeChanges();
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::string name_;
  int descriptor_ = -1;
};

}  // namespace lx::platform
