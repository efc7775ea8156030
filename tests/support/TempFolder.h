// A fresh folder under the system's temporary directory, removed with its
// content when the object goes away.
#pragma once

#include <filesystem>
#include <string>

namespace lx::support {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  /// The folder as text with a trailing separator.
  std::string Text() const;

 private:
  std::filesystem::path path_;
};

}  // namespace lx::support
