#include "support/TempFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace lx::support {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "lx-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempFolder::Text() const {
  return path_.string() + "/";
}

}  // namespace lx::support
