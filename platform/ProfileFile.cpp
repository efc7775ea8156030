#include "platform/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/TextUtils.h"

namespace lx::platform {

namespace {

std::string_view Trim(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && isBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

// The whole file, or nothing for anything but a regular file within the limit: a FIFO
// would hold the reader until someone writes, a device would never end. The open does not
// wait, whatever the path names.
bool ReadSettingsText(const std::string& path, std::string& content) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool complete = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                  static_cast<std::uint64_t>(info.st_size) <= ProfileFile::kMaxSettingsFileSize;
  char buffer[4096];
  while (complete) {
    const ssize_t count = read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) {
      complete = count == 0;
      break;
    }
    content.append(buffer, static_cast<std::size_t>(count));
    complete = content.size() <= ProfileFile::kMaxSettingsFileSize;  // it may grow while read
  }
  close(fd);
  return complete;
}

}  // namespace

ProfileFile::ProfileFile(std::string_view fileName) {
  std::string content;
  if (ReadSettingsText(std::string(fileName), content)) Parse(content);
}

ProfileFile ProfileFile::FromText(std::string_view text) {
  ProfileFile profile;
  profile.Parse(text);
  return profile;
}

void ProfileFile::Parse(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // UTF-8 byte-order mark
  while (!text.empty()) {
    const std::string_view line = Trim(NextLine(text));
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      const std::size_t length = close == std::string_view::npos ? line.size() - 1 : close - 1;
      sections_.push_back({std::string(Trim(line.substr(1, length))), {}});
      continue;
    }
    const std::size_t equals = line.find('=');
    if (sections_.empty() || equals == std::string_view::npos) continue;
    sections_.back().entries.push_back({std::string(Trim(line.substr(0, equals))),
                                        std::string(Unquote(Trim(line.substr(equals + 1))))});
  }
}

std::optional<std::string_view> ProfileFile::Find(std::string_view section,
                                                  std::string_view key) const {
  // Only the first section of a name counts, as with the system's own reader.
  for (const Section& candidate : sections_) {
    if (!SameTextAscii(candidate.name, section)) continue;
    for (const Entry& entry : candidate.entries) {
      if (SameTextAscii(entry.key, key)) return entry.value;
    }
    break;
  }
  return std::nullopt;
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback, std::size_t bufferSize) const {
  const std::string_view value = Find(section, key).value_or(fallback);
  const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
  return std::string(value.substr(0, room));
}

std::int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key,
                                      std::int32_t fallback) const {
  const auto value = Find(section, key);
  return value ? StrToIntDef(*value, fallback) : fallback;
}

}  // namespace lx::platform
