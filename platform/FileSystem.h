// Files and folders of the host, in native path style. No operation here
// raises: failures answer false, empty or nullopt.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lx::platform {

/// File attribute bits, numbered as the classic run-time numbers them.
using FileAttributes = std::uint32_t;
inline constexpr FileAttributes faReadOnly = 0x01;
inline constexpr FileAttributes faHidden = 0x02;   // the name begins with "."
inline constexpr FileAttributes faSysFile = 0x04;  // devices, pipes, sockets
inline constexpr FileAttributes faVolumeID = 0x08;
inline constexpr FileAttributes faDirectory = 0x10;
inline constexpr FileAttributes faArchive = 0x20;  // regular files
inline constexpr FileAttributes faSymLink = 0x400;
inline constexpr FileAttributes faAnyFile =
    faReadOnly | faHidden | faSysFile | faVolumeID | faDirectory | faArchive | faSymLink;

/// The full path of the running executable; empty when the system does not tell.
std::string ExecutablePath();

/// The system's folder for temporary files, without a trailing separator.
std::string TemporaryFolder();

/// Where a process makes its private temporary folders, best first:
/// $XDG_RUNTIME_DIR, $TMPDIR, then /tmp. Variables that are unset or not
/// absolute paths are passed over.
std::vector<std::string> PrivateTemporaryRoots();

/// The Windows folder. This host has none, so the answer is empty: callers
/// take their POSIX fallbacks instead.
std::string WindowsFolderOfSystem();

/// True for an existing entry that is not a folder (symbolic links are followed).
bool FileExists(std::string_view path);
/// True for an existing regular file (symbolic links are followed): no folder, device,
/// FIFO or socket, whose opening or reading could wait for ever or never end.
bool RegularFileExists(std::string_view path);
/// True for an existing folder (symbolic links are followed).
bool DirectoryExists(std::string_view path);
/// The attributes of the entry itself; a symbolic link reports faSymLink and
/// never faDirectory, so that nothing walks through it.
std::optional<FileAttributes> GetFileAttributes(std::string_view path);

struct FoundEntry {
  std::string name;
  FileAttributes attributes = 0;
};

/// The entries of a folder whose names match a mask, in the order the file
/// system enumerates them. `pattern` is a folder followed by a mask with "*"
/// and "?" ("*.*" matches every name). Entries carrying any of faHidden,
/// faSysFile, faVolumeID or faDirectory are listed only when `attributes`
/// asks for it; other entries always are. Includes "." and "..".
std::vector<FoundEntry> FindFiles(std::string_view pattern, FileAttributes attributes);

/// True when `name` matches a mask of "*" and "?" wildcards; "*.*" matches every name.
bool MatchesMask(std::string_view name, std::string_view mask);

/// Creates a folder and every missing parent; true when it exists afterwards.
bool CreateFolderTree(std::string_view path);
/// Makes a new folder `prefix` + "-" + six random characters in `parent`, of
/// mode 0700, atomically: never an existing folder, never through a link. The
/// parent's own links are resolved first, so that the answer (without a
/// trailing separator) names no link; empty on failure.
std::string CreatePrivateFolder(std::string_view parent, std::string_view prefix);
/// Makes sure that `path` is a folder of the current user, creating it and
/// its missing parents with mode 0700. The path is walked by descriptor: a
/// symbolic link or a non-folder anywhere on it, or a last folder that belongs
/// to someone else, makes it fail and nothing more is created. `createdLast`,
/// when given, tells whether this call made the last folder.
bool CreateOwnFolderTree(std::string_view path, bool* createdLast = nullptr);

/// A folder of one running process: made as `CreatePrivateFolder` makes it, and held by a
/// lock for as long as the object lives. The system drops the lock when the process ends,
/// however it ends, so `RemoveStaleFolders` tells a leftover from a folder in use.
class HeldFolder {
 public:
  HeldFolder() = default;
  ~HeldFolder();
  HeldFolder(HeldFolder&& other) noexcept;
  HeldFolder& operator=(HeldFolder&& other) noexcept;

  /// Makes and holds `prefix` + "-XXXXXX" in `parent`; Path() is empty on failure.
  static HeldFolder Create(std::string_view parent, std::string_view prefix);
  /// The folder, without a trailing separator; empty when none is held.
  const std::string& Path() const { return path_; }
  /// Lets the folder go (it stays on disk).
  void Release();

 private:
  std::string path_;
  int lock_ = -1;
};

/// Removes the folders `prefix` + "-" + six characters in `parent` that `HeldFolder` made
/// (it marks them), that belong to the current user and that no running process holds:
/// what an instance killed before its exit left. Links, files, other names, unmarked
/// folders, other users' folders and held folders stay.
void RemoveStaleFolders(std::string_view parent, std::string_view prefix);
/// Removes the folder `path` with everything in it, walking by descriptor so
/// that no path is resolved twice: a symbolic link anywhere on `path` makes it
/// fail, links inside are removed as links, and nothing outside the folder is
/// touched. Entries whose names `keep` accepts stay, and so do the folders
/// holding them. True when the folder itself is gone.
bool RemoveFolderTreeByDescriptor(std::string_view path,
                                  const std::function<bool(std::string_view name)>& keep = {});
/// Test seam: called with a folder's descriptor and an entry's name just
/// before the removal walk opens that entry as a folder, so that a test can
/// swap it. An empty function removes the hook.
void SetRemovalWalkHook(std::function<void(int folder, const std::string& name)> hook);

/// Deletes a file or a symbolic link (never what a link points to).
bool DeleteFile(std::string_view path);
/// Removes an empty folder.
bool RemoveFolder(std::string_view path);

}  // namespace lx::platform
