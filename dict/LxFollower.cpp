#include "dict/LxFollower.h"

#include <utility>

#include "framework/runtime/Application.h"
#include "framework/runtime/MessageLoop.h"

namespace lx::dict {

TLxFileFollower::TLxFileFollower(const std::string& fileName, std::function<void()> changed)
    : watch_(fileName), pending_(std::make_shared<Pending>()) {
  pending_->changed = std::move(changed);
  framework::WatchInput(watch_.Descriptor(), [this] { Readable(); });
}

TLxFileFollower::~TLxFileFollower() {
  framework::UnwatchInput(watch_.Descriptor());
}

void TLxFileFollower::Readable() {
  if (!watch_.TakeChanges() || pending_->posted) return;
  pending_->posted = true;
  // The posted action outlives neither the follower nor its wish: it holds the state weakly.
  std::weak_ptr<Pending> weak = pending_;
  framework::Application().Post([weak] {
    const std::shared_ptr<Pending> pending = weak.lock();
    if (!pending) return;
    pending->posted = false;
    pending->changed();
  });
}

}  // namespace lx::dict
