#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/Paths.h"

namespace lx::platform {

namespace fs = std::filesystem;

std::string ExecutablePath() {
  std::error_code error;
  const fs::path path = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

std::string TemporaryFolder() {
  std::error_code error;
  std::string path = fs::temp_directory_path(error).string();
  if (error) return std::string();
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

std::string WindowsFolderOfSystem() {
  return std::string();
}

namespace {

FileAttributes AttributesOf(const struct stat& info, std::string_view name) {
  FileAttributes attributes = 0;
  if (S_ISLNK(info.st_mode)) {
    attributes |= faSymLink;
  } else if (S_ISDIR(info.st_mode)) {
    attributes |= faDirectory;
  } else if (S_ISREG(info.st_mode)) {
    attributes |= faArchive;
  } else {
    attributes |= faSysFile;
  }
  if ((info.st_mode & S_IWUSR) == 0) attributes |= faReadOnly;
  if (!name.empty() && name.front() == '.') attributes |= faHidden;
  return attributes;
}

// Attributes that hide an entry unless the caller asks for them.
constexpr FileAttributes kSpecialAttributes = faHidden | faSysFile | faVolumeID | faDirectory;

bool MatchesFrom(std::string_view name, std::string_view mask) {
  while (!mask.empty()) {
    if (mask.front() == '*') {
      mask.remove_prefix(1);
      for (std::size_t skip = 0; skip <= name.size(); ++skip) {
        if (MatchesFrom(name.substr(skip), mask)) return true;
      }
      return false;
    }
    if (name.empty() || (mask.front() != '?' && mask.front() != name.front())) return false;
    mask.remove_prefix(1);
    name.remove_prefix(1);
  }
  return name.empty();
}

}  // namespace

std::optional<FileAttributes> GetFileAttributes(std::string_view path) {
  struct stat info {};
  const std::string text(path);
  if (text.empty() || lstat(text.c_str(), &info) != 0) return std::nullopt;
  return AttributesOf(info, ExtractFileName(text, PathStyle::Posix));
}

namespace {

// Follows symbolic links, as a program opening the path would.
std::optional<mode_t> ModeOf(std::string_view path) {
  struct stat info {};
  const std::string text(path);
  if (text.empty() || stat(text.c_str(), &info) != 0) return std::nullopt;
  return info.st_mode;
}

}  // namespace

bool FileExists(std::string_view path) {
  const auto mode = ModeOf(path);
  return mode && !S_ISDIR(*mode);
}

bool DirectoryExists(std::string_view path) {
  const auto mode = ModeOf(path);
  return mode && S_ISDIR(*mode);
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  return mask == "*.*" || MatchesFrom(name, mask);
}

std::vector<FoundEntry> FindFiles(std::string_view pattern, FileAttributes attributes) {
  std::vector<FoundEntry> found;
  const std::string folder = ExtractFilePath(pattern, PathStyle::Posix);
  const std::string mask = ExtractFileName(pattern, PathStyle::Posix);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()), closedir);
  if (!dir) return found;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string name = entry->d_name;
    struct stat info {};
    if (!MatchesMask(name, mask) ||
        fstatat(dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
      continue;
    }
    const FileAttributes entryAttributes = AttributesOf(info, name);
    if ((entryAttributes & kSpecialAttributes & ~attributes) != 0) continue;
    found.push_back({name, entryAttributes});
  }
  return found;
}

bool CreateFolderTree(std::string_view path) {
  if (path.empty()) return false;
  std::error_code error;
  fs::create_directories(fs::path(std::string(path)), error);
  return DirectoryExists(path);
}

bool DeleteFile(std::string_view path) {
  const std::string text(path);
  const auto attributes = GetFileAttributes(text);
  return attributes && (*attributes & faDirectory) == 0 && unlink(text.c_str()) == 0;
}

bool RemoveFolder(std::string_view path) {
  const std::string text(path);
  return !text.empty() && rmdir(text.c_str()) == 0;
}

}  // namespace lx::platform
