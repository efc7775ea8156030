#include "FuzzFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace lx::fuzz {

namespace {

class TFolder {
 public:
  TFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lx_fuzz_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern + "/";
  }
  ~TFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

const std::string& FuzzFolder() {
  static const TFolder folder;
  return folder.Path();
}

std::string WriteFuzzFile(std::string_view name, const std::uint8_t* data, std::size_t size) {
  const std::string path = FuzzFolder() + std::string(name);
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

std::string WriteFuzzFile(std::string_view name, std::string_view text) {
  return WriteFuzzFile(name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace lx::fuzz
