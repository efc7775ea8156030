#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

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

std::vector<std::string> PrivateTemporaryRoots() {
  std::vector<std::string> roots;
  for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') roots.emplace_back(value);
  }
  roots.emplace_back("/tmp");
  return roots;
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

bool RegularFileExists(std::string_view path) {
  const auto mode = ModeOf(path);
  return mode && S_ISREG(*mode);
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

namespace {

// A file descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

constexpr int kWalkFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr int kListFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

std::function<void(int, const std::string&)>& RemovalWalkHook() {
  static std::function<void(int, const std::string&)> hook;
  return hook;
}

std::vector<std::string> Components(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start < path.size()) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Where a walk of `path` starts: the root for an absolute path, else the current folder.
Descriptor WalkStart(std::string_view path) {
  return Descriptor(open(path.starts_with('/') ? "/" : ".", kWalkFlags));
}

// Opens the folder that holds the last component of `path`, following no link
// on the way; `last` receives that component.
Descriptor OpenParent(std::string_view path, std::string& last) {
  std::vector<std::string> parts = Components(path);
  if (parts.empty()) return Descriptor();
  last = parts.back();
  parts.pop_back();
  Descriptor folder = WalkStart(path);
  for (const std::string& part : parts) {
    if (!folder.Valid()) break;
    folder = Descriptor(openat(folder.Get(), part.c_str(), kWalkFlags));
  }
  return folder;
}

// Opens (and when missing creates) one folder below `parent`, following no link.
Descriptor OpenOrCreate(int parent, const std::string& name, bool& created) {
  created = false;
  Descriptor folder(openat(parent, name.c_str(), kWalkFlags));
  if (!folder.Valid() && errno == ENOENT && mkdirat(parent, name.c_str(), 0700) == 0) {
    created = true;
    folder = Descriptor(openat(parent, name.c_str(), kWalkFlags));
  }
  return folder;
}

std::vector<std::string> NamesIn(int folder) {
  std::vector<std::string> names;
  const int copy = dup(folder);
  if (copy < 0) return names;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(fdopendir(copy), closedir);
  if (!dir) {
    close(copy);
    return names;
  }
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  return names;
}

bool RemoveSubfolder(int parent, const std::string& name,
                     const std::function<bool(std::string_view)>& keep);

// Names come relative to the folder's descriptor, so no path length applies.
void EmptyFolder(int folder, const std::function<bool(std::string_view)>& keep) {
  for (const std::string& name : NamesIn(folder)) {
    if (keep && keep(name)) continue;
    struct stat info {};
    if (fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(info.st_mode)) {
      RemoveSubfolder(folder, name, keep);
    } else {
      unlinkat(folder, name.c_str(), 0);
    }
  }
}

// A folder swapped for a link after it was listed fails to open here.
bool RemoveSubfolder(int parent, const std::string& name,
                     const std::function<bool(std::string_view)>& keep) {
  if (RemovalWalkHook()) RemovalWalkHook()(parent, name);
  const Descriptor folder(openat(parent, name.c_str(), kListFlags));
  if (!folder.Valid()) return false;
  EmptyFolder(folder.Get(), keep);
  return unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0;
}

}  // namespace

std::string CreatePrivateFolder(std::string_view parent, std::string_view prefix) {
  char resolved[PATH_MAX];
  if (parent.empty() || realpath(std::string(parent).c_str(), resolved) == nullptr) return {};
  std::string pattern = std::string(resolved);
  if (pattern.back() != '/') pattern += '/';
  pattern += std::string(prefix) + "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) return {};
  return pattern;
}

bool CreateOwnFolderTree(std::string_view path, bool* createdLast) {
  const std::vector<std::string> parts = Components(path);
  if (createdLast != nullptr) *createdLast = false;
  if (parts.empty()) return false;
  Descriptor folder = WalkStart(path);
  bool created = false;
  for (const std::string& part : parts) {
    if (!folder.Valid()) return false;
    folder = OpenOrCreate(folder.Get(), part, created);
  }
  if (createdLast != nullptr) *createdLast = created;
  struct stat info {};
  return folder.Valid() && fstat(folder.Get(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == geteuid();
}

bool RemoveFolderTreeByDescriptor(std::string_view path,
                                  const std::function<bool(std::string_view name)>& keep) {
  std::string name;
  const Descriptor parent = OpenParent(path, name);
  if (!parent.Valid() || name == "." || name == "..") return false;
  return RemoveSubfolder(parent.Get(), name, keep);
}

namespace {

bool SameEntry(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Marks a folder as made by HeldFolder, so that a folder someone else made under a name of
// the same pattern is never taken for a leftover. Where the file system keeps no such mark,
// leftovers stay.
constexpr const char* kHeldMark = "user.lx.held";

bool CarriesHeldMark(int folder) {
  char value[2] = {};
  return fgetxattr(folder, kHeldMark, value, sizeof value) == 1 && value[0] == '1';
}

// A name as HeldFolder makes it: the prefix, "-" and the six characters mkdtemp chose.
bool IsHeldFolderName(std::string_view name, std::string_view prefix) {
  if (name.size() != prefix.size() + 7 || !name.starts_with(prefix) || name[prefix.size()] != '-')
    return false;
  return std::all_of(name.end() - 6, name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  });
}

}  // namespace

HeldFolder::~HeldFolder() {
  Release();
}

HeldFolder::HeldFolder(HeldFolder&& other) noexcept
    : path_(std::move(other.path_)), lock_(std::exchange(other.lock_, -1)) {
  other.path_.clear();
}

HeldFolder& HeldFolder::operator=(HeldFolder&& other) noexcept {
  std::swap(path_, other.path_);
  std::swap(lock_, other.lock_);
  return *this;
}

void HeldFolder::Release() {
  if (lock_ >= 0) close(lock_);
  lock_ = -1;
  path_.clear();
}

// A cleaner may take a new folder away before it is locked: then the path no longer names
// the folder locked, and another one is made.
HeldFolder HeldFolder::Create(std::string_view parent, std::string_view prefix) {
  HeldFolder held;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::string path = CreatePrivateFolder(parent, prefix);
    if (path.empty()) return held;
    Descriptor folder(open(path.c_str(), kListFlags));
    struct stat locked {};
    struct stat named {};
    if (folder.Valid() && flock(folder.Get(), LOCK_EX) == 0 && fstat(folder.Get(), &locked) == 0 &&
        lstat(path.c_str(), &named) == 0 && SameEntry(locked, named)) {
      (void)fsetxattr(folder.Get(), kHeldMark, "1", 1, 0);
      held.path_ = path;
      held.lock_ = folder.Release();
      return held;
    }
  }
  return held;
}

void RemoveStaleFolders(std::string_view parent, std::string_view prefix) {
  const Descriptor folder(open(std::string(parent).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder.Valid() || prefix.empty()) return;
  for (const std::string& name : NamesIn(folder.Get())) {
    struct stat info {};
    if (!IsHeldFolderName(name, prefix) ||
        fstatat(folder.Get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
      continue;
    }
    // Held while it goes, so that nobody takes it meanwhile.
    const Descriptor stale(openat(folder.Get(), name.c_str(), kListFlags));
    struct stat opened {};
    if (!stale.Valid() || flock(stale.Get(), LOCK_EX | LOCK_NB) != 0 ||
        fstat(stale.Get(), &opened) != 0 || !SameEntry(info, opened) ||
        !CarriesHeldMark(stale.Get())) {
      continue;
    }
    RemoveSubfolder(folder.Get(), name, {});
  }
}

void SetRemovalWalkHook(std::function<void(int folder, const std::string& name)> hook) {
  RemovalWalkHook() = std::move(hook);
}

}  // namespace lx::platform
