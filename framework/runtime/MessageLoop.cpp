#include "framework/runtime/MessageLoop.h"

#include <utility>

namespace lx::framework {

namespace {

TMessageLoop*& Installed() {
  static TMessageLoop* loop = nullptr;
  return loop;
}

}  // namespace

TMessageLoop* SetMessageLoop(TMessageLoop* loop) {
  return std::exchange(Installed(), loop);
}

TMessageLoop* MessageLoop() {
  return Installed();
}

}  // namespace lx::framework
