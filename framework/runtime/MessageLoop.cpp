#include "framework/runtime/MessageLoop.h"

#include <poll.h>

#include <map>
#include <utility>
#include <vector>

#include "framework/runtime/Application.h"

namespace lx::framework {

namespace {

TMessageLoop*& Installed() {
  static TMessageLoop* loop = nullptr;
  return loop;
}

std::map<int, std::function<void()>>& Watched() {
  static std::map<int, std::function<void()>> watched;
  return watched;
}

}  // namespace

TMessageLoop* SetMessageLoop(TMessageLoop* loop) {
  TMessageLoop* previous = std::exchange(Installed(), loop);
  // The watches move over to the new loop.
  for (const auto& [fd, handler] : Watched()) {
    if (previous != nullptr) previous->InputWatched(fd, false);
    if (loop != nullptr) loop->InputWatched(fd, true);
  }
  return previous;
}

TMessageLoop* MessageLoop() {
  return Installed();
}

void WatchInput(int fd, std::function<void()> handler) {
  const bool known = Watched().count(fd) != 0;
  Watched()[fd] = std::move(handler);
  if (!known && Installed() != nullptr) Installed()->InputWatched(fd, true);
}

void UnwatchInput(int fd) {
  if (Watched().erase(fd) != 0 && Installed() != nullptr) Installed()->InputWatched(fd, false);
}

void RunInputHandler(int fd) {
  const auto found = Watched().find(fd);
  if (found == Watched().end()) return;
  // A copy: the handler may end its own watch.
  const std::function<void()> handler = found->second;
  try {
    handler();
  } catch (...) {
    Application().HandleException(nullptr);
  }
}

bool DispatchInput(int timeoutMs) {
  std::vector<pollfd> descriptors;
  for (const auto& entry : Watched())
    descriptors.push_back({entry.first, POLLIN, 0});
  if (descriptors.empty()) return false;
  if (poll(descriptors.data(), descriptors.size(), timeoutMs) <= 0) return false;
  bool ran = false;
  for (const pollfd& descriptor : descriptors) {
    if ((descriptor.revents & POLLIN) == 0) continue;
    RunInputHandler(descriptor.fd);
    ran = true;
  }
  return ran;
}

}  // namespace lx::framework
