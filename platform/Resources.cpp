#include "platform/Resources.h"

#include <map>

#include "platform/TextUtils.h"

namespace lx::platform {

namespace {

using ResourceKey = std::pair<std::string, std::string>;

ResourceKey KeyOf(std::string_view type, std::string_view name) {
  return {UpperCaseAscii(type), UpperCaseAscii(name)};
}

// Built on first use: resources register themselves from static initialisers.
std::map<ResourceKey, std::span<const std::uint8_t>>& Registry() {
  static std::map<ResourceKey, std::span<const std::uint8_t>> registry;
  return registry;
}

}  // namespace

HMODULE MainModule() {
  return 1;
}

void RegisterResource(std::string_view type, std::string_view name,
                      std::span<const std::uint8_t> bytes) {
  Registry()[KeyOf(type, name)] = bytes;
}

bool UnregisterResource(std::string_view type, std::string_view name) {
  return Registry().erase(KeyOf(type, name)) > 0;
}

std::optional<std::span<const std::uint8_t>> FindResource(HMODULE module, std::string_view type,
                                                          std::string_view name) {
  if (module != MainModule()) return std::nullopt;
  const auto found = Registry().find(KeyOf(type, name));
  if (found == Registry().end()) return std::nullopt;
  return found->second;
}

}  // namespace lx::platform
