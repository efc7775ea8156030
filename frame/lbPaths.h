// The program's companion files and its scratch folder.
//
// Everything is named after the executable: same folder, same base name,
// another extension. Nothing here shows a message or raises; a step that
// fails leaves its path empty.
//
// Paths follow a path style. In Windows style derived paths are upper- or
// lower-cased as Windows users expect; in POSIX style, where case names
// another file, every path keeps its case.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Strings.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace lx::frame {

using platform::PathStyle;

/// Paths are held in texts of at most this many characters. A longer derived
/// path would name another file once cut, so it counts as unavailable (empty).
inline constexpr std::size_t kMaxPathLength = 255;

/// The path without the extension of its last component.
std::string PathWithoutExtension(std::string_view path,
                                 PathStyle style = platform::kNativePathStyle);

/// Folder text with exactly one trailing separator and no doubled separators
/// (a leading pair, as in \\server\share, is kept); upper-cased in Windows
/// style. Empty in, empty out; empty when the result would be too long.
std::string NormalizeFolder(std::string_view path, PathStyle style = platform::kNativePathStyle);

/// As `NormalizeFolder`, but lower-cased in Windows style; then the folder
/// and its missing parents are created. A path of a foreign style names
/// nothing on this host and is only normalised. Success is not reported:
/// callers test for the folder.
std::string ForceFolder(std::string_view path, PathStyle style = platform::kNativePathStyle);

/// The system's Windows folder, normalised; empty where there is none.
std::string WindowsFolder(PathStyle style = platform::kNativePathStyle);

/// Replaces `list` by the names (without folder) of the entries matching
/// `pattern` (a folder and a mask) and `attributes`, in file-system order,
/// leaving out every name that begins with ".".
void ListFolder(framework::TStrings& list, std::string_view pattern,
                platform::FileAttributes attributes);

/// Removes a folder with everything in it; false for an empty path or when
/// the folder itself could not be removed. The walk goes by descriptor: a
/// link on the way to the folder, or the folder itself being one, leaves
/// everything alone; links inside are removed as links, never followed; a
/// folder swapped for a link during the walk is not entered. Names that begin
/// with "." are never listed, so a folder holding one stays. Entries deeper
/// than the path limit go like the others.
bool RemoveFolderTree(std::string_view folder);

/// The settings file of an executable: base path + ".ini" (lower-cased in
/// Windows style).
std::string SettingsFileFor(std::string_view executable,
                            PathStyle style = platform::kNativePathStyle);
/// The dictionary file an executable would have: base path + ".pld"
/// (lower-cased in Windows style), whether or not it exists.
std::string DictionaryFileFor(std::string_view executable,
                              PathStyle style = platform::kNativePathStyle);
/// Where the scratch folder may go, best first, already normalised: beside
/// the executable in "temp", then in Windows style the Windows folder's "temp".
/// In POSIX style the fallback is no fixed folder: see `InitializeCompanionFiles`.
std::vector<std::string> ScratchFolderCandidates(std::string_view executable, PathStyle style,
                                                 std::string_view windowsFolder);

/// Start-up: remembers the executable, computes the settings file, creates
/// the scratch folder and fixes the long time format "hh:nn:ss" and the short
/// date format "dd/mm/yyyy".
///
/// Each running instance has a scratch folder of its own, "<name>-XXXXXX/" with
/// mode 0700, never an existing one: beside the executable in "temp/" when that
/// is a folder of the current user reached through no link; otherwise, as for
/// a program installed where users cannot write, in $XDG_RUNTIME_DIR, $TMPDIR
/// or /tmp (the first that works). The instance holds it while it runs; the
/// folders of the same name pattern that the user's instances left when they
/// were killed are removed first.
void InitializeCompanionFiles();
/// The same for a given executable path (tests use their own); a relative
/// path is taken from the current folder.
void InitializeCompanionFiles(std::string_view executable);
/// Exit: removes the scratch folder with its content, and "temp/" when start-up
/// made it and nothing else is left in it, and forgets them.
void FinalizeCompanionFiles();

/// The executable as remembered at start-up.
const std::string& ExecutableFileName();
/// The settings file, whether or not it exists.
const std::string& SettingsFileName();
/// The scratch folder with its trailing separator; empty when none could be made.
const std::string& ScratchFolder();
/// The dictionary file beside the executable; empty when there is none or it is
/// no regular file (a FIFO or a device could hold the start-up for ever).
std::string DefaultDictionaryFile();

}  // namespace lx::frame
