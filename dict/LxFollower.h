// TLxFileFollower: a dictionary file followed while the program runs.
//
// The file's folder is watched (platform/FileWatch.h) through the message loop's input
// watches (framework/runtime/MessageLoop.h). When the file was replaced or written, the
// follower posts `changed` to the application, once however many changes came before it
// runs, so that the dictionary reloads between two turns of the loop, on the user-interface
// thread, never in the middle of a translation pass.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/FileWatch.h"

namespace lx::dict {

class TLxFileFollower {
 public:
  /// Raises Exception "cannot follow <fileName>: <reason>" when the folder cannot be watched.
  TLxFileFollower(const std::string& fileName, std::function<void()> changed);
  /// Ends the watch; a change posted before and not yet carried out is dropped.
  ~TLxFileFollower();
  TLxFileFollower(const TLxFileFollower&) = delete;
  TLxFileFollower& operator=(const TLxFileFollower&) = delete;

  const std::string& FileName() const { return watch_.Path(); }

 private:
  struct Pending {
    bool posted = false;
    std::function<void()> changed;
  };
  void Readable();

  platform::TFileWatch watch_;
  std::shared_ptr<Pending> pending_;
};

}  // namespace lx::dict
