#include "platform/Libraries.h"

#include <dlfcn.h>

#include <map>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace lx::platform {

namespace {

// Loads still open per library; a handle outside it is never passed to the
// system, so a stale or made-up handle fails instead of crashing.
std::map<HMODULE, int>& LoadCounts() {
  static std::map<HMODULE, int> counts;
  return counts;
}

void* Open(const std::string& path) {
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* OpenBareName(const std::string& name) {
  const std::string besideExecutable = ExtractFilePath(ExecutablePath(), kNativePathStyle) + name;
  if (FileExists(besideExecutable)) {
    if (void* handle = Open(besideExecutable)) return handle;
  }
  return Open(name);
}

}  // namespace

HMODULE LoadLibrary(std::string_view fileName) {
  const std::string name(fileName);
  if (name.empty() || name.find('\0') != std::string::npos) return 0;
  void* handle = HasFolderPart(name, kNativePathStyle) ? Open(name) : OpenBareName(name);
  if (handle == nullptr) return 0;
  const auto module = reinterpret_cast<HMODULE>(handle);
  ++LoadCounts()[module];
  return module;
}

FARPROC GetProcAddress(HMODULE module, std::string_view name) {
  if (!LoadCounts().contains(module)) return nullptr;
  const std::string symbol(name);
  return reinterpret_cast<FARPROC>(dlsym(reinterpret_cast<void*>(module), symbol.c_str()));
}

bool FreeLibrary(HMODULE module) {
  const auto found = LoadCounts().find(module);
  if (found == LoadCounts().end()) return false;
  if (--found->second == 0) LoadCounts().erase(found);
  return dlclose(reinterpret_cast<void*>(module)) == 0;
}

}  // namespace lx::platform
