// Environment variables set for one test and put back as they were.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lx::support {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  /// Sets `name` to `value`, or unsets it for a null `value`.
  void Set(const std::string& name, const char* value);

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace lx::support
