#include "framework/runtime/ResourceStrings.h"

#include <algorithm>

#include "framework/runtime/FrameworkStrings.h"

namespace lx::framework {

namespace {

TLoadResStringFunc& InstalledLoader() {
  static TLoadResStringFunc loader = DefaultLoadResString;
  return loader;
}

}  // namespace

TResStringRec DirectResString(const char* text) {
  return TResStringRec{0, reinterpret_cast<std::uintptr_t>(text)};
}

std::string LoadStr(platform::HMODULE module, unsigned identifier) {
  // Linked into every program that loads a resource string, so the
  // framework's own texts are always there.
  RegisterFrameworkStrings();
  const platform::HMODULE owner = module == 0 ? platform::MainModule() : module;
  const auto bytes = platform::FindResource(owner, platform::RT_STRING, std::to_string(identifier));
  if (!bytes) return std::string();
  const std::size_t length = std::min(bytes->size(), kMaxResStringLength);
  return std::string(reinterpret_cast<const char*>(bytes->data()), length);
}

std::string LoadPluralStr(platform::HMODULE module, unsigned identifier) {
  RegisterFrameworkStrings();
  const platform::HMODULE owner = module == 0 ? platform::MainModule() : module;
  const auto bytes = platform::FindResource(owner, RT_STRINGPLURAL, std::to_string(identifier));
  if (!bytes) return std::string();
  const std::size_t length = std::min(bytes->size(), kMaxResStringLength);
  return std::string(reinterpret_cast<const char*>(bytes->data()), length);
}

std::string DefaultLoadResString(const TResStringRec& record) {
  if (record.Identifier > kMaxStringTableIdentifier)
    return std::string(reinterpret_cast<const char*>(record.Identifier));
  return LoadStr(record.Module, static_cast<unsigned>(record.Identifier));
}

TLoadResStringFunc SetLoadResStringHook(TLoadResStringFunc loader) {
  const TLoadResStringFunc previous = InstalledLoader();
  InstalledLoader() = loader == nullptr ? DefaultLoadResString : loader;
  return previous;
}

std::string LoadResString(const TResStringRec& record) {
  return InstalledLoader()(record);
}

std::string LoadResStringWith(const TResStringRec& record, std::string_view argument) {
  std::string text = LoadResString(record);
  std::size_t at = text.find("%s");
  if (at == std::string::npos) at = text.find("%d");
  if (at != std::string::npos) text.replace(at, 2, argument);
  return text;
}

}  // namespace lx::framework
