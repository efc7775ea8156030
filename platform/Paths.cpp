#include "platform/Paths.h"

#include "platform/TextUtils.h"

namespace lx::platform {

char PathSeparator(PathStyle style) {
  return style == PathStyle::Windows ? '\\' : '/';
}

bool IsFolderDelimiter(char c, PathStyle style) {
  return c == PathSeparator(style) || (style == PathStyle::Windows && c == ':');
}

bool SamePathText(std::string_view a, std::string_view b, PathStyle style) {
  return style == PathStyle::Windows ? SameTextAscii(a, b) : a == b;
}

std::size_t FileNameOffset(std::string_view path, PathStyle style) {
  std::size_t offset = path.size();
  while (offset > 0 && !IsFolderDelimiter(path[offset - 1], style))
    --offset;
  return offset;
}

std::string ExtractFileName(std::string_view path, PathStyle style) {
  return std::string(path.substr(FileNameOffset(path, style)));
}

std::string ExtractFilePath(std::string_view path, PathStyle style) {
  return std::string(path.substr(0, FileNameOffset(path, style)));
}

namespace {

// Offset of the extension's dot within the path, or npos.
std::size_t ExtensionOffset(std::string_view path, PathStyle style) {
  const std::size_t nameStart = FileNameOffset(path, style);
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < nameStart) return std::string_view::npos;
  if (style == PathStyle::Posix && dot == nameStart) return std::string_view::npos;
  return dot;
}

}  // namespace

std::string ExtractFileExt(std::string_view path, PathStyle style) {
  const std::size_t dot = ExtensionOffset(path, style);
  return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view extension, PathStyle style) {
  const std::size_t dot = ExtensionOffset(path, style);
  std::string result(path.substr(0, dot == std::string_view::npos ? path.size() : dot));
  result += extension;
  return result;
}

bool HasFolderPart(std::string_view path, PathStyle style) {
  return FileNameOffset(path, style) > 0;
}

std::string IncludeTrailingSeparator(std::string_view path, PathStyle style) {
  std::string result(path);
  if (result.empty() || result.back() != PathSeparator(style)) result += PathSeparator(style);
  return result;
}

}  // namespace lx::platform
