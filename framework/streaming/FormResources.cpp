#include "framework/streaming/FormResources.h"

#include <vector>

#include "framework/streaming/Filer.h"
#include "framework/streaming/LoadedList.h"

namespace lx::framework {

platform::HMODULE FindClassHInstance(const TClassInfo&) {
  return platform::MainModule();
}

bool HasFormResource(platform::HMODULE module, std::string_view className) {
  return platform::FindResource(module, platform::RT_RCDATA, className).has_value();
}

std::unique_ptr<TResourceStream> FindFormResource(platform::HMODULE module,
                                                  std::string_view className) {
  return std::make_unique<TResourceStream>(module, className, platform::RT_RCDATA);
}

bool InitInheritedComponent(TComponent& instance, const TClassInfo& rootAncestor) {
  std::vector<const TClassInfo*> classes;
  for (const TClassInfo* c = &instance.ClassInfo();
       c != nullptr && c != &rootAncestor && c != &TComponent::StaticClassInfo(); c = c->Parent()) {
    classes.push_back(c);
  }
  TLoadedList loaded;
  bool found = false;
  for (auto c = classes.rbegin(); c != classes.rend(); ++c) {
    const platform::HMODULE module = FindClassHInstance(**c);
    if (!HasFormResource(module, (*c)->Name())) continue;
    std::unique_ptr<TResourceStream> stream = FindFormResource(module, (*c)->Name());
    TReader reader(*stream, 4096);
    reader.SetLoadedList(&loaded);
    reader.ReadRootComponent(&instance);
    found = true;
  }
  loaded.NotifyLoaded();
  return found;
}

}  // namespace lx::framework
