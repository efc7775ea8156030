// What the translator's units share: a class test cheaper than dynamic_cast, events fired
// when set, and the module registry when it has anything to ask. Internal to the translator.
#pragma once

#include <utility>

#include "framework/core/Object.h"
#include "translator/LxModules.h"

namespace lx::translator {

// The framework's classes know their ancestry; asking it is cheaper than a dynamic_cast.
template <typename T>
T* As(framework::TObject* object) {
  return object != nullptr && object->InheritsFrom(T::StaticClassInfo()) ? static_cast<T*>(object)
                                                                         : nullptr;
}

template <typename Event, typename... Args>
void Fire(const Event& event, Args&&... args) {
  if (event) event(std::forward<Args>(args)...);
}

bool IsRightToLeft(int lcid);

// The registry when a module may answer: most programs register none, and the modules are
// asked about every control of every pass.
TLxModules* ModulesToAsk();

}  // namespace lx::translator
