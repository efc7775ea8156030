#include "support/ScopedEnvironment.h"

#include <cstdlib>

namespace lx::support {

namespace {

void Put(const std::string& name, const char* value) {
  if (value) {
    setenv(name.c_str(), value, 1);
  } else {
    unsetenv(name.c_str());
  }
}

}  // namespace

ScopedEnvironment::~ScopedEnvironment() {
  // Backwards, so that a variable set twice ends as it began.
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
    Put(it->first, it->second ? it->second->c_str() : nullptr);
}

void ScopedEnvironment::Set(const std::string& name, const char* value) {
  const char* old = std::getenv(name.c_str());
  saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
  Put(name, value);
}

}  // namespace lx::support
