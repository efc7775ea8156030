#include "framework/streaming/LoadedList.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "framework/core/Component.h"

namespace lx::framework {

// Holds the list and hears through free notifications when a listed component goes away.
class TLoadedList::TWatcher : public TComponent {
 public:
  TWatcher() : TComponent(nullptr) {}
  ~TWatcher() override { Release(); }

  std::vector<TComponent*> entries;

  // Leaves every listed component without telling it.
  void Release() {
    for (TComponent* component : entries) {
      if (component != nullptr) RemoveFreeNotification(component);
    }
    entries.clear();
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove) {
      std::replace(entries.begin(), entries.end(), component, static_cast<TComponent*>(nullptr));
    }
    TComponent::Notification(component, operation);
  }
};

TLoadedList::TLoadedList() : watcher_(std::make_unique<TWatcher>()) {}

TLoadedList::~TLoadedList() {
  for (TComponent* component : watcher_->entries) {
    if (component != nullptr) component->SetState(csLoading, false);
  }
}

void TLoadedList::Add(TComponent* component) {
  if (component == nullptr || Contains(component)) return;
  component->SetState(csLoading, true);
  watcher_->entries.push_back(component);
  component->FreeNotification(watcher_.get());
}

bool TLoadedList::Contains(const TComponent* component) const {
  const auto& entries = watcher_->entries;
  return component != nullptr &&
         std::find(entries.begin(), entries.end(), component) != entries.end();
}

int TLoadedList::Count() const {
  const auto& entries = watcher_->entries;
  return static_cast<int>(entries.size() - static_cast<std::size_t>(std::count(
                                               entries.begin(), entries.end(), nullptr)));
}

void TLoadedList::NotifyLoaded() {
  std::exception_ptr failure;
  auto& entries = watcher_->entries;
  // Loaded may destroy listed components or add new ones: the list is read by index.
  for (std::size_t i = 0; i < entries.size(); ++i) {
    TComponent* component = entries[i];
    if (component == nullptr) continue;
    try {
      component->Loaded();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  watcher_->Release();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace lx::framework
