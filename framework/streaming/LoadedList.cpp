#include "framework/streaming/LoadedList.h"

#include <algorithm>
#include <exception>
#include <unordered_map>
#include <vector>

#include "framework/core/Component.h"

namespace lx::framework {

// Holds the list and hears through free notifications when a listed component goes away.
class TLoadedList::TWatcher : public TComponent {
 public:
  TWatcher() : TComponent(nullptr) {}
  ~TWatcher() override { Release(); }

  std::vector<TComponent*> entries;
  // Where each listed component is in entries: a form of many components is listed whole.
  std::unordered_map<const TComponent*, std::size_t> places;

  void Append(TComponent* component) {
    places.emplace(component, entries.size());
    entries.push_back(component);
  }

  // Leaves every listed component without telling it; the last linked goes first, which
  // is where its link lies.
  void Release() {
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
      if (*entry != nullptr) RemoveFreeNotification(*entry);
    }
    entries.clear();
    places.clear();
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == opRemove) {
      const auto place = places.find(component);
      if (place != places.end()) {
        entries[place->second] = nullptr;
        places.erase(place);
      }
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
  watcher_->Append(component);
  component->FreeNotification(watcher_.get());
}

bool TLoadedList::Contains(const TComponent* component) const {
  return component != nullptr && watcher_->places.contains(component);
}

int TLoadedList::Count() const {
  return static_cast<int>(watcher_->places.size());
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
