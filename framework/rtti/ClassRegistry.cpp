#include "framework/rtti/ClassRegistry.h"

#include <map>
#include <string>
#include <vector>

#include "framework/core/Persistent.h"
#include "platform/TextUtils.h"

namespace lx::framework {

namespace {

using Registry = std::map<std::string, const TClassInfo*, std::less<>>;

Registry& Classes() {
  static Registry classes;
  return classes;
}

std::string KeyOf(std::string_view name) {
  return platform::UpperCaseAscii(name);
}

}  // namespace

void RegisterClass(const TClassInfo& classInfo) {
  // The class and its ancestors go in together or not at all.
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = &classInfo; c != nullptr; c = c->Parent()) {
    chain.push_back(c);
    if (c == &TPersistent::StaticClassInfo()) break;
  }
  for (const TClassInfo* c : chain) {
    const auto it = Classes().find(KeyOf(c->Name()));
    if (it != Classes().end() && it->second != c) {
      throw platform::EFilerError("A class named " + c->Name() + " already exists");
    }
  }
  for (const TClassInfo* c : chain)
    Classes().emplace(KeyOf(c->Name()), c);
}

void RegisterClasses(std::initializer_list<const TClassInfo*> classInfos) {
  for (const TClassInfo* classInfo : classInfos)
    RegisterClass(*classInfo);
}

void UnRegisterClass(const TClassInfo& classInfo) {
  const auto it = Classes().find(KeyOf(classInfo.Name()));
  if (it != Classes().end() && it->second == &classInfo) Classes().erase(it);
}

const TClassInfo* GetClass(std::string_view name) {
  const auto it = Classes().find(KeyOf(name));
  return it != Classes().end() ? it->second : nullptr;
}

const TClassInfo& FindClass(std::string_view name) {
  const TClassInfo* classInfo = GetClass(name);
  if (classInfo == nullptr) throw EClassNotFound("Class " + std::string(name) + " not found");
  return *classInfo;
}

}  // namespace lx::framework
