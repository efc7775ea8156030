#include "translator/LxModules.h"

#include <algorithm>

#include "framework/core/ScopeExit.h"
#include "framework/rtti/Published.h"
#include "platform/Exception.h"

namespace lx::translator {

LX_PUBLISHED(TLxModule)
LX_PUBLISHED(TLxModules)

namespace {

// The registry lives from the first use to the end of the process.
struct TRegistryHolder {
  TLxModules* registry = new TLxModules();
  ~TRegistryHolder() {
    TLxModules* gone = registry;
    registry = nullptr;
    delete gone;
  }
};

TRegistryHolder& Holder() {
  static TRegistryHolder holder;
  return holder;
}

}  // namespace

// ---- TLxModule

TLxModule::TLxModule() : TComponent(nullptr) {}

TLxModule::~TLxModule() {
  if (TLxModules* registry = Modules()) registry->Remove(this).release();
}

bool TLxModule::TranslateControl(TLxTranslator*, framework::TComponent*) {
  return false;
}

bool TLxModule::MirrorControl(TLxTranslator*, framework::TComponent*, TLxBidirectionalState*) {
  return false;
}

bool TLxModule::UnmirrorControl(TLxTranslator*, framework::TComponent*, TLxBidirectionalState*) {
  return false;
}

bool TLxModule::ApplyReadingOrder(TLxTranslator*, framework::TComponent*) {
  return false;
}

// ---- TLxModules

TLxModules::~TLxModules() {
  // Each module is taken out before it is freed, so its destructor finds nothing to do.
  while (!modules_.empty()) {
    TLxModule* module = modules_.back();
    modules_.pop_back();
    delete module;
  }
}

int TLxModules::Count() const {
  return static_cast<int>(std::count_if(modules_.begin(), modules_.end(),
                                        [](const TLxModule* module) { return module != nullptr; }));
}

TLxModule* TLxModules::Items(int index) const {
  int live = -1;
  if (index >= 0) {
    for (TLxModule* module : modules_) {
      if (module != nullptr && ++live == index) return module;
    }
  }
  throw platform::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TLxModules::Add(std::unique_ptr<TLxModule> module) {
  if (module == nullptr) return;
  if (std::find(modules_.begin(), modules_.end(), module.get()) != modules_.end()) {
    module.release();  // already ours
    return;
  }
  modules_.push_back(module.release());
}

std::unique_ptr<TLxModule> TLxModules::Remove(TLxModule* module) {
  const auto found = std::find(modules_.begin(), modules_.end(), module);
  if (module == nullptr || found == modules_.end()) return nullptr;
  if (rounds_ > 0) {
    *found = nullptr;
  } else {
    modules_.erase(found);
  }
  return std::unique_ptr<TLxModule>(module);
}

void TLxModules::Compact() {
  std::erase(modules_, nullptr);
}

// Walks by index over the live list: a module added during the round is asked too, one that
// left is skipped.
template <typename Hook>
bool TLxModules::Dispatch(const Hook& hook) {
  if (modules_.empty()) return false;  // asked for every control of every pass
  ++rounds_;
  const framework::TScopeExit done([this] {
    if (--rounds_ == 0) Compact();
  });
  for (std::size_t i = 0; i < modules_.size(); ++i) {
    TLxModule* module = modules_[i];
    if (module != nullptr && hook(*module)) return true;
  }
  return false;
}

bool TLxModules::TranslateControl(TLxTranslator* translator, framework::TComponent* control) {
  return Dispatch([&](TLxModule& m) { return m.TranslateControl(translator, control); });
}

bool TLxModules::MirrorControl(TLxTranslator* translator, framework::TComponent* control,
                               TLxBidirectionalState* state) {
  return Dispatch([&](TLxModule& m) { return m.MirrorControl(translator, control, state); });
}

bool TLxModules::UnmirrorControl(TLxTranslator* translator, framework::TComponent* control,
                                 TLxBidirectionalState* state) {
  return Dispatch([&](TLxModule& m) { return m.UnmirrorControl(translator, control, state); });
}

bool TLxModules::ApplyReadingOrder(TLxTranslator* translator, framework::TComponent* component) {
  return Dispatch([&](TLxModule& m) { return m.ApplyReadingOrder(translator, component); });
}

// ---- The registry

TLxModules* Modules() {
  return Holder().registry;
}

void RegisterModule(std::unique_ptr<TLxModule> module) {
  if (TLxModules* registry = Modules()) registry->Add(std::move(module));
}

std::unique_ptr<TLxModule> UnregisterModule(TLxModule* module) {
  TLxModules* registry = Modules();
  return registry != nullptr ? registry->Remove(module) : nullptr;
}

}  // namespace lx::translator
