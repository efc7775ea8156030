// Translator modules: what a particular kind of control needs beyond the translator's own
// walk (a translation of its own, its own mirroring, its own reading-order switch).
//
// Modules live in one process-wide registry, `Modules()`. At four points of its work a
// translator asks the registered modules in registration order; the first that answers true
// has done the job and ends the round.
//
//   class TGridModule : public TLxModule { ... bool TranslateControl(...) override; };
//   RegisterModule(std::make_unique<TGridModule>());     // the registry owns it
//   ...
//   std::unique_ptr<TLxModule> back = UnregisterModule(module);
//
// A module may be unregistered (or destroyed, which unregisters it) at any time, even from
// inside one of its hooks: the dispatchers never call a module that left the registry.
#pragma once

#include <memory>
#include <vector>

#include "framework/core/Component.h"

namespace lx::translator {

class TLxTranslator;
class TLxBidirectionalState;

class TLxModule : public framework::TComponent {
  LX_CLASS(TLxModule, framework::TComponent)

 public:
  /// A module belongs to the registry once registered; it is made without owner.
  TLxModule();
  /// Leaves the registry if it is still there.
  ~TLxModule() override;

  /// Each hook answers true when the module has handled the case; the base answers false.
  virtual bool TranslateControl(TLxTranslator* translator, framework::TComponent* control);
  virtual bool MirrorControl(TLxTranslator* translator, framework::TComponent* control,
                             TLxBidirectionalState* state);
  virtual bool UnmirrorControl(TLxTranslator* translator, framework::TComponent* control,
                               TLxBidirectionalState* state);
  virtual bool ApplyReadingOrder(TLxTranslator* translator, framework::TComponent* component);
};

/// The registered modules, in registration order; it owns them.
class TLxModules : public framework::TObject {
  LX_CLASS(TLxModules, framework::TObject)

 public:
  TLxModules() = default;
  /// Frees every module still registered.
  ~TLxModules() override;

  int Count() const;
  /// Whether no module is registered (nor one that left during a round that still runs).
  bool Empty() const { return modules_.empty(); }
  /// Raises EListError "List index out of bounds (<index>)".
  TLxModule* Items(int index) const;

  /// Appends the module and takes it; a module already registered stays where it is.
  void Add(std::unique_ptr<TLxModule> module);
  /// Takes the module out and gives it back; null when it is not registered.
  std::unique_ptr<TLxModule> Remove(TLxModule* module);

  // The dispatchers: true as soon as one module answers true.
  bool TranslateControl(TLxTranslator* translator, framework::TComponent* control);
  bool MirrorControl(TLxTranslator* translator, framework::TComponent* control,
                     TLxBidirectionalState* state);
  bool UnmirrorControl(TLxTranslator* translator, framework::TComponent* control,
                       TLxBidirectionalState* state);
  bool ApplyReadingOrder(TLxTranslator* translator, framework::TComponent* component);

 private:
  template <typename Hook>
  bool Dispatch(const Hook& hook);
  void Compact();

  // A module that leaves during a round leaves a null slot, removed once no round runs.
  std::vector<TLxModule*> modules_;
  int rounds_ = 0;
};

/// The registry; null only once the process has finished.
TLxModules* Modules();
/// Registers a module (see TLxModules::Add).
void RegisterModule(std::unique_ptr<TLxModule> module);
/// Unregisters a module and gives it back (see TLxModules::Remove).
std::unique_ptr<TLxModule> UnregisterModule(TLxModule* module);

}  // namespace lx::translator
