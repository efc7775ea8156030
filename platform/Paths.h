// Path texts in either of two styles.
//
// Windows style: backslash separator, drive letters ("C:"), network shares
// ("\\server\share"), names compared without regard to ASCII case.
// POSIX style: slash separator, case-preserving and case-sensitive.
// The program itself always uses `kNativePathStyle`; the other style exists so
// that the path rules can be exercised (and tested) the way Windows users see them.
#pragma once

#include <string>
#include <string_view>

namespace lx::platform {

enum class PathStyle { Windows, Posix };

inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;

/// The folder separator of the style: '\\' or '/'.
char PathSeparator(PathStyle style);

/// True for the characters that end a folder part: the separator, and ':'
/// after a drive letter in Windows style.
bool IsFolderDelimiter(char c, PathStyle style);

/// Names are compared case-insensitively (ASCII) in Windows style only.
bool SamePathText(std::string_view a, std::string_view b, PathStyle style);

/// Offset of the file name: the text after the last folder delimiter.
std::size_t FileNameOffset(std::string_view path, PathStyle style);

/// The last component of the path ("Probe.exe" of "C:\Tools\Probe.exe").
std::string ExtractFileName(std::string_view path, PathStyle style);

/// The folder part including its final delimiter ("C:\Tools\" of "C:\Tools\Probe.exe").
std::string ExtractFilePath(std::string_view path, PathStyle style);

/// The extension of the file name, with its dot ("" when there is none). In POSIX
/// style a name's leading dot (".profile") begins the name, not an extension.
std::string ExtractFileExt(std::string_view path, PathStyle style);

/// The path with the extension of its file name replaced by `extension`
/// (which includes its dot, or is empty to remove the extension).
std::string ChangeFileExt(std::string_view path, std::string_view extension, PathStyle style);

/// True when the path names a folder part (a separator or a drive).
bool HasFolderPart(std::string_view path, PathStyle style);

/// The path with exactly its own trailing separator (one added when missing).
std::string IncludeTrailingSeparator(std::string_view path, PathStyle style);

}  // namespace lx::platform
