#include "platform/ProfileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/Exception.h"
#include "platform/ProfileFile.h"
#include "platform/TextUtils.h"

namespace lx::platform {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kMaxSettingsFileSize = ProfileFile::kMaxSettingsFileSize;

struct Line {
  std::string body;
  std::string end;  // "\n", "\r\n" or, on the last line, nothing
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != text.npos;
}

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    std::string_view body = text.substr(0, newline);
    text.remove_prefix(newline == text.npos ? text.size() : newline + 1);
    std::string end = newline == std::string_view::npos ? "" : "\n";
    if (!end.empty() && body.ends_with('\r')) {
      body.remove_suffix(1);
      end = "\r\n";
    }
    lines.push_back({std::string(body), end});
  }
  return lines;
}

// The name of a section header as the reader takes it; nothing for other lines.
std::optional<std::string_view> HeaderName(std::string_view body) {
  const std::string_view line = Trim(body);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  return Trim(line.substr(1, close == line.npos ? line.size() - 1 : close - 1));
}

// The key of an entry line as the reader takes it; nothing for other lines.
std::optional<std::string_view> EntryKey(std::string_view body) {
  const std::string_view line = Trim(body);
  if (line.empty() || line.front() == ';' || line.front() == '[') return std::nullopt;
  const std::size_t equals = line.find('=');
  if (equals == line.npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

// Quotes keep what the reader would otherwise trim or unquote.
std::string Encoded(std::string_view value) {
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  if (quoted || Trim(value) != value) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

void Validate(std::string_view section, const std::vector<ProfileValue>& values) {
  if (section.empty() || Trim(section) != section || section.find(']') != section.npos ||
      HasLineBreak(section)) {
    throw Exception("Not a settings section: '" + std::string(section) + "'");
  }
  for (const ProfileValue& entry : values) {
    if (HasLineBreak(entry.key) || HasLineBreak(entry.value))
      throw Exception("A settings value cannot span lines");
    const std::string_view key = entry.key;
    if (key.empty() || Trim(key) != key || key.find('=') != key.npos || key.front() == ';' ||
        key.front() == '[') {
      throw Exception("Not a settings key: '" + entry.key + "'");
    }
  }
}

// Gives the last line a line end before another line follows it.
void EndLastLine(std::vector<Line>& lines, std::size_t before, const std::string& newline) {
  if (before > 0 && lines[before - 1].end.empty()) lines[before - 1].end = newline;
}

void SetInSection(std::vector<Line>& lines, std::size_t header, const ProfileValue& entry,
                  const std::string& newline) {
  std::size_t insertAt = header + 1;
  std::size_t at = header + 1;
  for (; at < lines.size() && !HeaderName(lines[at].body); ++at) {
    const std::optional<std::string_view> key = EntryKey(lines[at].body);
    if (!key) continue;
    if (SameTextAscii(*key, entry.key)) {
      lines[at].body = std::string(*key) + "=" + Encoded(entry.value);
      return;
    }
    insertAt = at + 1;
  }
  EndLastLine(lines, insertAt, newline);
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
               Line{entry.key + "=" + Encoded(entry.value), newline});
}

}  // namespace

std::string SetProfileValues(std::string_view text, std::string_view section,
                             const std::vector<ProfileValue>& values) {
  Validate(section, values);
  std::string result;
  if (text.starts_with(kByteOrderMark)) {
    result = kByteOrderMark;
    text.remove_prefix(kByteOrderMark.size());
  }
  std::vector<Line> lines = SplitLines(text);
  const std::string newline = text.find("\r\n") != text.npos ? "\r\n" : "\n";
  std::size_t header = 0;
  while (header < lines.size() && !(HeaderName(lines[header].body) &&
                                    SameTextAscii(*HeaderName(lines[header].body), section))) {
    ++header;
  }
  if (header == lines.size()) {
    EndLastLine(lines, lines.size(), newline);
    lines.push_back({"[" + std::string(section) + "]", newline});
  }
  for (const ProfileValue& entry : values)
    SetInSection(lines, header, entry, newline);
  for (const Line& line : lines)
    result += line.body + line.end;
  return result;
}

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || close(fd) == 0;
  }

 private:
  int fd_;
};

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The file's content and mode; false for anything but a readable regular file of ours. A
// missing file reads as empty, with the mode a new file gets.
bool ReadExisting(const std::string& path, std::string& content, mode_t& mode) {
  content.clear();
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (file.Get() < 0) {
    mode = NewFileMode();
    struct stat info {};
    return errno == ENOENT && lstat(path.c_str(), &info) != 0 && errno == ENOENT;
  }
  struct stat info {};
  if (fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid() ||
      static_cast<std::size_t>(info.st_size) > kMaxSettingsFileSize) {
    return false;
  }
  mode = info.st_mode & 07777;
  char buffer[4096];
  for (;;) {
    const ssize_t count = read(file.Get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return false;
    if (count == 0) return true;
    content.append(buffer, static_cast<std::size_t>(count));
    if (content.size() > kMaxSettingsFileSize) return false;
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Through a temporary file beside `path`, renamed over it once complete.
bool ReplaceFile(const std::string& path, std::string_view content, mode_t mode) {
  const std::size_t slash = path.rfind('/');
  const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
  std::string temporary = path.substr(0, nameAt) + "." + path.substr(nameAt) + ".XXXXXX";
  FileDescriptor file(mkostemp(temporary.data(), O_CLOEXEC));
  if (file.Get() < 0) return false;
  const bool done = fchmod(file.Get(), mode) == 0 && WriteAll(file.Get(), content) &&
                    fsync(file.Get()) == 0 && file.Close() &&
                    rename(temporary.c_str(), path.c_str()) == 0;
  if (!done) unlink(temporary.c_str());
  return done;
}

}  // namespace

bool WriteProfileValues(std::string_view fileName, std::string_view section,
                        const std::vector<ProfileValue>& values) {
  try {
    const std::string path(fileName);
    if (path.empty() || path.back() == '/') return false;
    std::string content;
    mode_t mode = 0;
    if (!ReadExisting(path, content, mode)) return false;
    return ReplaceFile(path, SetProfileValues(content, section, values), mode);
  } catch (...) {
    return false;
  }
}

}  // namespace lx::platform
